// The picture writers: what they write is decoded again with the same
// libraries (libjpeg-turbo, libpng, and GDI for BMP) and compared with the
// picture; the JPEG markers are read back; failing writes leave nothing
// behind and never harm the file they were to replace.
#include "tests/support/Files.h"
#include "tests/support/Picture.h"
#include "tests/support/Windows.h"
#include "ui/Error.h"
#include "imaging/ImageWriters.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <zlib.h>

using support::Narrow;
using support::ReadFileBytes;
using support::TempFolder;
using support::WriteFileBytes;

namespace {

// A picture with text-like detail, flat areas and noise, of an odd width so
// that the rows of a 24-bit DIB carry padding.
ui::Bitmap DetailedPicture(int bitsPerPixel) {
    ui::Bitmap picture(101, 67, bitsPerPixel);
    std::uint32_t seed = 12345;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            std::uint32_t rgb;
            if (x < 30)
                rgb = 0x3366CC; // flat
            else if (x < 60)
                rgb = ((x + y) % 3 == 0) ? 0 : 0xFFFFFF; // sharp detail
            else
                rgb = seed >> 8; // noise
            picture.SetPixel(x, y, rgb);
        }
    return picture;
}

// Smooth colour gradients: what a JPEG keeps almost exactly.
ui::Bitmap SmoothPicture(int bitsPerPixel) {
    ui::Bitmap picture(97, 61, bitsPerPixel);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y,
                             (std::uint32_t(40 + x * 2) << 16) | (std::uint32_t(30 + y * 3) << 8) |
                                 std::uint32_t(200 - x - y));
    return picture;
}

using Decoded = support::Picture;

Decoded DecodeJpeg(const std::string& bytes) { return support::DecodeJpeg(bytes).value_or(support::DecodedJpeg{}); }

void ExpectSamePixels(const ui::Bitmap& picture, const std::optional<Decoded>& file) {
    ASSERT_TRUE(file) << "the file does not decode";
    const Decoded& decoded = *file;
    ASSERT_EQ(decoded.Size(), std::pair(picture.Width(), picture.Height()));
    int differing = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (decoded.At(x, y) != picture.Pixel(x, y) && ++differing <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << std::hex << decoded.At(x, y) << " instead of "
                              << picture.Pixel(x, y);
    EXPECT_EQ(differing, 0);
}

// The largest and the mean difference of any colour channel.
std::pair<int, double> ChannelError(const ui::Bitmap& picture, const Decoded& decoded) {
    int worst = 0;
    double sum = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>((picture.Pixel(x, y) >> shift) & 0xFF);
                const int b = static_cast<int>((decoded.At(x, y) >> shift) & 0xFF);
                worst = std::max(worst, std::abs(a - b));
                sum += std::abs(a - b);
            }
    return {worst, sum / (3.0 * picture.Width() * picture.Height())};
}

// The segments of a JPEG file up to the start of the scan: marker and body.
std::vector<std::pair<int, std::string>> JpegSegments(const std::string& bytes) {
    std::vector<std::pair<int, std::string>> segments;
    if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xD8)
        return segments;
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) break;
        const int marker = static_cast<unsigned char>(bytes[at + 1]);
        const size_t length = (static_cast<size_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
                              static_cast<unsigned char>(bytes[at + 3]);
        segments.emplace_back(marker, bytes.substr(at + 4, length - 2));
        if (marker == 0xDA) break; // start of scan: entropy-coded data follows
        at += 2 + length;
    }
    return segments;
}

// The quantisation tables of a JPEG file by table number, in zig-zag order.
std::vector<std::vector<int>> QuantTables(const std::vector<std::pair<int, std::string>>& segments) {
    std::vector<std::vector<int>> tables(4);
    for (const auto& [marker, body] : segments) {
        if (marker != 0xDB) continue;
        for (size_t at = 0; at + 65 <= body.size(); at += 65) {
            const int precisionAndId = static_cast<unsigned char>(body[at]);
            EXPECT_EQ(precisionAndId >> 4, 0) << "baseline tables have 8-bit entries";
            for (int i = 0; i < 64; ++i)
                tables[precisionAndId & 3].push_back(static_cast<unsigned char>(body[at + 1 + i]));
        }
    }
    return tables;
}

struct FrameHeader {
    int marker = 0;
    int precision = 0;
    int width = 0;
    int height = 0;
    std::vector<int> sampling; // per component, 0xHV
};

FrameHeader ReadFrameHeader(const std::vector<std::pair<int, std::string>>& segments) {
    FrameHeader frame;
    for (const auto& [marker, body] : segments) {
        if (marker < 0xC0 || marker > 0xCF || marker == 0xC4 || marker == 0xC8 || marker == 0xCC) continue;
        auto byte = [&](size_t i) { return static_cast<int>(static_cast<unsigned char>(body[i])); };
        frame.marker = marker;
        frame.precision = byte(0);
        frame.height = (byte(1) << 8) | byte(2);
        frame.width = (byte(3) << 8) | byte(4);
        for (int c = 0; c < byte(5); ++c)
            frame.sampling.push_back(byte(6 + c * 3 + 1));
    }
    return frame;
}

std::wstring CannotCreate(const std::wstring& path, DWORD code) {
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return L"Cannot create file \"" + std::wstring(full) + L"\". " + ui::SystemErrorText(code);
}

// The message of the ui::Error that writing throws, or "" when it succeeds.
std::wstring FailureOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const ui::Error& error) {
        return error.Message();
    }
    return L"";
}

struct Writer {
    const char* name;
    const wchar_t* extension;
    std::function<void(const ui::Bitmap&, const std::wstring&)> write;
};

const std::vector<Writer>& AllWriters() {
    static const std::vector<Writer> writers{
        {"JPEG", L".jpg",
         [](const ui::Bitmap& p, const std::wstring& f) { imaging::WriteJpeg(p, f, imaging::kSaveJpeg); }},
        {"PNG", L".png", [](const ui::Bitmap& p, const std::wstring& f) { imaging::WritePng(p, f); }},
        {"BMP", L".bmp", [](const ui::Bitmap& p, const std::wstring& f) { imaging::WriteBmp(p, f); }},
    };
    return writers;
}

// The concatenated data of a PNG file's IDAT chunks: one zlib stream.
std::string IdatStream(const std::string& png) {
    std::string stream;
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t length = (static_cast<size_t>(static_cast<unsigned char>(png[at])) << 24) |
                              (static_cast<size_t>(static_cast<unsigned char>(png[at + 1])) << 16) |
                              (static_cast<size_t>(static_cast<unsigned char>(png[at + 2])) << 8) |
                              static_cast<unsigned char>(png[at + 3]);
        if (png.compare(at + 4, 4, "IDAT") == 0) stream += png.substr(at + 8, length);
        at += 12 + length;
    }
    return stream;
}

// Inflates a whole zlib stream as zlib checks it (header, blocks, Adler-32);
// the number of bytes it holds, or -1 when the stream is not valid or has
// data after its end.
long long InflatedSize(const std::string& stream) {
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) return -1;
    inflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    inflater.avail_in = static_cast<uInt>(stream.size());
    std::vector<unsigned char> out(1 << 16);
    int result = Z_OK;
    while (result == Z_OK) {
        inflater.next_out = out.data();
        inflater.avail_out = static_cast<uInt>(out.size());
        result = inflate(&inflater, Z_NO_FLUSH);
    }
    const long long size = result == Z_STREAM_END && inflater.avail_in == 0 ? inflater.total_out : -1;
    inflateEnd(&inflater);
    return size;
}

} // namespace

TEST(PngWriter, WritesEightBitRgbThatDecodesToTheSamePixels) {
    TempFolder folder;
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        const ui::Bitmap picture = DetailedPicture(depth);
        const std::wstring path = folder.File(L"shot" + std::to_wstring(depth) + L".png");
        imaging::WritePng(picture, path);
        const std::string bytes = ReadFileBytes(path);
        ASSERT_GT(bytes.size(), 33u);
        EXPECT_EQ(bytes.substr(1, 3), "PNG");
        EXPECT_EQ(bytes.substr(12, 4), "IHDR");
        EXPECT_EQ(bytes[24], 8) << "bit depth";
        EXPECT_EQ(bytes[25], 2) << "colour type RGB, no alpha";
        EXPECT_EQ(bytes[28], 0) << "not interlaced";
        ExpectSamePixels(picture, support::DecodePngFile(path));
    }
}

TEST(PngWriter, StripsCompressedOnSeveralThreadsMakeOneValidStreamOfTheExactPixels) {
    // Tall enough for many strips; an odd width, so that 24-bit rows carry
    // padding; every filter and thread count, with flat runs, sharp detail
    // and noise crossing the strip boundaries.
    TempFolder folder;
    for (int depth : {24, 32}) {
        ui::Bitmap picture(203, 611, depth);
        std::uint32_t seed = 99;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                picture.SetPixel(x, y, x < 70 ? 0x3366CCu : x < 140 ? ((x * y) % 7 ? 0xFFFFFFu : 0) : seed >> 8);
            }
        for (int filter : {0, 1, 2})
            for (int threads : {1, 2, 3}) {
                SCOPED_TRACE(std::to_string(depth) + "-bit, filter " + std::to_string(filter) + ", " +
                             std::to_string(threads) + " threads");
                const std::wstring path = folder.File(L"strips.png");
                imaging::WritePng(picture, path, {.Filter = filter, .Threads = threads});
                const std::string bytes = ReadFileBytes(path);
                EXPECT_EQ(InflatedSize(IdatStream(bytes)), 611LL * (1 + 3 * 203)) << "one zlib stream of all rows";
                ExpectSamePixels(picture, support::DecodePngFile(path));
            }
    }
}

TEST(BmpWriter, WritesA24BitWindowsBitmapThatDecodesToTheSamePixels) {
    TempFolder folder;
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        const ui::Bitmap picture = DetailedPicture(depth);
        const std::wstring path = folder.File(L"shot" + std::to_wstring(depth) + L".bmp");
        imaging::WriteBmp(picture, path);
        const std::string bytes = ReadFileBytes(path);
        const int stride = ((picture.Width() * 3 + 3) / 4) * 4;
        ASSERT_EQ(bytes.size(), 54u + static_cast<size_t>(stride) * picture.Height());
        BITMAPFILEHEADER file;
        BITMAPINFOHEADER info;
        memcpy(&file, bytes.data(), sizeof(file));
        memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
        EXPECT_EQ(file.bfType, 0x4D42);
        EXPECT_EQ(file.bfSize, bytes.size());
        EXPECT_EQ(file.bfOffBits, 54u);
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(info.biWidth, picture.Width());
        EXPECT_EQ(info.biHeight, picture.Height());
        ExpectSamePixels(picture, support::DecodeBmpFile(path));
    }
}

TEST(JpegWriter, RealTimeSettingsGiveBaselineQuality100With420Subsampling) {
    TempFolder folder;
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        const ui::Bitmap picture = SmoothPicture(depth);
        const std::wstring path = folder.File(L"real" + std::to_wstring(depth) + L".jpg");
        imaging::WriteJpeg(picture, path, imaging::kRealTimeJpeg);
        const std::string bytes = ReadFileBytes(path);
        const auto segments = JpegSegments(bytes);
        ASSERT_FALSE(segments.empty());
        EXPECT_EQ(segments.front().first, 0xE0) << "JFIF header first, as libjpeg writes by default";

        const FrameHeader frame = ReadFrameHeader(segments);
        EXPECT_EQ(frame.marker, 0xC0) << "SOF0: baseline sequential, not progressive or arithmetic";
        EXPECT_EQ(frame.precision, 8);
        EXPECT_EQ(frame.width, picture.Width());
        EXPECT_EQ(frame.height, picture.Height());
        EXPECT_EQ(frame.sampling, (std::vector<int>{0x22, 0x11, 0x11})) << "three components, libjpeg's 4:2:0";

        // Quality 100 scales the standard tables to nothing: every entry is 1.
        const auto tables = QuantTables(segments);
        for (int t : {0, 1})
            EXPECT_EQ(tables[t], std::vector<int>(64, 1)) << "table " << t;

        const Decoded decoded = DecodeJpeg(bytes);
        ASSERT_EQ(decoded.Size(), std::pair(picture.Width(), picture.Height()));
        const auto [worst, mean] = ChannelError(picture, decoded);
        EXPECT_LE(worst, 4);
        EXPECT_LE(mean, 1.0);
    }
}

TEST(JpegWriter, SaveSettingsGiveQuality95WithoutChromaSubsampling) {
    TempFolder folder;
    const ui::Bitmap picture = SmoothPicture(24);
    const std::wstring path = folder.File(L"save.jpg");
    imaging::WriteJpeg(picture, path, imaging::kSaveJpeg);
    const std::string bytes = ReadFileBytes(path);
    const auto segments = JpegSegments(bytes);
    const FrameHeader frame = ReadFrameHeader(segments);
    EXPECT_EQ(frame.marker, 0xC0);
    EXPECT_EQ(frame.sampling, (std::vector<int>{0x11, 0x11, 0x11})) << "4:4:4";

    // The standard luminance table (ITU T.81 K.1) in zig-zag order, scaled to
    // quality 95 as libjpeg does: (q * 10 + 50) / 100, at least 1.
    const int luminance[64] = {16, 11, 12,  14,  12,  10, 16, 14,  13,  14,  18,  17,  16, 19,  24,  40,
                               26, 24, 22,  22,  24,  49, 35, 37,  29,  40,  58,  51,  61, 60,  57,  51,
                               56, 55, 64,  72,  92,  78, 64, 68,  87,  69,  55,  56,  80, 109, 81,  87,
                               95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};
    std::vector<int> expected;
    for (int q : luminance)
        expected.push_back(std::max(1, (q * 10 + 50) / 100));
    EXPECT_EQ(QuantTables(segments)[0], expected);

    const Decoded decoded = DecodeJpeg(bytes);
    ASSERT_EQ(decoded.width, picture.Width());
    const auto [worst, mean] = ChannelError(picture, decoded);
    EXPECT_LE(worst, 6);
    EXPECT_LE(mean, 1.5);
}

TEST(JpegWriter, KeepsSharpColouredTextCloserWithoutSubsampling) {
    // Red strokes on white, one pixel wide: 4:2:0 smears them into their
    // neighbours, 4:4:4 keeps them; this is why Save turns subsampling off.
    ui::Bitmap picture(64, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.SetPixel(x, y, (x % 4 == 1) ? 0xFF0000 : 0xFFFFFF);
    TempFolder folder;
    imaging::WriteJpeg(picture, folder.File(L"a.jpg"), {.Quality = 95, .ChromaSubsampling = true});
    imaging::WriteJpeg(picture, folder.File(L"b.jpg"), {.Quality = 95, .ChromaSubsampling = false});
    const double subsampled = ChannelError(picture, DecodeJpeg(ReadFileBytes(folder.File(L"a.jpg")))).second;
    const double full = ChannelError(picture, DecodeJpeg(ReadFileBytes(folder.File(L"b.jpg")))).second;
    EXPECT_LT(full * 3, subsampled);
}

TEST(PictureFile, TheExtensionChoosesTheFormat) {
    TempFolder folder;
    const ui::Bitmap picture = DetailedPicture(24);
    imaging::WritePictureFile(picture, folder.File(L"a.JPG"));
    imaging::WritePictureFile(picture, folder.File(L"b.png"));
    imaging::WritePictureFile(picture, folder.File(L"c.gif"));
    EXPECT_EQ(ReadFileBytes(folder.File(L"a.JPG")).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(ReadFileBytes(folder.File(L"b.png")).substr(0, 4), "\x89PNG");
    EXPECT_EQ(ReadFileBytes(folder.File(L"c.gif")).substr(0, 2), "BM");
}

TEST(PictureWriters, ReplaceAnExistingFileAndLeaveNoTemporaryFile) {
    TempFolder folder;
    const ui::Bitmap picture = DetailedPicture(24);
    for (const Writer& writer : AllWriters()) {
        SCOPED_TRACE(writer.name);
        const std::wstring path = folder.File(std::wstring(L"old") + writer.extension);
        WriteFileBytes(path, "old content");
        writer.write(picture, path);
        EXPECT_GT(ReadFileBytes(path).size(), 100u);
    }
    EXPECT_EQ(support::ListFiles(folder.Path()).size(), AllWriters().size());
}

TEST(PictureWriters, AMissingFolderGivesTheFileLayersMessageAndNoFile) {
    TempFolder folder;
    const ui::Bitmap picture = DetailedPicture(24);
    for (const Writer& writer : AllWriters()) {
        SCOPED_TRACE(writer.name);
        const std::wstring path = folder.File(std::wstring(L"missing\\shot") + writer.extension);
        EXPECT_EQ(Narrow(FailureOf([&] { writer.write(picture, path); })),
                  Narrow(CannotCreate(path, ERROR_PATH_NOT_FOUND)));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "neither the folder nor a file was made";
}

TEST(PictureWriters, ATargetThatCannotBeReplacedKeepsTheOldFileIntact) {
    TempFolder folder;
    const ui::Bitmap picture = DetailedPicture(24);
    for (const Writer& writer : AllWriters()) {
        SCOPED_TRACE(writer.name);
        const std::wstring ext = writer.extension;

        // A read-only file: refused even where the account could write through it.
        const std::wstring readOnly = folder.File(L"readonly" + ext);
        WriteFileBytes(readOnly, "old content");
        SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(Narrow(FailureOf([&] { writer.write(picture, readOnly); })),
                  Narrow(CannotCreate(readOnly, ERROR_ACCESS_DENIED)));
        EXPECT_EQ(ReadFileBytes(readOnly), "old content");

        // A file that another program holds open without sharing.
        const std::wstring busy = folder.File(L"busy" + ext);
        WriteFileBytes(busy, "old content");
        {
            ui::UniqueKernelHandle holder(
                CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_NE(holder.Get(), INVALID_HANDLE_VALUE);
            const std::wstring message = FailureOf([&] { writer.write(picture, busy); });
            EXPECT_EQ(message.rfind(L"Cannot create file \"" + busy + L"\". ", 0), 0u) << Narrow(message);
            EXPECT_GT(message.size(), busy.size() + 24) << "the system's reason follows";
        }
        EXPECT_EQ(ReadFileBytes(busy), "old content");

        // A folder where the file should go.
        const std::wstring directory = folder.File(L"directory" + ext);
        std::filesystem::create_directory(directory);
        EXPECT_EQ(Narrow(FailureOf([&] { writer.write(picture, directory); })),
                  Narrow(CannotCreate(directory, ERROR_ACCESS_DENIED)));
        EXPECT_TRUE(std::filesystem::is_directory(directory));
    }
    EXPECT_EQ(support::ListFiles(folder.Path()).size(), 2 * AllWriters().size()) << "no temporary file is left";
}
