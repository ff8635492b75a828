#include <csetjmp>
#include <cstdio>
#include <utility>
#include <vector>

#include <jpeglib.h>

#include "common/Constants.h"
#include "common/ImageDecoding.h"

namespace stackmason {
namespace {

// Enough for the coefficients of a progressive 4096 x 4096 colour picture, far beyond any
// block texture; baseline pictures need only a few rows at a time.
constexpr long kMaxJpegWorkBytes = 128l * 1024 * 1024;

// Every scan of a progressive picture passes over all of its coefficients, and a scan can be
// repeated at a cost of a few dozen bytes: a small file could ask for thousands of passes.
// Encoders write ten or twenty; more than this is refused.
constexpr int kMaxJpegScans = 64;

// libjpeg reports errors through error_exit, which must not return: jump back to the decoder.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Called by the library as it reads; its scan count is up to date when a scan starts.
void StopAfterTooManyScans(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans)
        JumpOnError(info);
}

// Everything that owns memory lives outside the setjmp frame, so a jump leaks nothing.
struct JpegDecodeState {
    jpeg_decompress_struct info{};
    JumpingErrorManager errors{};
    jpeg_progress_mgr progress{};
    std::vector<std::uint8_t> row;
    Image image;
    ~JpegDecodeState() { jpeg_destroy_decompress(&info); }
};

bool DecodeInto(JpegDecodeState& state, std::span<const std::uint8_t> bytes, PixelAllowance& pixelAllowance) {
    jpeg_decompress_struct& info = state.info;
    if (setjmp(state.errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxImageSide ||
        info.image_height > kMaxImageSide ||
        !SpendPixels(pixelAllowance, std::uint64_t{info.image_width} * info.image_height))
        return false;
    info.out_color_space = JCS_RGB;
    // A progressive picture keeps every coefficient of the whole image until its last scan:
    // 2 bytes per pixel and component, which a header naming 8192 x 8192 pixels and several
    // components would make gigabytes. The library refuses what goes beyond this.
    info.mem->max_memory_to_use = kMaxJpegWorkBytes;
    state.progress.progress_monitor = StopAfterTooManyScans;
    info.progress = &state.progress;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        return false;
    const int width = static_cast<int>(info.output_width);
    state.image = Image(width, static_cast<int>(info.output_height));
    state.row.resize(static_cast<std::size_t>(width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rowPointer = state.row.data();
        jpeg_read_scanlines(&info, &rowPointer, 1);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* rgb = &state.row[static_cast<std::size_t>(x) * 3];
            state.image.SetPixel(x, y, Rgba{rgb[0], rgb[1], rgb[2], 255});
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes, PixelAllowance& pixelAllowance) {
    JpegDecodeState state;
    state.info.err = jpeg_std_error(&state.errors.base);
    state.errors.base.error_exit = JumpOnError;
    state.errors.base.output_message = IgnoreMessage;
    if (!DecodeInto(state, bytes, pixelAllowance))
        return std::nullopt;
    return std::move(state.image);
}

}  // namespace stackmason
