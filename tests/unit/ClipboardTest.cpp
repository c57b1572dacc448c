#include "tests/support/Picture.h"
#include "ui/Clipboard.h"
#include "ui/Error.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Clipboard, PutsThePictureOnTheClipboardPixelForPixel) {
    for (int bpp : {24, 32}) {
        ui::Bitmap picture(5, 3, bpp);
        picture.SetPixel(0, 0, 0xFF0000);
        picture.SetPixel(4, 2, 0x00FF00);
        picture.SetPixel(2, 1, 0x123456);
        ui::CopyBitmapToClipboard(picture, nullptr);
        // As other programs see it: a 24-bit DIB, whatever the picture's depth.
        const auto back = support::ReadClipboardBitmap();
        ASSERT_TRUE(back);
        EXPECT_EQ(back->bitsPerPixel, 24);
        ASSERT_EQ(back->width, 5);
        ASSERT_EQ(back->height, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(back->At(x, y), picture.Pixel(x, y)) << x << "," << y;
    }
}

TEST(Clipboard, WaitsBrieflyForAnotherHolderThenGivesUpWithAMessage) {
    ui::Bitmap picture(2, 2);
    picture.SetPixel(1, 1, 0xABCDEF);

    // Held for a moment by another thread: the copy still succeeds.
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread briefHolder([&] {
        HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        OpenClipboard(holder);
        SetEvent(held);
        Sleep(60);
        CloseClipboard();
        DestroyWindow(holder);
    });
    WaitForSingleObject(held, 5000);
    CloseHandle(held);
    EXPECT_NO_THROW(ui::CopyBitmapToClipboard(picture, nullptr));
    briefHolder.join();
    const auto copied = support::ReadClipboardBitmap();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->At(1, 1), 0xABCDEFu);

    // Held for long: the holder is named with the advice to try again, and
    // the clipboard is untouched.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread longHolder([&] {
        // The clipboard is held by a window, as another program holds it.
        HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        OpenClipboard(holder);
        SetEvent(opened);
        WaitForSingleObject(release, 5000);
        CloseClipboard();
        DestroyWindow(holder);
    });
    WaitForSingleObject(opened, 5000);
    ui::Bitmap other(1, 1);
    try {
        ui::CopyBitmapToClipboard(other, nullptr);
        ADD_FAILURE() << "copied while another program held the clipboard";
    } catch (const ui::Error& error) {
        EXPECT_EQ(error.Message(),
                  L"Cannot open clipboard: another program (unit_tests.exe) is using it. Try again in a moment.");
    }
    SetEvent(release);
    longHolder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(support::ReadClipboardBitmap().value_or(support::ClipboardPicture{}).width, 2);
}
