// The strip of mark tools that the picture window's "Marks" button shows
// under its toolbar: one button for each tool, each with a small sample of
// its mark, and the palette of colours for the chosen tool.
#pragma once

#include "picture/MarkMetrics.h"
#include "picture/Marks.h"
#include "ui/Control.h"
#include "ui/HostWindow.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace picture {

inline constexpr wchar_t kMarkToolStripClass[] = L"TMarkToolStrip";

class MarkToolStrip : public ui::HostWindow {
public:
    static constexpr int kToolCount = 5;
    static constexpr int kColourCount = 5;

    // A button of the strip: a tool with its sample, or a colour swatch.
    class Choice : public ui::Control {
    public:
        Choice() { Cursor = LoadCursorW(nullptr, IDC_HAND); }
        bool Chosen() const { return chosen_; }
        void SetChosen(bool chosen);
        std::function<void()> OnChoose;
        void MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
        void MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) override;

    private:
        bool chosen_ = false;
    };

    MarkToolStrip(HWND parent, const MarkMetrics& metrics);

    int Height() const { return metrics_.Pixels(MarkMetrics::kStripHeight); }
    // Lays the strip out across the parent at the given top.
    void Layout(int top, int width);
    // Shows which tool is chosen (none: no button) and its colour; the
    // palette is shown only for a tool that takes a colour.
    void ShowChoice(std::optional<MarkKind> tool, COLORREF colour);

    // Raised when the user chooses a tool or a colour.
    std::function<void(MarkKind)> ToolChosen;
    std::function<void(COLORREF)> ColourChosen;

    // What a test clicks.
    const Choice& ToolButton(MarkKind tool) const { return *tools_[static_cast<int>(tool)]; }
    const Choice& Swatch(int index) const { return *swatches_[index]; }

private:
    MarkMetrics metrics_;
    ui::UniqueFont captionFont_;
    std::array<std::unique_ptr<Choice>, kToolCount> tools_;
    std::array<std::unique_ptr<Choice>, kColourCount> swatches_;
};

} // namespace picture
