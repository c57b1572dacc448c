#include "bench/Marks.h"

#include "bench/Desktop.h"
#include "picture/PictureMath.h"
#include "picture/Rendering.h"
#include "tests/support/Input.h"

#include <string>
#include <vector>

namespace bench {

namespace {

// A mouse message to the window at a client point, as the system sends it.
void Mouse(HWND window, UINT message, POINT at) {
    SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

// 50 marks of every kind spread over the part of the picture on the screen.
void DrawFiftyMarks(picture::PictureWindow& window) {
    using picture::MarkKind;
    const MarkKind kinds[] = {MarkKind::Arrow, MarkKind::Rectangle, MarkKind::Highlighter, MarkKind::Text,
                              MarkKind::Redaction};
    const RECT client = window.ClientRect();
    const POINT origin{window.PictureView().Left(), window.PictureView().Top()};
    for (int i = 0; i < 50; ++i) {
        const MarkKind kind = kinds[i % 5];
        window.ChooseTool(kind);
        const POINT from{origin.x + 40 + (i % 10) * (client.right - 200) / 10,
                         origin.y + 40 + (i / 10) * (client.bottom - origin.y - 200) / 5};
        if (kind == MarkKind::Text) {
            Mouse(window.Handle(), WM_LBUTTONDOWN, from);
            Mouse(window.Handle(), WM_LBUTTONUP, from);
            for (wchar_t c : std::wstring(L"Note 12"))
                SendMessageW(window.Handle(), WM_CHAR, c, 0);
            SendMessageW(window.Handle(), WM_KEYDOWN, VK_RETURN, 0);
            continue;
        }
        Mouse(window.Handle(), WM_LBUTTONDOWN, from);
        for (int step = 1; step <= 8; ++step)
            Mouse(window.Handle(), WM_MOUSEMOVE, {from.x + step * 15, from.y + step * (step % 2 ? 9 : 4)});
        Mouse(window.Handle(), WM_LBUTTONUP, {from.x + 120, from.y + 40});
    }
    window.ChooseTool(std::nullopt);
}

} // namespace

void MeasureMarks(picture::PictureWindow& window, Table& table, int runs) {
    window.LoadPicture(DesktopContent(3840, 2160));
    window.Present();
    window.OnMarks();
    PumpFor(500);
    DrawFiftyMarks(window);
    PumpFor(200);

    std::vector<double> zoomIn;
    for (int i = 0; i < runs; ++i) {
        const double from = NowMs();
        window.OnZoomIn();
        UpdateWindow(window.Handle());
        GdiFlush();
        zoomIn.push_back(NowMs() - from);
        PumpFor(50);
        window.OnOriginalSize();
        PumpFor(50);
    }
    table.Add({"zoom: Zoom In on 3840x2160 with 50 marks, painted", Median(zoomIn), "ms", "target 60 ms", 60, 1.0});
    // What the marks add to a zoom step, the rendering alone with and
    // without them taken in turn, so that the machine's load weighs on both.
    const picture::MarkedPicture& marked = window.History().Current();
    const int zw = picture::ZoomInSide(marked.master->Width()), zh = picture::ZoomInSide(marked.master->Height());
    std::vector<double> withMarks, without;
    for (int i = 0; i < runs; ++i) {
        withMarks.push_back(MedianMs(1, [&] { picture::RenderMarked(*marked.master, marked.marks, zw, zh); }));
        without.push_back(MedianMs(1, [&] { picture::RenderMarked(*marked.master, {}, zw, zh); }));
    }
    table.Add({"zoom step rendered with its 50 marks", Median(withMarks), "ms", "the same without marks",
               Median(without), 1.15});

    // A highlighter stroke with the real mouse: each move until the ink
    // shows on the screen under the pointer. The moves go along a row
    // of the picture, to points whose colour the ink changes.
    window.ChooseTool(picture::MarkKind::Highlighter);
    HDC screen = GetDC(nullptr);
    POINT at{window.PictureView().Left() + 100, window.PictureView().Top() + 700};
    ClientToScreen(window.Handle(), &at);
    support::MoveMouse(at);
    PumpFor(100);
    support::MouseDown();
    PumpFor(100);
    std::vector<double> follow;
    for (int i = 0; i < 3 * runs && at.x < GetSystemMetrics(SM_CXSCREEN) - 100; ++i) {
        at.x += 40;
        const COLORREF before = GetPixel(screen, at.x, at.y);
        // White, grey and blue all turn yellower; a point the ink leaves
        // as it is has nothing to show.
        if (GetBValue(before) == 0) continue;
        const double from = NowMs();
        support::SendMouse(MOUSEEVENTF_MOVE, at);
        if (!PumpUntil([&] { return GetPixel(screen, at.x, at.y) != before; })) break;
        follow.push_back(NowMs() - from);
    }
    support::MouseUp();
    PumpFor(100);
    ReleaseDC(nullptr, screen);
    window.ChooseTool(std::nullopt);
    table.Add(
        {"highlighter stroke follows the mouse (on screen)", Median(follow), "ms", "one frame at 60 Hz", 16.7, 1.0});
}

} // namespace bench
