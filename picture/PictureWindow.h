// The picture window: shows a captured picture and zooms, crops, marks,
// copies and saves it. Created once at start-up; closing it only hides it and
// raises Closed, on which the capture trigger is armed again.
#pragma once

#include "controls/PngButton.h"
#include "picture/CropFrameController.h"
#include "picture/MarkEditor.h"
#include "picture/MarkHistory.h"
#include "picture/MarkMetrics.h"
#include "picture/MarkToolStrip.h"
#include "ui/Bitmap.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/SaveDialog.h"
#include "ui/Shape.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace picture {

// The registered window class names; other programs may look the windows up by them.
inline constexpr wchar_t kPictureWindowClass[] = L"TFrmSave";
inline constexpr wchar_t kPictureToolbarClass[] = L"TSaveToolbar";

// The toolbar: three background pictures and the command buttons.
class PictureToolbar : public ui::HostWindow {
public:
    static constexpr int kHeight = 72;
    // The commands, in the toolbar's order from left to right.
    enum class Command { Save, ZoomIn, ZoomOut, Original, Cutter, Restore, Copy, Cancel, Marks };
    static constexpr int kCommandCount = 9;

    explicit PictureToolbar(HWND parent);
    void Layout(int width);
    // kHeight at the toolbar's scale.
    int ScaledHeight() const { return DpiScale().Px(kHeight); }

    controls::PngButton& Button(Command command) { return buttons_[static_cast<int>(command)]; }

private:
    void LayoutScaled() override { Layout(ClientRect().right); }

    ui::Image left_, middle_, right_;
    // saveButton, zoomInButton, ... in Command order.
    std::array<controls::PngButton, kCommandCount> buttons_;
};

class PictureWindow : public ui::HostWindow {
public:
    PictureWindow();
    ~PictureWindow() override;

    // Raised when the user closes the window (Cancel or the close box).
    std::function<void()> Closed;

    // Loaders: each sets the window's outer size and the picture's place and
    // replaces the displayed picture; none of them shows the window.
    void LoadPicture(const ui::Bitmap& picture);
    void LoadScreenPicture(const ui::Bitmap& screen);
    // The same, taking the grab itself rather than a copy (a capture has no
    // further use for it).
    void LoadScreenPicture(ui::Bitmap&& screen);
    // Cuts the selection from start to end out of the region screen's frozen picture.
    void LoadRegionPicture(const ui::Bitmap& frozen, POINT start, POINT end);

    // Puts the window on the monitor that holds most of the screen rectangle
    // a capture was taken from, so that it opens there, maximized to that
    // monitor's work area; a window already there stays where it is.
    void ShowOnMonitorOf(const RECT& screenArea);

    // Shows the window (maximized) with the picture just loaded; when it is
    // already open, the show-time set-up runs again for the new picture.
    void Present();
    // Shows the window modally and returns when it is closed. A window that
    // is already open is closed first.
    void ShowModal();

    // The toolbar's commands.
    void OnSave();
    void OnZoomIn();
    void OnZoomOut();
    void OnOriginalSize();
    void OnStartCrop();
    void OnRestore();
    void OnCopy();
    void OnCancel();
    // Shows the strip of mark tools, or hides it and leaves the tool.
    void OnMarks();

    // Chooses a mark tool, which hides the crop frame, or none.
    void ChooseTool(std::optional<MarkKind> tool);
    // Back or forth one step: a mark, a crop or a Restore.
    void Undo();
    void Redo();

    // Cuts what the crop frame encloses out of the displayed picture, with
    // the marks on that part.
    void CutPicture();

    // What a test looks at and works with.
    const ui::Image& PictureView() const { return pictureView_; }
    ui::Shape& CropOutline() { return cropOutline_; }
    PictureToolbar& Toolbar() { return *toolbar_; }
    CropFrameController& CropController() { return *cropController_; }
    MarkToolStrip& ToolStrip() { return *toolStrip_; }
    const MarkEditor& Editor() const { return editor_; }
    const MarkHistory& History() const { return history_; }
    ui::SaveDialog& SaveDialog() { return saveDialog_; }
    // The scroll position of the picture area.
    POINT ScrollPos() const { return scroll_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The mark in progress, above the picture.
    void PaintOverlay(HDC dc, const RECT& client) override;

private:
    // Takes the working copy of the picture just loaded and resets the crop frame.
    void OnShow();
    void OnClose();
    // A hidden window shows nothing until a capture loads a new picture, so
    // its pictures are given back at once.
    void ReleasePictures();
    const ui::Bitmap& MasterPicture() const;
    // A left double-click inside the shown crop frame cuts the picture.
    void OnDoubleClick(POINT client);
    void SetOuterSize(int width, int height);
    // Puts the picture at (left, top) below the toolbar, lower by the tool
    // strip's height while the strip is shown.
    void PlacePicture(int left, int top, ui::Bitmap&& picture);
    // Replaces the displayed picture by the master, with its marks, drawn
    // over a picture of the given size: pixel for pixel or stretched by
    // nearest neighbour.
    void RenderShown(int width, int height);
    // A new step of the history, shown at the given size.
    void PushStep(MarkedPicture next);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    // Moves the picture and the crop frame by (dx, dy) in the client area.
    void ShiftContent(int dx, int dy);

    // Where the master's pixels are in the client area, and back.
    MarkTransform ClientTransform() const;
    MarkPoint PicturePoint(POINT onPicture) const;
    // The width a new mark of the tool gets: its size on the screen at the zoom shown.
    double NewMarkWidth(MarkKind tool) const;
    // Repaints what a mark in progress covered before and covers now.
    void InvalidateMark(const Mark& mark);
    void OnPictureMouse(UINT message, ui::MouseButton button, POINT at);
    bool OnKey(WPARAM key);
    void OnMarkFinished(Mark mark);
    void MoveThroughHistory(bool (MarkHistory::*move)());
    void OnScroll(int bar, WORD request);

    std::unique_ptr<PictureToolbar> toolbar_;
    // The displayed picture; what Save writes and Copy copies.
    ui::Image pictureView_;
    // The crop frame.
    ui::Shape cropOutline_;
    ui::SaveDialog saveDialog_;
    // The picture as first shown, and the steps taken on it, the current
    // one's master being what zooming renders from. No master is ever drawn
    // into, so the original and the first master are one picture: a
    // full-screen capture holds two screens' worth of memory (this and the
    // displayed picture) instead of three until a crop makes a new master.
    std::shared_ptr<const ui::Bitmap> originalPicture_;
    MarkHistory history_;
    std::unique_ptr<CropFrameController> cropController_;
    MarkMetrics metrics_;
    std::unique_ptr<MarkToolStrip> toolStrip_;
    MarkEditor editor_;
    POINT scroll_{0, 0};
};

} // namespace picture
