// The fixture of the end-to-end capture tests: starts Snapora, selects a
// method, works the picture window's toolbar and reads back what it shows.
#pragma once

#include "app/MainWindow.h"
#include "picture/PictureWindow.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"
#include "settings/OptionsWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace e2e {

using namespace support;

constexpr DWORD kWait = kGenerousWait;

inline POINT Centre(HWND window) {
    RECT r = support::WindowRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The part of a picture at (x, y) of size w x h.
inline Picture Part(const Picture& from, int x, int y, int w, int h) {
    Picture part{w, h, {}};
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            part.pixels.push_back(from.At(x + col, y + row));
    return part;
}

inline ::testing::AssertionResult SamePicture(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height)
        return ::testing::AssertionFailure() << a.width << " x " << a.height << " vs " << b.width << " x " << b.height;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y))
                return ::testing::AssertionFailure()
                       << "differs at " << x << ", " << y << ": " << std::hex << a.At(x, y) << " vs " << b.At(x, y);
    return ::testing::AssertionSuccess();
}

// Puts the mouse back at a point if it is not there. Under Wine the program
// whose window lies under the X pointer may report an earlier pointer place
// late, as a move of its own, and the cursor then jumps back; the highlight
// frame follows the cursor, so a test that waits on the frame keeps the
// mouse where it wants it.
inline void KeepMouseAt(POINT at) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x != at.x || now.y != at.y) MoveMouse(at);
}

class CaptureSession : public ::testing::Test {
protected:
    void Start(std::optional<std::string> config = std::nullopt) {
        app.emplace(RunningSnapora::LaunchArgs{.configIni = std::move(config)});
        main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000);
        ASSERT_NE(main, nullptr) << "no main window";
        // Its hotkeys, hooks and windows are set up before its message loop.
        ASSERT_TRUE(Answers(main, 15000)) << "the message loop did not start";
    }

    // Clicks the method's radio button on the main window.
    void Select(const wchar_t* method) {
        HWND radio = FindWindowExW(main, nullptr, L"Button", method);
        ASSERT_NE(radio, nullptr) << "no radio button for the method";
        Click(Centre(radio));
        ASSERT_TRUE(WaitUntil([&] { return IsChecked(radio); }, kWait));
    }
    bool Checked(const wchar_t* caption) const { return IsChecked(main, caption); }

    void ClickCaptureButton() { Click(ScreenPoint(main, {8 + 36, 40 + 30})); }

    // The picture window, once it is up, maximized, in front; with rest
    // given, the mouse is kept there until then.
    HWND WaitForPictureWindow(std::optional<POINT> rest = std::nullopt) {
        HWND save = nullptr;
        WaitUntil(
            [&] {
                if (rest) KeepMouseAt(*rest);
                save = app->FindWindowOf(picture::kPictureWindowClass, nullptr, false);
                return save && IsZoomed(save) && !IsIconic(save);
            },
            kWait);
        return save;
    }

    // A toolbar button of the picture window, by its place on the toolbar
    // at 96 DPI; the toolbar grows with the display's scale, as its height
    // tells.
    static POINT Toolbar(HWND save, int left, int width) {
        RECT bar{0, 0, 0, picture::PictureToolbar::kHeight};
        if (HWND toolbar = FindWindowExW(save, nullptr, picture::kPictureToolbarClass, nullptr))
            GetClientRect(toolbar, &bar);
        const auto px = [&](int design) { return MulDiv(design, bar.bottom, picture::PictureToolbar::kHeight); };
        return ScreenPoint(save, {px(left + width / 2), px(8 + 30)});
    }

    // "Copy to Clipboard", then OK on the confirmation; gives what the
    // clipboard got. While the system still hands an earlier picture over
    // to X the program cannot open the clipboard and says so; a user presses
    // the button again then, and so does this.
    Picture CopyPicture(HWND save) {
        ClearClipboard();
        for (int attempt = 1; attempt <= 3; ++attempt) {
            Click(Toolbar(save, 488, 113));
            HWND box = app->WaitForWindow(L"#32770", nullptr, kWait);
            EXPECT_NE(box, nullptr) << "no confirmation";
            if (!box) return {};
            const std::wstring text = MessageBoxText(box);
            EXPECT_TRUE(PressOk(box));
            if (text.find(L"Cannot open clipboard") == std::wstring::npos) {
                EXPECT_NE(text.find(L"The picture is copied to the clipboard!"), std::wstring::npos) << Narrow(text);
                break;
            }
        }
        return ReadClipboardBitmap().value_or(ClipboardPicture{});
    }

    void ZoomIn(HWND save) { Click(Toolbar(save, 87, 73)); }

    // The program's dialog or message box that the window owns, once it is up.
    HWND WaitForBoxOf(HWND owner, DWORD timeoutMs) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (HWND box : app->MessageBoxes())
                    if (GetWindow(box, GW_OWNER) == owner) found = box;
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }

    // The texts of the program's open message boxes, for a failure message.
    std::string OpenBoxTexts() const {
        std::string texts;
        for (HWND box : app->MessageBoxes())
            texts += " [" + Narrow(WindowCaption(box)) + ": " + Narrow(MessageBoxText(box)) + "]";
        return texts.empty() ? " (no message box is open)" : texts;
    }

    // Brings another program's window to the front by a click on its body
    // (away from its button); the mouse then goes out of the way, and an
    // Active Window capture will take that window.
    static void BringToFront(const TargetProgram& target) {
        RECT t = support::WindowRectOf(target.Window());
        Click({t.left + 20, t.bottom - 20});
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.Window(); }, kWait));
        MoveMouse({1200, 980});
    }

    // "Save", the name written into the dialog, OK; with replacing, Yes to the
    // question whether to replace the file that is there. A click that comes
    // while the window is still being activated can be lost under Wine, so
    // the pointer rests on the button for a moment first.
    void SaveAs(HWND picture, const std::wstring& path, bool replacing = false) {
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == picture; }, kWait));
        MoveMouse(Toolbar(picture, 8, 73));
        Sleep(300);
        Click(Toolbar(picture, 8, 73));
        // The first Save dialog of a fresh Wine prefix can take many seconds.
        HWND dialog = WaitForBoxOf(picture, 30000);
        ASSERT_NE(dialog, nullptr) << "no Save dialog";
        ASSERT_TRUE(EnterFileName(dialog, path));
        if (replacing) {
            HWND ask = WaitForBoxOf(dialog, kWait);
            ASSERT_NE(ask, nullptr) << "no question before replacing the file";
            PostMessageW(GetDlgItem(ask, IDYES), BM_CLICK, 0, 0);
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWait));
    }

    void Cancel(HWND save) {
        Click(Toolbar(save, 608, 73));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(save); }, kWait));
    }

    // The middle of the tray icon: Snapora's is the only one, in the
    // rightmost slot of the taskbar's notification area.
    static POINT TrayIcon() {
        RECT bar = support::WindowRectOf(FindWindowW(L"Shell_TrayWnd", nullptr));
        return {bar.right - 10, (bar.top + bar.bottom) / 2};
    }

    // Whether the taskbar shows the icon: its slot is no longer one colour.
    static bool TrayIconShown() {
        const POINT at = TrayIcon();
        const Picture slot = GrabScreen({at.x - 8, at.y - 8, at.x + 8, at.y + 8});
        return std::any_of(slot.pixels.begin(), slot.pixels.end(),
                           [&](std::uint32_t p) { return p != slot.pixels[0]; });
    }

    // The open pop-up menu, once it is up.
    static HWND WaitForMenu() {
        HWND menu = nullptr;
        WaitUntil(
            [&] {
                menu = FindWindowW(L"#32768", nullptr);
                return menu && IsWindowVisible(menu);
            },
            kWait);
        return menu;
    }

    // Opens the Options window by its button on the main window.
    HWND OpenOptions() const {
        Click(ScreenPoint(main, {88 + 36, 40 + 30}));
        return app->WaitForWindow(settings::kOptionsWindowClass, L"Snapora - Options", kWait);
    }

    // Clicks Save or Reset at the foot of the Options window.
    enum class OptionsCommand { Save = 120 + 36, Reset = 256 + 40 };
    static void ClickOptions(HWND options, OptionsCommand command) {
        Click(ScreenPoint(options, {static_cast<int>(command), 440 + 30}));
    }

    // Opens Options, puts a folder into the "Save to" box, which must show
    // the folder before, and saves, answering the "Success" box.
    ::testing::AssertionResult SaveFolderInOptions(const std::wstring& before, const std::wstring& folder) const {
        HWND options = OpenOptions();
        if (!options) return ::testing::AssertionFailure() << "the Options window did not open";
        HWND folderEdit = EditShowing(options, before);
        if (!folderEdit) return ::testing::AssertionFailure() << "Options does not show the folder before";
        SendMessageW(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ClickOptions(options, OptionsCommand::Save);
        HWND saved = app->WaitForWindow(L"#32770", L"Success", kWait);
        if (!saved) return ::testing::AssertionFailure() << "the settings were not saved";
        PostMessageW(GetDlgItem(saved, IDOK), BM_CLICK, 0, 0);
        if (!WaitUntil([&] { return !IsWindowVisible(options); }, kWait))
            return ::testing::AssertionFailure() << "the Options window stayed open";
        return ::testing::AssertionSuccess();
    }

    // The edit box of a window that shows the text, or null.
    static HWND EditShowing(HWND window, const std::wstring& text) {
        for (HWND child = FindWindowExW(window, nullptr, L"Edit", nullptr); child;
             child = FindWindowExW(window, child, L"Edit", nullptr)) {
            // WM_GETTEXT, since GetWindowText cannot read another program's edit box.
            wchar_t shown[MAX_PATH]{};
            SendMessageW(child, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(shown));
            if (text == shown) return child;
        }
        return nullptr;
    }

    static RECT Screen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    std::optional<RunningSnapora> app;
    HWND main = nullptr;
};

} // namespace e2e
