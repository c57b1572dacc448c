// The picture window: shows a captured picture and zooms, crops, copies and
// saves it. Created once at start-up; closing it only hides it and raises
// Closed, on which the capture trigger is armed again.
#pragma once

#include "controls/PngButton.h"
#include "picture/CropFrameController.h"
#include "ui/Bitmap.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/SaveDialog.h"
#include "ui/Shape.h"

#include <array>
#include <functional>
#include <memory>

namespace picture {

// The registered window class names; other programs may look the windows up by them.
inline constexpr wchar_t kPictureWindowClass[] = L"TFrmSave";
inline constexpr wchar_t kPictureToolbarClass[] = L"TSaveToolbar";

// The toolbar: three background pictures and the eight command buttons.
class PictureToolbar : public ui::HostWindow {
public:
    static constexpr int kHeight = 72;
    // The commands, in the toolbar's order from left to right.
    enum class Command { Save, ZoomIn, ZoomOut, Original, Cutter, Restore, Copy, Cancel };
    static constexpr int kCommandCount = 8;

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

    // Cuts what the crop frame encloses out of the displayed picture.
    void CutPicture();

    // What a test looks at and works with.
    const ui::Image& PictureView() const { return pictureView_; }
    ui::Shape& CropOutline() { return cropOutline_; }
    PictureToolbar& Toolbar() { return *toolbar_; }
    CropFrameController& CropController() { return *cropController_; }
    ui::SaveDialog& SaveDialog() { return saveDialog_; }
    // The scroll position of the picture area.
    POINT ScrollPos() const { return scroll_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

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
    void PlacePicture(int left, int top, ui::Bitmap&& picture);
    // Replaces the displayed picture by source drawn over a picture of the
    // given size, pixel for pixel or stretched by nearest neighbour.
    void RenderFrom(const ui::Bitmap& source, int width, int height);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    void OnScroll(int bar, WORD request);

    std::unique_ptr<PictureToolbar> toolbar_;
    // The displayed picture; what Save writes and Copy copies.
    ui::Image pictureView_;
    // The crop frame.
    ui::Shape cropOutline_;
    ui::SaveDialog saveDialog_;
    // The picture as first shown, and the master that zooming renders from.
    // Neither is ever drawn into, so they are one picture until a crop gives
    // the master a new one, and again after Restore: a full-screen capture
    // then holds two screens' worth of memory (this and the displayed
    // picture) instead of three.
    std::shared_ptr<const ui::Bitmap> originalPicture_;
    std::shared_ptr<const ui::Bitmap> masterPicture_;
    std::unique_ptr<CropFrameController> cropController_;
    POINT scroll_{0, 0};
};

} // namespace picture
