#include "tests/support/Picture.h"

#include "tests/support/Files.h"
#include "tests/support/Wait.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace support {

namespace {

// 32-bit pixels in rows top down.
BITMAPINFO TopDownRgb(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The pixels of a bitmap, read through GDI.
Picture PixelsOf(HDC dc, HBITMAP bitmap, int width, int height) {
    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
    BITMAPINFO info = TopDownRgb(width, height);
    GetDIBits(dc, bitmap, 0, height, picture.pixels.data(), &info, DIB_RGB_COLORS);
    for (auto& p : picture.pixels)
        p &= 0xFFFFFF;
    return picture;
}

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// Decodes with no C++ object alive across the library's longjmp.
bool DecodeJpegInto(const std::string& bytes, DecodedJpeg* out, std::vector<unsigned char>* rgb) {
    jpeg_decompress_struct decoder{};
    JpegErrors errors{};
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    errors.base.emit_message = [](j_common_ptr info, int level) {
        if (level < 0) OnJpegError(info);
    };
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder, TRUE);
    out->components = decoder.num_components;
    out->progressive = decoder.progressive_mode != 0;
    decoder.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder);
    out->width = static_cast<int>(decoder.output_width);
    out->height = static_cast<int>(decoder.output_height);
    rgb->resize(static_cast<size_t>(out->width) * out->height * 3);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = rgb->data() + static_cast<size_t>(decoder.output_scanline) * out->width * 3;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return true;
}

} // namespace

Picture GrabScreen(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const BITMAPINFO info = TopDownRgb(width, height);
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory, old);
    Picture picture = PixelsOf(memory, copy, width, height);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

std::uint32_t ScreenPixel(POINT at) { return GrabScreen({at.x, at.y, at.x + 1, at.y + 1}).At(0, 0); }

std::optional<ClipboardPicture> ReadClipboardBitmap() {
    std::optional<ClipboardPicture> result;
    // Another program may hold the clipboard for a while: under Wine the
    // system hands a large picture over to X, which takes seconds on a
    // loaded machine.
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return result;
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        if (const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(data))) {
            const BITMAPINFOHEADER& h = info->bmiHeader;
            const BYTE* bits = reinterpret_cast<const BYTE*>(info) + h.biSize +
                               (h.biCompression == BI_BITFIELDS ? 12 : 0) +
                               (h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) * 4 : 0);
            HDC screen = GetDC(nullptr);
            HBITMAP bitmap = CreateDIBitmap(screen, &h, CBM_INIT, bits, info, DIB_RGB_COLORS);
            result.emplace();
            static_cast<Picture&>(*result) =
                PixelsOf(screen, bitmap, h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight);
            result->bitsPerPixel = h.biBitCount;
            DeleteObject(bitmap);
            ReleaseDC(nullptr, screen);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return result;
}

void ClearClipboard() {
    if (WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::optional<DecodedJpeg> DecodeJpeg(const std::string& bytes) {
    if (bytes.empty()) return std::nullopt;
    DecodedJpeg picture;
    std::vector<unsigned char> rgb;
    if (!DecodeJpegInto(bytes, &picture, &rgb)) return std::nullopt;
    picture.pixels.resize(rgb.size() / 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = std::uint32_t{rgb[i * 3]} << 16 | std::uint32_t{rgb[i * 3 + 1]} << 8 | rgb[i * 3 + 2];
    return picture;
}

std::optional<DecodedJpeg> DecodeJpegFile(const std::wstring& path) { return DecodeJpeg(ReadFileBytes(path)); }

std::optional<Picture> DecodePngFile(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    // 0xAARRGGBB in memory order B, G, R, A: the layout of Picture's pixels.
    image.format = PNG_FORMAT_BGRA;
    Picture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
    picture.pixels.resize(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) return std::nullopt;
    for (std::uint32_t& pixel : picture.pixels)
        pixel &= 0xFFFFFF;
    return picture;
}

std::optional<Picture> DecodeBmpFile(const std::wstring& path) {
    // The system's own reader, as another program would open the file.
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return std::nullopt;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    HDC screen = GetDC(nullptr);
    Picture picture = PixelsOf(screen, bitmap, info.bmWidth, info.bmHeight);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return picture;
}

} // namespace support
