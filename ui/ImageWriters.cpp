#include "ui/ImageWriters.h"

#include "ui/Error.h"
#include "ui/ReplacingFile.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <new>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

namespace ui {

namespace {

// The libraries report their own failures (out of memory, a bad argument)
// through a callback that must not return. They are C code, so the callback
// leaves with longjmp to a setjmp in a function that holds no C++ object with
// a destructor; only plain data lives between the two. Write failures never
// take that path: ReplacingFile remembers them and Commit reports them.
constexpr std::size_t kLibraryMessageSize = 200;

// --- JPEG -----------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    error->manager.format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt data on reading) cannot arise when encoding; stay quiet
// instead of printing to a console the program does not have.
void JpegOutputMessage(j_common_ptr) {}

struct JpegDestination {
    jpeg_destination_mgr manager;
    ReplacingFile* file;
    JOCTET buffer[64 * 1024];
};

void JpegInitDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegDestination*>(info->dest);
    dest->manager.next_output_byte = dest->buffer;
    dest->manager.free_in_buffer = sizeof(dest->buffer);
}

boolean JpegEmptyBuffer(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegDestination*>(info->dest);
    // libjpeg asks for the whole buffer to be written, whatever free_in_buffer says.
    dest->file->Write(dest->buffer, sizeof(dest->buffer));
    JpegInitDestination(info);
    return TRUE;
}

void JpegTermDestination(j_compress_ptr info) {
    auto* dest = reinterpret_cast<JpegDestination*>(info->dest);
    dest->file->Write(dest->buffer, sizeof(dest->buffer) - dest->manager.free_in_buffer);
}

// Returns false with error->message filled when the library failed.
bool EncodeJpeg(const Bitmap& picture, const JpegOptions& options, JpegDestination* dest, JpegError* error,
                JSAMPROW* rows) {
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = JpegErrorExit;
    error->manager.output_message = JpegOutputMessage;
    if (setjmp(error->jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    dest->manager.init_destination = JpegInitDestination;
    dest->manager.empty_output_buffer = JpegEmptyBuffer;
    dest->manager.term_destination = JpegTermDestination;
    info.dest = &dest->manager;

    info.image_width = static_cast<JDIMENSION>(picture.Width());
    info.image_height = static_cast<JDIMENSION>(picture.Height());
    // The DIB's own byte order goes in as it is: libjpeg-turbo converts BGR or
    // BGRX to YCbCr in its SIMD code, so no pixel is touched here.
    info.input_components = picture.BitsPerPixel() == 32 ? 4 : 3;
    info.in_color_space = picture.BitsPerPixel() == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    // The defaults: YCbCr, sequential Huffman coding with the standard tables,
    // 2x2 chroma subsampling, the accurate integer DCT, a JFIF header.
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.Quality, TRUE /* baseline tables */);
    if (!options.ChromaSubsampling) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows + info.next_scanline, info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

// --- PNG ------------------------------------------------------------------

struct PngError {
    std::jmp_buf jump;
    char message[kLibraryMessageSize];
};

void PngErrorFn(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof(error->message), "%s", message ? message : "libpng error");
    std::longjmp(error->jump, 1);
}

void PngWarningFn(png_structp, png_const_charp) {}

void PngWriteFn(png_structp png, png_bytep data, png_size_t size) {
    static_cast<ReplacingFile*>(png_get_io_ptr(png))->Write(data, size);
}

// The file's buffer is flushed by Commit.
void PngFlushFn(png_structp) {}

bool EncodePng(const Bitmap& picture, const PngOptions& options, ReplacingFile* file, PngError* error,
               png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, PngErrorFn, PngWarningFn);
    if (!png) {
        std::snprintf(error->message, sizeof(error->message), "out of memory");
        return false;
    }
    // Both structures exist before setjmp, so nothing that the jump skips
    // back over is changed after it.
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(error->message, sizeof(error->message), "out of memory");
        return false;
    }
    if (setjmp(error->jump)) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, PngWriteFn, PngFlushFn);
    png_set_compression_level(png, options.CompressionLevel);
    png_set_compression_strategy(png, options.Strategy);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, options.Filters);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(picture.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    // The DIB holds B, G, R[, X]: libpng swaps to RGB and strips the filler
    // byte on its way out, so the picture is read as it is.
    png_set_bgr(png);
    if (picture.BitsPerPixel() == 32) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::wstring LibraryFailure(const std::wstring& fullPath, const char* library, const char* message) {
    std::wstring text(message, message + std::char_traits<char>::length(message));
    std::wstring name(library, library + std::char_traits<char>::length(library));
    return FormatMessageText(L"Cannot create file \"%s\". %s", {fullPath, name + L": " + text});
}

template <typename Row> std::vector<Row> RowPointers(const Bitmap& picture) {
    std::vector<Row> rows(static_cast<std::size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<Row>(picture.Row(y));
    return rows;
}

} // namespace

void WriteJpeg(const Bitmap& picture, const std::wstring& path, const JpegOptions& options) {
    ReplacingFile file(path);
    if (!picture.Empty()) {
        // Drawing through the canvas may still be queued in GDI.
        GdiFlush();
        auto error = std::make_unique<JpegError>();
        auto dest = std::make_unique<JpegDestination>();
        dest->file = &file;
        std::vector<JSAMPROW> rows = RowPointers<JSAMPROW>(picture);
        if (!EncodeJpeg(picture, options, dest.get(), error.get(), rows.data()))
            throw Error(LibraryFailure(file.FullPath(), "JPEG", error->message));
    } else {
        // A JPEG picture has at least one pixel: an empty one cannot be encoded.
        throw Error(LibraryFailure(file.FullPath(), "JPEG", "the picture is empty"));
    }
    file.Commit();
}

void WritePng(const Bitmap& picture, const std::wstring& path, const PngOptions& options) {
    ReplacingFile file(path);
    if (picture.Empty()) throw Error(LibraryFailure(file.FullPath(), "PNG", "the picture is empty"));
    GdiFlush();
    auto error = std::make_unique<PngError>();
    std::vector<png_bytep> rows = RowPointers<png_bytep>(picture);
    if (!EncodePng(picture, options, &file, error.get(), rows.data()))
        throw Error(LibraryFailure(file.FullPath(), "PNG", error->message));
    file.Commit();
}

void WriteBmp(const Bitmap& picture, const std::wstring& path) {
    ReplacingFile file(path);
    const int width = picture.Empty() ? 0 : picture.Width();
    const int height = picture.Empty() ? 0 : picture.Height();
    const DWORD rowBytes = static_cast<DWORD>(((width * 24 + 31) / 32) * 4);
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42; // "BM"
    fileHeader.bfSize = headers + rowBytes * static_cast<DWORD>(height);
    fileHeader.bfOffBits = headers;
    BITMAPINFOHEADER infoHeader{};
    infoHeader.biSize = sizeof(BITMAPINFOHEADER);
    infoHeader.biWidth = width;
    infoHeader.biHeight = height; // positive: bottom-up rows, which every reader accepts
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 24;
    infoHeader.biCompression = BI_RGB;
    infoHeader.biSizeImage = rowBytes * static_cast<DWORD>(height);
    // 96 dots per inch, in dots per metre.
    infoHeader.biXPelsPerMeter = infoHeader.biYPelsPerMeter = 3780;
    file.Write(&fileHeader, sizeof(fileHeader));
    file.Write(&infoHeader, sizeof(infoHeader));

    if (height > 0) {
        GdiFlush();
        if (picture.BitsPerPixel() == 24) {
            // The DIB's rows have the file's layout, padding included.
            for (int y = height - 1; y >= 0; --y)
                file.Write(picture.Row(y), rowBytes);
        } else {
            std::vector<std::uint8_t> row(rowBytes, 0);
            for (int y = height - 1; y >= 0; --y) {
                const std::uint8_t* from = picture.Row(y);
                std::uint8_t* to = row.data();
                for (int x = 0; x < width; ++x, from += 4, to += 3) {
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                }
                file.Write(row.data(), rowBytes);
            }
        }
    }
    file.Commit();
}

std::wstring FileExtension(const std::wstring& fileName) {
    const size_t slash = fileName.find_last_of(L"\\/");
    const size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return L"";
    return fileName.substr(dot);
}

ImageFormat FormatForFileName(const std::wstring& fileName) {
    std::wstring ext = FileExtension(fileName);
    for (wchar_t& c : ext)
        c = static_cast<wchar_t>(std::towlower(c));
    if (ext == L".jpg" || ext == L".jpeg" || ext == L".jpe") return ImageFormat::Jpeg;
    if (ext == L".png") return ImageFormat::Png;
    return ImageFormat::Bmp;
}

void WritePictureFile(const Bitmap& picture, const std::wstring& path) {
    switch (FormatForFileName(path)) {
    case ImageFormat::Jpeg:
        WriteJpeg(picture, path, kSaveJpeg);
        break;
    case ImageFormat::Png:
        WritePng(picture, path);
        break;
    case ImageFormat::Bmp:
        WriteBmp(picture, path);
        break;
    }
}

} // namespace ui
