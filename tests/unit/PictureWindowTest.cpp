// The picture window as the user meets it: loaded with known pictures, shown,
// and worked with real mouse and keyboard input.
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"
#include "RecordedBoxes.h"
#include "tests/support/Files.h"
#include "hook/hook.h"
#include "capture/CaptureTrigger.h"
#include "picture/PictureWindow.h"
#include "ui/Error.h"
#include "ui/Application.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace support;

namespace {

// Blocks of 10 x 10 pixels, each of its own colour, so that scaled pictures
// can be checked away from the block edges whatever the sampling phase.
std::uint32_t BlockColour(int bx, int by) {
    return static_cast<std::uint32_t>(((bx * 40 + 20) & 0xFF) << 16 | ((by * 50 + 30) & 0xFF) << 8 |
                                      ((bx + by) * 17 & 0xFF));
}

ui::Bitmap Blocks(int width, int height) {
    ui::Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, BlockColour(x / 10, y / 10));
    return picture;
}

::testing::AssertionResult SamePixels(const ui::Bitmap& a, const ui::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return ::testing::AssertionFailure()
               << a.Width() << " x " << a.Height() << " vs " << b.Width() << " x " << b.Height();
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return ::testing::AssertionFailure() << "differs at " << x << ", " << y;
    return ::testing::AssertionSuccess();
}

// The clipboard holds the picture, pixel for pixel.
::testing::AssertionResult OnClipboard(const ui::Bitmap& picture) {
    const std::optional<ClipboardPicture> got = ReadClipboardBitmap();
    if (!got) return ::testing::AssertionFailure() << "no picture on the clipboard";
    ui::Bitmap back(got->width, got->height);
    for (int y = 0; y < got->height; ++y)
        for (int x = 0; x < got->width; ++x)
            back.SetPixel(x, y, got->At(x, y));
    return SamePixels(back, picture);
}

// The picture is the block picture of the given original size drawn scaled:
// checked at every pixel that is at least 2 pixels from a block edge.
::testing::AssertionResult ScaledBlocks(const ui::Bitmap& shown, int originalWidth, int originalHeight) {
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) {
            const double sx = (x + 0.5) * originalWidth / shown.Width();
            const double sy = (y + 0.5) * originalHeight / shown.Height();
            const double edgeX = sx - 10 * static_cast<int>(sx / 10), edgeY = sy - 10 * static_cast<int>(sy / 10);
            const double scale = static_cast<double>(shown.Width()) / originalWidth;
            if (edgeX * scale < 2 || (10 - edgeX) * scale < 2 || edgeY * scale < 2 || (10 - edgeY) * scale < 2)
                continue;
            if (shown.Pixel(x, y) != BlockColour(static_cast<int>(sx) / 10, static_cast<int>(sy) / 10))
                return ::testing::AssertionFailure() << "wrong colour at " << x << ", " << y;
        }
    return ::testing::AssertionSuccess();
}

bool StartsWith(const std::wstring& path, std::initializer_list<unsigned char> bytes) {
    const std::string file = ReadFileBytes(path);
    return file.size() >= bytes.size() &&
           std::equal(bytes.begin(), bytes.end(), file.begin(),
                      [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class PictureWindow : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            form = std::make_unique<picture::PictureWindow>();
        } catch (const ui::Error& error) {
            FAIL() << "cannot create the window: " << Narrow(error.Message());
        }
    }
    void TearDown() override {
        EXPECT_TRUE(errors.empty()) << "first error: " << (errors.empty() ? "" : Narrow(errors.front()));
        form.reset();
        // Closing the window arms the hotkey hook on this thread; later tests type freely.
        DisableHotKeyHook();
        ui::App().MessageFilter = nullptr;
    }

    // Loads the picture and shows the window as a capture does, then waits
    // until the screen shows the picture's first pixel where it belongs.
    void Show(const ui::Bitmap& picture) {
        form->LoadPicture(picture);
        form->Present();
        WaitUntil([&] { return ScreenPixel(OnPicture(0, 0)) == Shown().Pixel(0, 0); });
    }

    // The screen point at (x, y) of a control's client area.
    static POINT OnScreen(HWND window, const ui::Control& control, int x, int y) {
        return support::ScreenPoint(window, {control.Left() + x, control.Top() + y});
    }
    POINT OnPicture(int x, int y) const { return OnScreen(form->Handle(), form->PictureView(), x, y); }

    // Clicks a toolbar button with the real mouse.
    void Press(controls::PngButton& button) {
        const POINT at = OnScreen(form->Toolbar().Handle(), button, button.Width() / 2, button.Height() / 2);
        POINT now{};
        const bool clicked = Click(at);
        GetCursorPos(&now);
        ASSERT_TRUE(clicked) << "at " << at.x << ", " << at.y << "; cursor " << now.x << ", " << now.y;
        // Handled once no input waits in this thread's queue any more.
        WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
    }

    const ui::Bitmap& Shown() const { return form->PictureView().Picture(); }

    std::unique_ptr<picture::PictureWindow> form;
    RecordedBoxes boxes;
    std::vector<std::wstring>& messages = boxes.messages;
    std::vector<std::wstring>& errors = boxes.errors;
};

} // namespace

TEST_F(PictureWindow, LoadersSizeTheWindowAndPlaceThePicture) {
    const auto outer = [this] {
        WINDOWPLACEMENT placement{sizeof placement};
        GetWindowPlacement(form->Handle(), &placement);
        const RECT& r = placement.rcNormalPosition;
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const ui::Bitmap picture = Blocks(100, 50);
    form->LoadPicture(picture);
    EXPECT_FALSE(IsWindowVisible(form->Handle())) << "a loader never shows the window";
    EXPECT_EQ(outer().cx, 155);
    EXPECT_EQ(outer().cy, 50 + 72 + 75);
    EXPECT_EQ(form->PictureView().Left(), 20);
    EXPECT_EQ(form->PictureView().Top(), 92);
    EXPECT_TRUE(SamePixels(Shown(), picture));

    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const ui::Bitmap screen = Blocks(w, h);
    form->LoadScreenPicture(screen);
    EXPECT_EQ(outer().cx, w);
    EXPECT_EQ(outer().cy, h);
    EXPECT_EQ(form->PictureView().Left(), 1);
    EXPECT_EQ(form->PictureView().Top(), 73);
    EXPECT_TRUE(SamePixels(Shown(), screen));

    // The region is cut from inside the rubber band's outline, in either drag direction.
    form->LoadRegionPicture(screen, {310, 215}, {110, 115});
    EXPECT_EQ(outer().cx, 255);
    EXPECT_EQ(outer().cy, 100 + 72 + 75);
    EXPECT_EQ(form->PictureView().Left(), 20);
    EXPECT_EQ(form->PictureView().Top(), 92);
    ASSERT_EQ(Shown().Width(), 200);
    ASSERT_EQ(Shown().Height(), 100);
    EXPECT_EQ(Shown().Pixel(0, 0), screen.Pixel(111, 116));
    EXPECT_EQ(Shown().Pixel(199, 99), screen.Pixel(308, 213));
}

TEST_F(PictureWindow, ShowsMaximizedWithThePictureAndNoFrame) {
    const ui::Bitmap picture = Blocks(100, 50);
    Show(picture);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsZoomed(form->Handle()));
    wchar_t caption[64] = {};
    GetWindowTextW(form->Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Snapora - Save Picture");
    // Each caption icon is the icon file's picture of that size.
    for (const auto& [which, side] :
         {std::pair{ICON_SMALL, GetSystemMetrics(SM_CXSMICON)}, std::pair{ICON_BIG, GetSystemMetrics(SM_CXICON)}}) {
        ICONINFO info{};
        const auto icon = reinterpret_cast<HICON>(SendMessageW(form->Handle(), WM_GETICON, which, 0));
        ASSERT_TRUE(icon && GetIconInfo(icon, &info));
        BITMAP bits{};
        GetObjectW(info.hbmColor, sizeof bits, &bits);
        EXPECT_EQ(bits.bmWidth, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_FALSE(form->CropOutline().Visible());
    for (auto which : {picture::CropFrameController::Handle::TopLeft, picture::CropFrameController::Handle::Bottom})
        EXPECT_FALSE(IsWindowVisible(form->CropController().HandleAt(which).Handle()));
    // What the user sees: the picture where the loader put it, the grey around it.
    EXPECT_EQ(ScreenPixel(OnPicture(5, 5)), BlockColour(0, 0));
    EXPECT_EQ(ScreenPixel(OnPicture(95, 45)), BlockColour(9, 4));
    EXPECT_EQ(ScreenPixel(OnPicture(120, 10)), 0x808080u);
}

TEST_F(PictureWindow, ZoomStepsRenderFromTheMasterAndOriginalGoesBackPixelForPixel) {
    const ui::Bitmap picture = Blocks(100, 50);
    Show(picture);
    Press(form->Toolbar().Button(picture::PictureToolbar::Command::ZoomIn));
    ASSERT_EQ(Shown().Width(), 120);
    EXPECT_EQ(Shown().Height(), 60);
    EXPECT_TRUE(ScaledBlocks(Shown(), 100, 50));
    form->OnZoomIn();
    EXPECT_EQ(Shown().Width(), 144);
    EXPECT_EQ(Shown().Height(), 72);
    form->OnZoomIn();
    EXPECT_EQ(Shown().Width(), 173);
    EXPECT_TRUE(ScaledBlocks(Shown(), 100, 50));

    Press(form->Toolbar().Button(picture::PictureToolbar::Command::Original));
    EXPECT_TRUE(SamePixels(Shown(), picture));

    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < 3; ++i) {
        form->OnZoomOut();
        out.emplace_back(Shown().Width(), Shown().Height());
    }
    EXPECT_EQ(out, (std::vector<std::pair<int, int>>{{84, 42}, {70, 35}, {59, 30}}));
    EXPECT_TRUE(ScaledBlocks(Shown(), 100, 50));

    // In then out need not come back to the same size.
    Show(Blocks(101, 101));
    form->OnZoomIn();
    EXPECT_EQ(Shown().Width(), 122);
    form->OnZoomOut();
    EXPECT_EQ(Shown().Width(), 102);

    // The smallest picture: out keeps 1 x 1, in gives 2 x 2 of the same colour.
    Show(Blocks(1, 1));
    form->OnZoomOut();
    EXPECT_EQ(Shown().Width(), 1);
    EXPECT_EQ(Shown().Height(), 1);
    form->OnZoomIn();
    ASSERT_EQ(Shown().Width(), 2);
    ASSERT_EQ(Shown().Height(), 2);
    EXPECT_EQ(Shown().Pixel(1, 1), BlockColour(0, 0));
    EXPECT_TRUE(messages.empty());
}

TEST_F(PictureWindow, ALargePictureZoomsAlikeInEveryBandAndComesBackPixelForPixel) {
    // Over a megapixel the zoom shares the rows out between threads; a 32-bit
    // picture, as a full-screen capture is.
    ui::Bitmap picture(1300, 900, 32);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, BlockColour(x / 10, y / 10));
    Show(picture);
    form->OnZoomIn();
    ASSERT_EQ(Shown().Width(), 1560);
    ASSERT_EQ(Shown().Height(), 1080);
    EXPECT_TRUE(ScaledBlocks(Shown(), 1300, 900));
    form->OnZoomOut();
    form->OnZoomOut();
    EXPECT_EQ(Shown().Width(), 1084);
    EXPECT_TRUE(ScaledBlocks(Shown(), 1300, 900));
    form->OnOriginalSize();
    EXPECT_TRUE(SamePixels(Shown(), picture));
}

TEST_F(PictureWindow, ZoomBeyondTheLargestSideIsRefusedWithANotice) {
    Show(Blocks(10, 14000));
    form->OnZoomIn();
    EXPECT_EQ(Shown().Width(), 10);
    EXPECT_EQ(Shown().Height(), 14000);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"16384"), std::wstring::npos);
}

TEST_F(PictureWindow, CropAtZoomKeepsTheScaleUntilRestore) {
    const ui::Bitmap picture = Blocks(100, 50);
    Show(picture);
    form->OnZoomIn(); // 120 x 60
    ui::Bitmap zoomed;
    zoomed.Assign(Shown());

    Press(form->Toolbar().Button(picture::PictureToolbar::Command::Cutter));
    ASSERT_TRUE(form->CropOutline().Visible());
    EXPECT_TRUE(
        IsWindowVisible(form->CropController().HandleAt(picture::CropFrameController::Handle::TopLeft).Handle()));
    form->CropOutline().SetBounds(form->PictureView().Left() + 12, form->PictureView().Top() + 6, 48, 30);
    ASSERT_TRUE(DoubleClick(OnScreen(form->Handle(), form->CropOutline(), 24, 15)));
    ASSERT_TRUE(WaitUntil([&] { return Shown().Width() == 48; }));

    EXPECT_FALSE(form->CropOutline().Visible());
    EXPECT_FALSE(
        IsWindowVisible(form->CropController().HandleAt(picture::CropFrameController::Handle::TopLeft).Handle()));
    ASSERT_EQ(Shown().Height(), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(Shown().Pixel(x, y), zoomed.Pixel(x + 12, y + 6)) << x << ", " << y;
    ui::Bitmap cut;
    cut.Assign(Shown());

    // "Original" shows the cut at the scale it was cut at.
    form->OnOriginalSize();
    EXPECT_TRUE(SamePixels(Shown(), cut));
    // "Restore" goes back to the picture as first shown; zooming then scales that.
    Press(form->Toolbar().Button(picture::PictureToolbar::Command::Restore));
    EXPECT_TRUE(SamePixels(Shown(), picture));
    form->OnZoomIn();
    EXPECT_TRUE(SamePixels(Shown(), zoomed));
}

TEST_F(PictureWindow, DoubleClicksThatMustNotCut) {
    const ui::Bitmap picture = Blocks(200, 150);
    Show(picture);
    form->CropOutline().SetBounds(60, 140, 80, 60);

    // Frame hidden: a double-click at its place does nothing.
    ASSERT_TRUE(DoubleClick(OnScreen(form->Handle(), form->CropOutline(), 40, 30)));
    EXPECT_TRUE(SamePixels(Shown(), picture));

    form->OnStartCrop();
    Pause(100);
    // Outside the frame, on the picture.
    ASSERT_TRUE(DoubleClick(OnScreen(form->Handle(), form->CropOutline(), 100, 30)));
    // On a handle.
    RECT handle =
        support::WindowRectOf(form->CropController().HandleAt(picture::CropFrameController::Handle::Right).Handle());
    ASSERT_TRUE(DoubleClick({handle.left + 3, handle.top + 3}));
    EXPECT_TRUE(SamePixels(Shown(), picture));
    EXPECT_TRUE(form->CropOutline().Visible());

    // A frame squeezed to no width cuts nothing either.
    form->CropOutline().SetBounds(60, 140, 0, 60);
    form->CutPicture();
    EXPECT_TRUE(SamePixels(Shown(), picture));
}

TEST_F(PictureWindow, CutPixelsOutsideThePictureAreTheWindowsGrey) {
    Show(Blocks(50, 40));
    form->OnStartCrop();
    // Reaches 10 pixels past the picture's right edge; a crossed frame (negative
    // width) is the rectangle between its edges.
    const int left = form->PictureView().Left() + 60, top = form->PictureView().Top() + 5;
    form->CropOutline().SetBounds(left, top, -30, 20);
    form->CutPicture();
    ASSERT_EQ(Shown().Width(), 30);
    ASSERT_EQ(Shown().Height(), 20);
    EXPECT_EQ(Shown().Pixel(0, 0), BlockColour(3, 0));
    EXPECT_EQ(Shown().Pixel(19, 19), BlockColour(4, 2));
    EXPECT_EQ(Shown().Pixel(20, 0), 0x808080u);
    EXPECT_EQ(Shown().Pixel(29, 19), 0x808080u);
}

TEST_F(PictureWindow, CopyPutsTheDisplayedPictureOnTheClipboard) {
    Show(Blocks(100, 50));
    Press(form->Toolbar().Button(picture::PictureToolbar::Command::ZoomIn));
    Press(form->Toolbar().Button(picture::PictureToolbar::Command::Copy));
    WaitUntil([&] { return !messages.empty(); });
    ASSERT_EQ(messages, std::vector<std::wstring>{L"The picture is copied to the clipboard!"});
    EXPECT_TRUE(OnClipboard(Shown()));
    EXPECT_EQ(ReadClipboardBitmap().value_or(ClipboardPicture{}).width, 120);

    form->OnStartCrop();
    form->CropOutline().SetBounds(form->PictureView().Left() + 4, form->PictureView().Top() + 4, 30, 20);
    ASSERT_TRUE(DoubleClick(OnScreen(form->Handle(), form->CropOutline(), 10, 10)));
    ASSERT_TRUE(WaitUntil([&] { return Shown().Width() == 30; }));
    Press(form->Toolbar().Button(picture::PictureToolbar::Command::Copy));
    EXPECT_TRUE(OnClipboard(Shown()));
    EXPECT_EQ(ReadClipboardBitmap().value_or(ClipboardPicture{}).width, 30);
}

TEST_F(PictureWindow, SaveThroughTheDialogTypedByTheUser) {
    TempFolder folder;
    Show(Blocks(100, 50));

    // Enters a name in the Save dialog, from another thread, while the
    // window's Save waits for it. With replace set, the user also answers Yes
    // when the dialog asks to replace an existing file.
    const auto saveAs = [&](const std::wstring& name, bool replace = false) {
        std::atomic<bool> typed{false};
        std::thread user([&] {
            // The first Save dialog of a fresh Wine prefix can take many
            // seconds on a loaded machine. Keys go to it once it is in front
            // and its loop runs.
            const auto inFront = [](HWND owner) {
                HWND found = nullptr;
                const bool shown = WaitUntil(
                    [&] {
                        for (HWND window : WindowsOf(GetCurrentProcessId()))
                            if (WindowClass(window) == L"#32770" && GetWindow(window, GW_OWNER) == owner)
                                found = window;
                        return found != nullptr;
                    },
                    30000, 25);
                if (!shown) return HWND{};
                SetForegroundWindow(found);
                WaitUntil([&] { return GetForegroundWindow() == found; });
                return Answers(found) ? found : HWND{};
            };
            HWND dialog = inFront(form->Handle());
            if (!dialog) return;
            if (!EnterFileName(dialog, folder.File(name))) return;
            if (replace) {
                HWND ask = inFront(dialog);
                if (!ask) return;
                PostMessageW(GetDlgItem(ask, IDYES), BM_CLICK, 0, 0);
            }
            typed = true;
        });
        // Each Save is pressed at the same place as the one before.
        AwaitDoubleClickTime();
        Press(form->Toolbar().Button(picture::PictureToolbar::Command::Save));
        user.join();
        ASSERT_TRUE(typed) << "the Save dialog did not appear";
    };

    saveAs(L"first");
    ASSERT_TRUE(WaitUntil([&] { return Exists(folder.File(L"first.jpg")); }));
    EXPECT_TRUE(StartsWith(folder.File(L"first.jpg"), {0xFF, 0xD8, 0xFF}));

    form->OnZoomIn();
    saveAs(L"second.png");
    ASSERT_TRUE(WaitUntil([&] { return Exists(folder.File(L"second.png")); }));
    EXPECT_TRUE(StartsWith(folder.File(L"second.png"), {0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(form->SaveDialog().DefaultExt, L".png");

    saveAs(L"third");
    ASSERT_TRUE(WaitUntil([&] { return Exists(folder.File(L"third.png")); }));
    EXPECT_TRUE(StartsWith(folder.File(L"third.png"), {0x89, 'P', 'N', 'G'}));
    EXPECT_FALSE(Exists(folder.File(L"third.jpg")));
    EXPECT_TRUE(messages.empty());

    // A file that cannot be written: the reason is shown, the old file and
    // the window's picture stay as they were.
    const std::wstring locked = folder.File(L"locked.png");
    WriteFileBytes(locked, "old");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    const int width = Shown().Width();
    saveAs(L"locked.png", true);
    ASSERT_TRUE(WaitUntil([&] { return !errors.empty(); })) << "no error shown";
    EXPECT_NE(errors[0].find(L"locked.png"), std::wstring::npos);
    errors.clear();
    EXPECT_EQ(ReadFileBytes(locked), "old");
    EXPECT_EQ(Shown().Width(), width);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(PictureWindow, EveryCloseRearmsTheTrigger) {
    // The trigger as the application object wires it to this window.
    capture::HighlightFrame frame;
    region::RegionScreen regionScreen;
    const settings::CaptureOptions options;
    capture::CaptureTrigger trigger({frame, regionScreen, *form}, options,
                                    [] { return capture::CaptureMethod::FullScreen; });
    form->Closed = [&] { trigger.OnPictureClosed(); };

    const auto expectRearmed = [&](const char* how) {
        EXPECT_FALSE(IsWindowVisible(form->Handle())) << how;
        EXPECT_TRUE(trigger.Listening()) << how;
        // The hotkey hook is back: a typed Ctrl+D is seen.
        trigger.SetListening(false);
        GetDownHotKey();
        TypeCaptureKey();
        EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); })) << how;
    };

    for (const char* how : {"cancel", "title bar"}) {
        Show(Blocks(60, 40));
        trigger.Disarm();
        ASSERT_FALSE(trigger.Listening());
        if (std::string(how) == "cancel") {
            Press(form->Toolbar().Button(picture::PictureToolbar::Command::Cancel));
        } else {
            // The close box at the right end of the maximized window's title bar.
            TITLEBARINFO bar{sizeof bar};
            GetTitleBarInfo(form->Handle(), &bar);
            RECT window = support::WindowRectOf(form->Handle());
            const int frame = GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
            const POINT closeBox{window.right - frame - GetSystemMetrics(SM_CXSIZE) / 2,
                                 bar.rcTitleBar.top + (bar.rcTitleBar.bottom - bar.rcTitleBar.top) / 2};
            ASSERT_TRUE(Click(closeBox));
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(form->Handle()); })) << how;
        expectRearmed(how);
    }
    DisableHotKeyHook();
}

TEST_F(PictureWindow, ANewCaptureWhileOpenReplacesThePictureAndHidesTheFrame) {
    const ui::Bitmap first = Blocks(100, 50), second = Blocks(60, 80);
    Show(first);
    form->OnStartCrop();
    form->CropOutline().SetBounds(40, 130, 70, 50);
    HWND oldHandle = form->CropController().HandleAt(picture::CropFrameController::Handle::TopLeft).Handle();

    Show(second);
    EXPECT_TRUE(SamePixels(Shown(), second));
    EXPECT_FALSE(form->CropOutline().Visible());
    EXPECT_FALSE(IsWindow(oldHandle)) << "the handles of the first showing are gone";
    form->OnZoomIn();
    EXPECT_EQ(Shown().Width(), 72);
    form->OnRestore();
    EXPECT_TRUE(SamePixels(Shown(), second));
    // The frame comes back where it was left.
    form->OnStartCrop();
    EXPECT_EQ(form->CropOutline().Left(), 40);
    EXPECT_EQ(form->CropOutline().Width(), 70);

    // Shown modally while open (a region capture): the open window is taken
    // down quietly first, shows the new picture, and a close ends the modal
    // showing and gives the pictures back.
    form->LoadPicture(first);
    bool shownModally = false;
    ui::Timer user(30, true);
    user.OnTimer = [&] {
        if (!IsWindowVisible(form->Handle())) return;
        shownModally = SamePixels(Shown(), first);
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        user.SetEnabled(false);
    };
    form->ShowModal();
    EXPECT_TRUE(shownModally);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(Shown().Empty()) << "a closed window holds no picture";
    EXPECT_TRUE(errors.empty());
}
