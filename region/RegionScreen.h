// The region selection screen: the frozen picture of the screen on which a
// region is dragged out with a rubber band, any mouse button, while a small
// label by the cursor shows the width and height.
#pragma once

#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/Monitors.h"

#include <functional>
#include <string>
#include <vector>

namespace region {

// The registered window class name; other programs may look the window up by it.
inline constexpr wchar_t kRegionScreenClass[] = L"TFrmDisplay";

// The label by the cursor that shows the size of the rectangle being dragged.
class SelectionSizeLabel : public ui::Control {
public:
    SelectionSizeLabel();
    const std::wstring& WidthText() const { return widthText_; }
    const std::wstring& HeightText() const { return heightText_; }
    // Sets the two lines, and grows the label where they would not fit.
    void SetTexts(std::wstring width, std::wstring height);
    HFONT Font() const { return font_; }
    void Paint(HDC dc) override;
    // Takes the skin font at the new DPI.
    void ScaleContent(int fromDpi, int toDpi) override;
    // The mouse passes through the label to the picture beneath.
    bool HitTest(POINT) const override { return false; }

private:
    // The skin's, borrowed.
    HFONT font_;
    std::wstring widthText_ = L"X:";
    std::wstring heightText_ = L"Y:";
};

class RegionScreen : public ui::HostWindow {
public:
    RegionScreen();

    // Raised from the message loop once a selection has ended, with the frozen
    // picture and the selection's corners in its pixels (ScreenOrigin() away
    // from screen coordinates). The screen stays up
    // while the handler runs (it shows the picture window modally in front of
    // it) and hides itself afterwards.
    std::function<void(const ui::Bitmap& frozen, POINT start, POINT end)> RegionSelected;

    // Covers the screen rectangle (every monitor), always on top, and takes
    // frozen, the grab of that rectangle, as the picture to select from.
    void ShowFrozen(const ui::Bitmap& frozen, const RECT& screenArea);
    void ShowFrozen(ui::Bitmap&& frozen, const RECT& screenArea);

    // The screen point that the frozen picture's pixel (0, 0) shows.
    POINT ScreenOrigin() const { return {screenArea_.left, screenArea_.top}; }

    // The rubber band's reactions to the mouse, at the point in the frozen
    // picture's pixels that the mouse message carries: a message handled late
    // (the screen is still being drawn when the user presses) still starts
    // the selection where the user pressed.
    void OnSelectionStart(POINT at);
    void OnSelectionDrag(POINT at);
    void OnSelectionEnd(POINT at);

    const SelectionSizeLabel& SizeLabel() const { return sizeLabel_; }
    const ui::Bitmap& FrozenScreen() const { return frozenScreen_.Picture(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSelectionDone();
    void Cover(const RECT& screenArea);

    ui::Image frozenScreen_;
    SelectionSizeLabel sizeLabel_;
    // The screen rectangle covered, and its monitors as they were when the
    // screen was shown.
    RECT screenArea_{};
    std::vector<ui::Monitor> monitors_;
    // The corners of the selection in the picture's pixels: where it started, the
    // corner of the outline drawn last, and where it ended.
    POINT startPoint_{0, 0};
    POINT lastPoint_{0, 0};
    POINT endPoint_{0, 0};
};

} // namespace region
