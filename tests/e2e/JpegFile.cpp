#include "tests/e2e/JpegFile.h"

#include <cstdio>
#include <csetjmp>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace e2e {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

} // namespace

std::optional<JpegSize> DecodeJpegFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.empty()) return std::nullopt;
    jpeg_decompress_struct decoder{};
    ErrorManager errors{};
    decoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    // A warning (a truncated file, say) counts as a failure too.
    errors.base.emit_message = [](j_common_ptr info, int level) {
        if (level < 0) OnError(info);
    };
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&decoder);
        return std::nullopt;
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    std::vector<unsigned char> row(static_cast<size_t>(decoder.output_width) * decoder.output_components);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&decoder, rows, 1);
    }
    const JpegSize size{static_cast<int>(decoder.output_width), static_cast<int>(decoder.output_height)};
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return size;
}

} // namespace e2e
