#include "tools/packgen/ImageEncoding.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace packgen {
namespace {

bool IsOpaque(const stackmason::Image& image) {
    return std::all_of(image.Pixels().begin(), image.Pixels().end(), [](stackmason::Rgba p) { return p.a == 255; });
}

std::vector<std::uint8_t> RgbRows(const stackmason::Image& image) {
    std::vector<std::uint8_t> rows;
    rows.reserve(image.Pixels().size() * 3);
    for (const stackmason::Rgba& p : image.Pixels())
        rows.insert(rows.end(), {p.r, p.g, p.b});
    return rows;
}

// libjpeg reports errors by calling error_exit, which must not return.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const stackmason::Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    const bool opaque = IsOpaque(image);
    png.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    const std::vector<std::uint8_t> rgb = opaque ? RgbRows(image) : std::vector<std::uint8_t>{};
    const void* pixels = opaque ? static_cast<const void*>(rgb.data()) : static_cast<const void*>(image.Pixels().data());
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixels, 0, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, pixels, 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

std::vector<std::uint8_t> EncodeJpeg(const stackmason::Image& image, int quality) {
    jpeg_compress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const std::vector<std::uint8_t> rgb = RgbRows(image);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(image.Width()) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace packgen
