// The region selection screen: the frozen picture of the screen on which a
// region is dragged out with a rubber band, any mouse button, while a small
// panel by the cursor shows the width and height.
#pragma once

#include "ui/Handles.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"

#include <string>

// The panel by the cursor that shows the size of the rectangle being dragged.
class TCoordinatePanel : public ui::Control {
public:
    TCoordinatePanel();
    std::wstring LbX = L"X:";
    std::wstring LbY = L"Y:";
    void SetTexts(std::wstring x, std::wstring y);
    void Paint(HDC dc) override;
    // The mouse passes through the panel to the picture beneath.
    bool HitTest(POINT) const override { return false; }

private:
    ui::UniqueFont font_;
};

class TFrmDisplay : public ui::HostWindow {
public:
    TFrmDisplay();

    ui::Image Image1;
    TCoordinatePanel Panel1;

    // Covers the screen, always on top, and takes a copy of frozen (a picture
    // of the whole screen) as the picture to select from.
    void ShowFrozen(const ui::Bitmap& frozen);

    void Image1MouseDown();
    void Image1MouseMove();
    void Image1MouseUp();
};

// The corners of the selection, in screen pixels, kept between selections.
extern POINT StartPoint, LastPoint, EndPoint;

extern TFrmDisplay* FrmDisplay;
