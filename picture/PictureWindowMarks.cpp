// The picture window's marks: the tool strip, the mouse and keys that draw
// marks, the history they make with crops and Restore, and the mark in
// progress painted above the picture.
#include "picture/PictureWindow.h"

#include "picture/Rendering.h"
#include "ui/Resources.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace picture {

void PictureWindow::OnMarks() {
    const bool show = !toolStrip_->Visible();
    // The picture moves down under the strip, and back up when it goes.
    const int height = toolStrip_->Height();
    if (show) {
        toolStrip_->ShowChoice(editor_.Tool(), editor_.Tool() ? editor_.Colour(*editor_.Tool()) : 0);
        ShowWindow(toolStrip_->Handle(), SW_SHOWNA);
        ShiftContent(0, height);
    } else {
        ChooseTool(std::nullopt);
        ShowWindow(toolStrip_->Handle(), SW_HIDE);
        ShiftContent(0, -height);
    }
    UpdateScrollBars();
}

void PictureWindow::ChooseTool(std::optional<MarkKind> tool) {
    if (editor_.InProgress()) InvalidateMark(*editor_.InProgress());
    editor_.ChooseTool(tool);
    if (tool) {
        // Choosing a tool puts the crop frame away.
        cropOutline_.SetVisible(false);
        if (cropController_) cropController_->SetHandlesVisible(false);
    }
    toolStrip_->ShowChoice(tool, tool ? editor_.Colour(*tool) : 0);
    pictureView_.Cursor = !tool                     ? nullptr
                          : *tool == MarkKind::Text ? LoadCursorW(nullptr, IDC_IBEAM)
                                                    : LoadCursorW(nullptr, IDC_CROSS);
}

void PictureWindow::Undo() { MoveThroughHistory(&MarkHistory::Undo); }

void PictureWindow::Redo() { MoveThroughHistory(&MarkHistory::Redo); }

void PictureWindow::MoveThroughHistory(bool (MarkHistory::*move)()) {
    editor_.Finish();
    if (history_.Empty()) return;
    const auto master = history_.Current().master;
    const SIZE shown{pictureView_.Width(), pictureView_.Height()};
    history_.Current().shown = shown;
    if (!(history_.*move)()) return;
    // A step to another master shows it at the size it was shown at then;
    // a step of marks alone keeps the zoom.
    const MarkedPicture& now = history_.Current();
    const SIZE size = now.master != master ? now.shown : shown;
    RenderShown(size.cx, size.cy);
}

MarkTransform PictureWindow::ClientTransform() const {
    MarkTransform at = ZoomTransform(MasterPicture(), pictureView_.Width(), pictureView_.Height());
    at.offsetX = pictureView_.Left();
    at.offsetY = pictureView_.Top();
    return at;
}

MarkPoint PictureWindow::PicturePoint(POINT onPicture) const {
    const ui::Bitmap& master = MasterPicture();
    const MarkTransform zoom = ZoomTransform(master, pictureView_.Width(), pictureView_.Height());
    // A drag that leaves the picture draws along its edge.
    return {std::clamp(onPicture.x / zoom.scaleX, 0.0, static_cast<double>(master.Width())),
            std::clamp(onPicture.y / zoom.scaleY, 0.0, static_cast<double>(master.Height()))};
}

double PictureWindow::NewMarkWidth(MarkKind tool) const {
    const MarkTransform zoom = ZoomTransform(MasterPicture(), pictureView_.Width(), pictureView_.Height());
    switch (tool) {
    case MarkKind::Text:
        return metrics_.Pixels(MarkMetrics::kTextHeight) / zoom.scaleY;
    case MarkKind::Highlighter:
        return metrics_.Pixels(MarkMetrics::kHighlighterWidth) / ((zoom.scaleX + zoom.scaleY) / 2);
    default:
        return metrics_.Pixels(MarkMetrics::kLineWidth) / ((zoom.scaleX + zoom.scaleY) / 2);
    }
}

void PictureWindow::InvalidateMark(const Mark& mark) {
    const RECT area = MarkBounds(mark, ClientTransform());
    Invalidate(&area);
}

void PictureWindow::OnPictureMouse(UINT message, ui::MouseButton button, POINT at) {
    if (!editor_.Tool() || history_.Empty() || button != ui::MouseButton::Left) return;
    if (message == WM_MOUSEMOVE && (!editor_.InProgress() || editor_.Typing())) return;
    if (editor_.InProgress()) InvalidateMark(editor_.RecentPart());
    const MarkPoint point = PicturePoint(at);
    switch (message) {
    case WM_LBUTTONDOWN:
        editor_.Press(point, NewMarkWidth(*editor_.Tool()));
        // Typed characters come to the window that has the keyboard focus.
        if (editor_.Typing()) SetFocus(Handle());
        break;
    case WM_MOUSEMOVE:
        editor_.Drag(point);
        break;
    default:
        editor_.Release(point);
        break;
    }
    if (editor_.InProgress()) InvalidateMark(editor_.RecentPart());
}

bool PictureWindow::OnKey(WPARAM key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (ctrl && key == 'Z') {
        Undo();
    } else if (ctrl && key == 'Y') {
        Redo();
    } else if (key == VK_ESCAPE && editor_.Tool()) {
        // Esc leaves the tool; a text being typed goes with it.
        if (editor_.InProgress()) InvalidateMark(*editor_.InProgress());
        editor_.Cancel();
        ChooseTool(std::nullopt);
    } else if (key == VK_RETURN && editor_.Typing()) {
        editor_.Finish();
    } else if (key == VK_BACK && editor_.Typing()) {
        InvalidateMark(*editor_.InProgress());
        editor_.Backspace();
    } else {
        return false;
    }
    return true;
}

void PictureWindow::OnMarkFinished(Mark mark) {
    if (history_.Empty()) return;
    MarkedPicture next = history_.Current();
    next.marks.push_back(mark);
    next.shown = {pictureView_.Width(), pictureView_.Height()};
    PushStep(std::move(next));
    // Drawn into the picture shown as it is, rather than rendered anew:
    // the mark, then the redactions again, which stay above every mark.
    ui::Bitmap& shown = pictureView_.Picture();
    const MarkTransform zoom = ZoomTransform(MasterPicture(), shown.Width(), shown.Height());
    HDC dc = shown.Canvas();
    DrawMark(dc, mark, zoom);
    if (mark.kind != MarkKind::Redaction)
        for (const Mark& redaction : history_.Current().marks)
            if (redaction.kind == MarkKind::Redaction) DrawMark(dc, redaction, zoom);
    GdiFlush();
    InvalidateMark(mark);
}

void PictureWindow::PaintOverlay(HDC dc, const RECT&) {
    const std::optional<Mark>& mark = editor_.InProgress();
    if (!mark) return;
    const MarkTransform at = ClientTransform();
    const int saved = SaveDC(dc);
    const RECT picture = pictureView_.Bounds();
    IntersectClipRect(dc, picture.left, picture.top, picture.right, picture.bottom);
    // Redactions stay above a mark while it is drawn, too.
    if (mark->kind != MarkKind::Redaction)
        for (const Mark& redaction : history_.Current().marks)
            if (redaction.kind == MarkKind::Redaction) {
                const RECT area = RedactionArea(redaction, at);
                ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
            }
    DrawMark(dc, *mark, at);
    if (editor_.Typing()) {
        // The caret after the last character.
        const int height = std::max(1, static_cast<int>(std::lround(mark->width * at.scaleY)));
        ui::UniqueFont font = TextMarkFont(height);
        const SIZE typed = ui::TextExtent(font.Get(), mark->text);
        const POINT origin = at.Map(mark->points[0]);
        const RECT caret{origin.x + typed.cx + 1, origin.y, origin.x + typed.cx + 1 + metrics_.Pixels(2),
                         origin.y + std::max<LONG>(typed.cy, height)};
        ui::UniqueBrush brush(CreateSolidBrush(mark->colour));
        FillRect(dc, &caret, brush.Get());
    }
    RestoreDC(dc, saved);
}

} // namespace picture
