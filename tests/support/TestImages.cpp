#include "tests/support/TestImages.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace stackmason::test {

Image CoordinateImage(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, Rgba{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7, 255});
    return image;
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, image.Pixels().data(), 0, nullptr);
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.Pixels().data(), 0, nullptr))
        std::abort();
    bytes.resize(size);
    return bytes;
}

namespace {

// The picture's colours as a JPEG; choose sets the encoder's parameters over its defaults.
std::vector<std::uint8_t> CompressJpeg(const Image& image, void (*choose)(jpeg_compress_struct&)) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    choose(info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.Width(); ++x) {
            const Rgba pixel = image.Pixel(x, y);
            row[x * 3 + 0] = pixel.r;
            row[x * 3 + 1] = pixel.g;
            row[x * 3 + 2] = pixel.b;
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const Image& image) {
    return CompressJpeg(image, [](jpeg_compress_struct& info) { jpeg_set_quality(&info, 95, TRUE); });
}

std::vector<std::uint8_t> EncodeProgressiveJpeg(const Image& image) {
    return CompressJpeg(image, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); });
}

}  // namespace stackmason::test
