// The picture window: shows a captured picture and zooms, crops, copies and
// saves it. Created once at start-up; closing it only hides it and re-arms the
// capture trigger.
#pragma once

#include "controls/PngButton.h"
#include "picture/CropFrameController.h"
#include "ui/Bitmap.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/SaveDialog.h"
#include "ui/Shape.h"

#include <memory>

// The toolbar: three background pictures and the eight command buttons.
class TSaveToolbar : public ui::HostWindow {
public:
    explicit TSaveToolbar(HWND parent);
    void Layout(int width);

    ui::Image Image2, Image4, Image3;
    controls::PngButton PNGButton1, PNGButton8, PNGButton4, PNGButton5, PNGButton9, PNGButton6, PNGButton2, PNGButton3;
};

class TFrmSave : public ui::HostWindow {
public:
    TFrmSave();
    ~TFrmSave() override;

    static constexpr int ToolbarHeight = 72;

    std::unique_ptr<TSaveToolbar> Panel1;
    // The displayed picture; what Save writes and Copy copies.
    ui::Image Image1;
    // The crop frame.
    ui::Shape Shape1;
    ui::SaveDialog SaveDialog1;

    // The picture as first shown, and the master that zooming renders from.
    std::unique_ptr<ui::Bitmap> RestoreBmp;
    std::unique_ptr<ui::Bitmap> WorkBmp;
    std::unique_ptr<picture::CropFrameController> Drag;

    // Loaders: each sets the window's outer size and the picture's place and
    // replaces the displayed picture; none of them shows the window.
    void ShowPicture(const ui::Bitmap& picture);
    void ShowScreenPicture(const ui::Bitmap& screen);
    // Cuts the selection from start to end out of the region screen's frozen picture.
    void ShowRegionPicture(const ui::Bitmap& frozen, POINT start, POINT end);

    // Shows the window (maximized) with the picture just loaded; when it is
    // already open, the show-time set-up runs again for the new picture.
    void ShowForm();
    // Shows the window modally and returns when it is closed. A window that
    // is already open is closed first.
    void ShowModal();

    void PNGButton1Click(); // Save
    void PNGButton2Click(); // Copy to Clipboard
    void PNGButton3Click(); // Cancel
    void PNGButton8Click(); // Zoom In
    void PNGButton4Click(); // Zoom Out
    void PNGButton5Click(); // Original
    void PNGButton6Click(); // Restore
    void PNGButton9Click(); // Cutter

    // The application-wide filter that crops on a left double-click inside the frame.
    bool AppMessageFilter(MSG& msg);
    void CutPicture();

    // The scroll position of the picture area.
    POINT ScrollPos() const { return scroll_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormShow();
    void FormClose();
    void SetOuterSize(int width, int height);
    void PlaceImage(int left, int top, ui::Bitmap&& picture);
    // Replaces the displayed picture by source drawn over a picture of the
    // given size, pixel for pixel or stretched by nearest neighbour.
    void RenderFrom(const ui::Bitmap& source, int width, int height);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    void OnScroll(int bar, WORD request);

    POINT scroll_{0, 0};
    bool modal_ = false;
};

extern TFrmSave* FrmSave;
