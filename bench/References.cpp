#include "bench/References.h"

#include "ui/Error.h"
#include "imaging/ReplacingFile.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace bench {

FloorGrab::FloorGrab()
    : display_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)),
      picture_(GetDeviceCaps(display_, HORZRES), GetDeviceCaps(display_, VERTRES), 32) {
    // The canvas (a memory DC with the section selected) is made once too.
    picture_.Canvas();
}

FloorGrab::~FloorGrab() { DeleteDC(display_); }

void FloorGrab::Grab() {
    BitBlt(picture_.Canvas(), 0, 0, picture_.Width(), picture_.Height(), display_, 0, 0, SRCCOPY | CAPTUREBLT);
    GdiFlush();
}

MemoryJpeg::~MemoryJpeg() { std::free(buffer_); }

unsigned long MemoryJpeg::Encode(const ui::Bitmap& picture, int quality, bool chromaSubsampling) {
    // A benchmark has nothing to recover: libjpeg's own error exit ends it.
    jpeg_error_mgr error;
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    // The buffer of the last run is reused; the library grows it when needed.
    unsigned long size = size_;
    jpeg_mem_dest(&info, &buffer_, &size);
    info.image_width = static_cast<JDIMENSION>(picture.Width());
    info.image_height = static_cast<JDIMENSION>(picture.Height());
    info.input_components = picture.BitsPerPixel() / 8;
    info.in_color_space = picture.BitsPerPixel() == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (!chromaSubsampling)
        for (int c = 0; c < info.num_components; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    std::vector<JSAMPROW> rows(static_cast<size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<size_t>(y)] = const_cast<JSAMPROW>(picture.Row(y));
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows.data() + info.next_scanline, info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    // jpeg_mem_dest's size is the bytes written; the buffer holds at least that.
    size_ = std::max(size_, size);
    return size;
}

namespace {

struct PngFailure {
    std::jmp_buf jump;
};

void PngError(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "libpng: %s\n", message);
    std::longjmp(static_cast<PngFailure*>(png_get_error_ptr(png))->jump, 1);
}

void PngWrite(png_structp png, png_bytep data, png_size_t size) {
    static_cast<imaging::ReplacingFile*>(png_get_io_ptr(png))->Write(data, size);
}

void PngFlush(png_structp) {}

bool EncodeWithDefaults(const ui::Bitmap& picture, imaging::ReplacingFile* file, PngFailure* failure, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, PngError, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(failure->jump)) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, PngWrite, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(picture.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    png_set_bgr(png);
    if (picture.BitsPerPixel() == 32) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

void WritePngLibpngDefaults(const ui::Bitmap& picture, const std::wstring& path) {
    imaging::ReplacingFile file(path);
    std::vector<png_bytep> rows(static_cast<size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(picture.Row(y));
    PngFailure failure;
    if (!EncodeWithDefaults(picture, &file, &failure, rows.data())) throw ui::Error(L"libpng failed");
    file.Commit();
}

void WriteZeroFile(const std::wstring& path, long long bytes) {
    imaging::ReplacingFile file(path);
    static const std::vector<unsigned char> block(1 << 20);
    for (long long left = bytes; left > 0; left -= static_cast<long long>(block.size()))
        file.Write(block.data(), static_cast<size_t>(std::min<long long>(left, static_cast<long long>(block.size()))));
    file.Commit();
}

long long FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace bench
