#include "picture/MarkToolStrip.h"

#include "picture/MarkEditor.h"
#include "ui/Resources.h"

namespace picture {

namespace {

// The strip continues the toolbar's dark blue; a chosen button is lighter,
// with the toolbar's cyan line under it.
const COLORREF kStripColour = RGB(0x16, 0x38, 0x6D);
const COLORREF kChosenColour = RGB(0x2F, 0x6D, 0xB5);
const COLORREF kAccentColour = RGB(0x3F, 0xC1, 0xE8);

struct ToolEntry {
    MarkKind kind;
    const wchar_t* caption;
};

// In MarkKind order.
const ToolEntry kTools[MarkToolStrip::kToolCount] = {
    {MarkKind::Arrow, L"Arrow"}, {MarkKind::Rectangle, L"Rectangle"}, {MarkKind::Highlighter, L"Highlighter"},
    {MarkKind::Text, L"Text"},   {MarkKind::Redaction, L"Redact"},
};

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    ui::UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.Get());
}

// A tool's button: a sample of its mark on a white tile, then its caption.
class ToolChoice : public MarkToolStrip::Choice {
public:
    ToolChoice(MarkKind kind, const wchar_t* caption, HFONT font, const MarkMetrics& metrics)
        : kind_(kind), caption_(caption), font_(font), metrics_(metrics) {}

    void Paint(HDC dc) override {
        const RECT all{0, 0, Width(), Height()};
        if (Chosen()) {
            Fill(dc, all, kChosenColour);
            Fill(dc, {0, Height() - metrics_.Pixels(2), Width(), Height()}, kAccentColour);
        }
        const int pad = metrics_.Pixels(4), tile = Height() - 2 * pad;
        Fill(dc, {pad, pad, pad + tile, pad + tile}, RGB(255, 255, 255));
        // The sample is drawn on a 20 x 20 grid scaled to the tile.
        const double unit = tile / 20.0;
        const MarkTransform at{unit, unit, static_cast<double>(pad), static_cast<double>(pad)};
        Mark sample{kind_, MarkEditor::kPalette[0], 2, {}, {}};
        switch (kind_) {
        case MarkKind::Arrow:
            sample.points = {{4, 16}, {16, 4}};
            break;
        case MarkKind::Rectangle:
            sample.points = {{4, 5}, {16, 15}};
            break;
        case MarkKind::Highlighter:
            sample = {kind_, MarkEditor::kPalette[1], 6, {{4, 14}, {9, 8}, {12, 12}, {16, 6}}, {}};
            break;
        case MarkKind::Text:
            sample = {kind_, MarkEditor::kPalette[0], 16, {{4, 1}}, L"T"};
            break;
        case MarkKind::Redaction:
            sample.points = {{4, 6}, {16, 14}};
            break;
        }
        DrawMark(dc, sample, at);
        ui::ScopedSelect font(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT text{pad + tile + metrics_.Pixels(6), 0, Width(), Height()};
        DrawTextW(dc, caption_, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

private:
    MarkKind kind_;
    const wchar_t* caption_;
    HFONT font_;
    MarkMetrics metrics_;
};

// A colour of the palette: a square of it, framed in cyan when chosen.
class SwatchChoice : public MarkToolStrip::Choice {
public:
    SwatchChoice(COLORREF colour, const MarkMetrics& metrics) : colour_(colour), metrics_(metrics) {}

    void Paint(HDC dc) override {
        const int frame = metrics_.Pixels(2);
        if (Chosen()) Fill(dc, {0, 0, Width(), Height()}, kAccentColour);
        Fill(dc, {frame, frame, Width() - frame, Height() - frame}, RGB(255, 255, 255));
        Fill(dc, {frame + 1, frame + 1, Width() - frame - 1, Height() - frame - 1}, colour_);
    }

private:
    COLORREF colour_;
    MarkMetrics metrics_;
};

} // namespace

void MarkToolStrip::Choice::SetChosen(bool chosen) {
    if (chosen_ == chosen) return;
    chosen_ = chosen;
    Invalidate();
}

void MarkToolStrip::Choice::MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    ArmClick(button, shift);
    Control::MouseDown(button, shift, at);
}

void MarkToolStrip::Choice::MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    const bool click = TakeClick(button, at);
    Control::MouseUp(button, shift, at);
    if (click && OnChoose) OnChoose();
}

MarkToolStrip::MarkToolStrip(HWND parent, const MarkMetrics& metrics)
    : metrics_(metrics), captionFont_(ui::CreateFontOf(L"Verdana", metrics.Pixels(MarkMetrics::kCaptionHeight))) {
    Color = kStripColour;
    CreateHost(
        kMarkToolStripClass,
        {.style = WS_CHILD | WS_CLIPSIBLINGS, .x = 0, .y = 0, .width = 819, .height = Height(), .parent = parent});
    for (int i = 0; i < kToolCount; ++i) {
        tools_[i] = std::make_unique<ToolChoice>(kTools[i].kind, kTools[i].caption, captionFont_.Get(), metrics_);
        tools_[i]->OnChoose = [this, kind = kTools[i].kind] {
            if (ToolChosen) ToolChosen(kind);
        };
        AddControl(*tools_[i]);
    }
    for (int i = 0; i < kColourCount; ++i) {
        swatches_[i] = std::make_unique<SwatchChoice>(MarkEditor::kPalette[i], metrics_);
        swatches_[i]->OnChoose = [this, colour = MarkEditor::kPalette[i]] {
            if (ColourChosen) ColourChosen(colour);
        };
        AddControl(*swatches_[i]);
    }
    Layout(0, 819);
}

void MarkToolStrip::Layout(int top, int width) {
    const int height = Height(), gap = metrics_.Pixels(MarkMetrics::kGap);
    SetBounds(0, top, width, height);
    const int toolWidth = metrics_.Pixels(MarkMetrics::kToolWidth),
              toolHeight = metrics_.Pixels(MarkMetrics::kToolHeight);
    int x = gap;
    for (auto& tool : tools_) {
        tool->SetBounds(x, (height - toolHeight) / 2, toolWidth, toolHeight);
        x += toolWidth + gap;
    }
    x += 2 * gap;
    const int side = metrics_.Pixels(MarkMetrics::kSwatchSide) + 2 * metrics_.Pixels(2);
    for (auto& swatch : swatches_) {
        swatch->SetBounds(x, (height - side) / 2, side, side);
        x += side + gap;
    }
}

void MarkToolStrip::ShowChoice(std::optional<MarkKind> tool, COLORREF colour) {
    for (int i = 0; i < kToolCount; ++i)
        tools_[i]->SetChosen(tool && *tool == kTools[i].kind);
    const bool takesColour = tool && *tool != MarkKind::Redaction;
    for (int i = 0; i < kColourCount; ++i) {
        swatches_[i]->SetVisible(takesColour);
        swatches_[i]->SetChosen(takesColour && MarkEditor::kPalette[i] == colour);
    }
}

} // namespace picture
