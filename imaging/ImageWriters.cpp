#include "imaging/ImageWriters.h"

#include "ui/Error.h"
#include "imaging/Parallel.h"
#include "imaging/ReplacingFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <new>
#include <thread>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace imaging {

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
bool EncodeJpeg(const ui::Bitmap& picture, const JpegOptions& options, JpegDestination* dest, JpegError* error,
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

// The picture's rows as PNG scanlines (R, G, B, one filter type byte in
// front), deflated in horizontal strips at once on several threads. Each
// strip is a raw deflate stream of its own; all but the last end with a
// sync flush, which closes them on a byte boundary without marking the
// last block, so that laid one after another behind one zlib header and
// followed by the Adler-32 of all the scanlines (combined from the strips'
// own), they are one valid zlib stream. A strip begins without the history
// of the one above, which costs a few hundred bytes in a screenshot.
struct PngStrip {
    int firstRow = 0;
    int endRow = 0;
    std::vector<unsigned char> deflated;
    unsigned long adler = 1;
    bool done = false;
    bool failed = false;
};

// One scanline of row y: the filter type byte, then R, G, B per pixel,
// filtered with None, Sub (the difference to the pixel on the left) or Up
// (the difference to the pixel above).
void FilterRow(const ui::Bitmap& picture, int y, int filter, unsigned char* out) {
    const int step = picture.BitsPerPixel() / 8;
    const unsigned char* from = picture.Row(y);
    const unsigned char* above = y > 0 && filter == 2 ? picture.Row(y - 1) : nullptr;
    *out++ = static_cast<unsigned char>(above || filter != 2 ? filter : 0);
    const int width = picture.Width();
    if (filter == 1) {
        unsigned char r = 0, g = 0, b = 0;
        for (int x = 0; x < width; ++x, from += step, out += 3) {
            out[0] = static_cast<unsigned char>(from[2] - r);
            out[1] = static_cast<unsigned char>(from[1] - g);
            out[2] = static_cast<unsigned char>(from[0] - b);
            r = from[2], g = from[1], b = from[0];
        }
    } else if (above) {
        for (int x = 0; x < width; ++x, from += step, above += step, out += 3) {
            out[0] = static_cast<unsigned char>(from[2] - above[2]);
            out[1] = static_cast<unsigned char>(from[1] - above[1]);
            out[2] = static_cast<unsigned char>(from[0] - above[0]);
        }
    } else {
        for (int x = 0; x < width; ++x, from += step, out += 3) {
            out[0] = from[2];
            out[1] = from[1];
            out[2] = from[0];
        }
    }
}

// Deflates one strip with a stream that the thread keeps from strip to
// strip (a fresh stream costs its allocations anew).
void DeflateStrip(const ui::Bitmap& picture, int filter, bool last, z_stream& stream, std::vector<unsigned char>& row,
                  PngStrip& strip) {
    const std::size_t rowBytes = row.size();
    // A screenshot deflates to a fraction of its scanlines: the buffer
    // starts at a quarter of them and grows when a photo needs more.
    strip.deflated.resize(rowBytes * static_cast<std::size_t>(strip.endRow - strip.firstRow) / 4 + 1024);
    std::size_t done = 0;
    int result = Z_OK;
    for (int y = strip.firstRow; y < strip.endRow && result == Z_OK; ++y) {
        FilterRow(picture, y, filter, row.data());
        strip.adler = adler32(strip.adler, row.data(), static_cast<uInt>(rowBytes));
        stream.next_in = row.data();
        stream.avail_in = static_cast<uInt>(rowBytes);
        const int flush = y + 1 < strip.endRow ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            if (done == strip.deflated.size()) strip.deflated.resize(strip.deflated.size() * 2);
            stream.next_out = strip.deflated.data() + done;
            stream.avail_out = static_cast<uInt>(strip.deflated.size() - done);
            result = deflate(&stream, flush);
            // Z_BUF_ERROR only says that no progress was possible (nothing
            // was pending for the room just added); it is not fatal.
            if (result == Z_BUF_ERROR) result = Z_OK;
            done = strip.deflated.size() - stream.avail_out;
            // Room left over means that the row is taken and, for a flush,
            // that everything pending is out.
            if (result != Z_OK || stream.avail_out != 0) break;
        }
    }
    strip.failed = last ? result != Z_STREAM_END : result != Z_OK;
    strip.deflated.resize(done);
}

// Deflates the scanlines of the whole picture into strips; false when zlib failed.
bool DeflateScanlines(const ui::Bitmap& picture, const PngOptions& options, std::vector<PngStrip>& strips) {
    const int threads =
        options.Threads > 0 ? options.Threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    // A few strips per thread, so that a thread that drew an easy strip
    // takes another; no strip shorter than 32 rows.
    const int count = std::clamp(picture.Height() / 32, 1, threads * 3);
    strips.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        PngStrip& strip = strips[static_cast<std::size_t>(i)];
        strip.firstRow = static_cast<int>(static_cast<long long>(picture.Height()) * i / count);
        strip.endRow = static_cast<int>(static_cast<long long>(picture.Height()) * (i + 1) / count);
    }
    std::atomic<int> next{0};
    // Each worker keeps one stream from strip to strip (a fresh stream costs
    // its allocations anew) and takes strips until none is left.
    RunInParallel(std::min(threads, count), threads, [&](int) {
        z_stream stream{};
        // Raw deflate (negative window bits): the one zlib header is written
        // once in front of all the strips. A worker that gets no stream
        // leaves the strips to the others; if none does, they stay undone.
        if (deflateInit2(&stream, options.CompressionLevel, Z_DEFLATED, -15, 8, options.Strategy) != Z_OK) return;
        std::vector<unsigned char> row(1 + 3 * static_cast<std::size_t>(picture.Width()));
        for (int i; (i = next.fetch_add(1)) < count;) {
            PngStrip& strip = strips[static_cast<std::size_t>(i)];
            deflateReset(&stream);
            DeflateStrip(picture, options.Filter, i == count - 1, stream, row, strip);
            strip.done = true;
        }
        deflateEnd(&stream);
    });
    return std::all_of(strips.begin(), strips.end(), [](const PngStrip& strip) { return strip.done && !strip.failed; });
}

// Writes the PNG file around the deflated scanlines with libpng: signature,
// header, one IDAT chunk holding the zlib stream, the end chunk.
bool EncodePng(const ui::Bitmap& picture, const PngOptions& options, const std::vector<PngStrip>* strips,
               ReplacingFile* file, PngError* error) {
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
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(picture.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);

    // The zlib header: deflate with a 32 KB window, the level class, and the
    // check bits that make the two bytes a multiple of 31.
    const int levelClass = options.CompressionLevel <= 1                                   ? 0
                           : options.CompressionLevel <= 5                                 ? 1
                           : options.CompressionLevel == 6 || options.CompressionLevel < 0 ? 2
                                                                                           : 3;
    unsigned char header[2] = {0x78, static_cast<unsigned char>(levelClass << 6)};
    header[1] = static_cast<unsigned char>(header[1] + (31 - (header[0] * 256 + header[1]) % 31) % 31);
    std::size_t length = sizeof(header) + 4;
    unsigned long adler = 1;
    for (const PngStrip& strip : *strips) {
        length += strip.deflated.size();
        const std::size_t stripBytes = (1 + 3 * static_cast<std::size_t>(picture.Width())) *
                                       static_cast<std::size_t>(strip.endRow - strip.firstRow);
        adler = adler32_combine(adler, strip.adler, static_cast<z_off_t>(stripBytes));
    }
    const unsigned char trailer[4] = {static_cast<unsigned char>(adler >> 24), static_cast<unsigned char>(adler >> 16),
                                      static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
    if (length > 0x7FFFFFFF) png_error(png, "the compressed picture is too large for one chunk");
    png_write_chunk_start(png, reinterpret_cast<png_const_bytep>("IDAT"), static_cast<png_uint_32>(length));
    png_write_chunk_data(png, header, sizeof(header));
    for (const PngStrip& strip : *strips)
        png_write_chunk_data(png, strip.deflated.data(), strip.deflated.size());
    png_write_chunk_data(png, trailer, sizeof(trailer));
    png_write_chunk_end(png);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::wstring LibraryFailure(const std::wstring& fullPath, const char* library, const char* message) {
    std::wstring text(message, message + std::char_traits<char>::length(message));
    std::wstring name(library, library + std::char_traits<char>::length(library));
    return ui::FormatMessageText(L"Cannot create file \"%s\". %s", {fullPath, name + L": " + text});
}

template <typename Row> std::vector<Row> RowPointers(const ui::Bitmap& picture) {
    std::vector<Row> rows(static_cast<std::size_t>(picture.Height()));
    for (int y = 0; y < picture.Height(); ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<Row>(picture.Row(y));
    return rows;
}

} // namespace

void WriteJpeg(const ui::Bitmap& picture, const std::wstring& path, const JpegOptions& options) {
    ReplacingFile file(path);
    WriteJpeg(picture, file, options);
}

void WriteJpeg(const ui::Bitmap& picture, ReplacingFile& file, const JpegOptions& options) {
    if (!picture.Empty()) {
        // Drawing through the canvas may still be queued in GDI.
        GdiFlush();
        auto error = std::make_unique<JpegError>();
        auto dest = std::make_unique<JpegDestination>();
        dest->file = &file;
        std::vector<JSAMPROW> rows = RowPointers<JSAMPROW>(picture);
        if (!EncodeJpeg(picture, options, dest.get(), error.get(), rows.data()))
            throw ui::Error(LibraryFailure(file.FullPath(), "JPEG", error->message));
    } else {
        // A JPEG picture has at least one pixel: an empty one cannot be encoded.
        throw ui::Error(LibraryFailure(file.FullPath(), "JPEG", "the picture is empty"));
    }
    file.Commit();
}

void WritePng(const ui::Bitmap& picture, const std::wstring& path, const PngOptions& options) {
    ReplacingFile file(path);
    WritePng(picture, file, options);
}

void WritePng(const ui::Bitmap& picture, ReplacingFile& file, const PngOptions& options) {
    if (picture.Empty()) throw ui::Error(LibraryFailure(file.FullPath(), "PNG", "the picture is empty"));
    GdiFlush();
    std::vector<PngStrip> strips;
    if (!DeflateScanlines(picture, options, strips))
        throw ui::Error(LibraryFailure(file.FullPath(), "PNG", "zlib failed to compress the picture"));
    auto error = std::make_unique<PngError>();
    if (!EncodePng(picture, options, &strips, &file, error.get()))
        throw ui::Error(LibraryFailure(file.FullPath(), "PNG", error->message));
    file.Commit();
}

void WriteBmp(const ui::Bitmap& picture, const std::wstring& path) {
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

void WritePictureFile(const ui::Bitmap& picture, const std::wstring& path) {
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

} // namespace imaging
