#include "ui/Clipboard.h"

#include "ui/Error.h"

#include <cstring>
#include <new>

namespace ui {

namespace {

bool OpenClipboardWithRetries(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(20);
    }
    return false;
}

// Why the clipboard cannot be opened: another program holds it, named when
// the window that opened it is known.
std::wstring ClipboardBusyText() {
    std::wstring holder;
    DWORD processId = 0;
    if (HWND window = GetOpenClipboardWindow()) GetWindowThreadProcessId(window, &processId);
    if (HANDLE process = processId ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr) {
        wchar_t path[MAX_PATH];
        DWORD length = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, path, &length)) {
            holder.assign(path, length);
            holder = L" (" + holder.substr(holder.find_last_of(L"\\/") + 1) + L")";
        }
        CloseHandle(process);
    }
    return L"Cannot open clipboard: another program" + holder + L" is using it. Try again in a moment.";
}

// A packed CF_DIB: header followed by bottom-up 24-bit rows, as every reader expects.
HGLOBAL MakePackedDib(const Bitmap& picture) {
    const int w = picture.Width(), h = picture.Height();
    const size_t stride = ((static_cast<size_t>(w) * 24 + 31) / 32) * 4;
    const size_t size = sizeof(BITMAPINFOHEADER) + stride * h;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) throw std::bad_alloc();
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory));
    std::memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    header->biWidth = w;
    header->biHeight = h;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    header->biSizeImage = static_cast<DWORD>(stride * h);
    auto* rows = reinterpret_cast<std::uint8_t*>(header + 1);
    GdiFlush();
    const int bytes = picture.BitsPerPixel() / 8;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* from = picture.Row(y);
        std::uint8_t* to = rows + stride * (h - 1 - y);
        if (bytes == 3) {
            std::memcpy(to, from, static_cast<size_t>(w) * 3);
        } else {
            for (int x = 0; x < w; ++x, from += bytes, to += 3) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
    GlobalUnlock(memory);
    return memory;
}

} // namespace

void CopyBitmapToClipboard(const Bitmap& picture, HWND owner) {
    // The data is made before the clipboard is opened, so that a failure to
    // allocate leaves the clipboard as it was.
    HGLOBAL dib = picture.Empty() ? nullptr : MakePackedDib(picture);
    if (!OpenClipboardWithRetries(owner)) {
        if (dib) GlobalFree(dib);
        throw Error(ClipboardBusyText());
    }
    EmptyClipboard();
    if (dib && !SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
    CloseClipboard();
}

} // namespace ui
