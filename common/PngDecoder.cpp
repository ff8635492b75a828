#include <png.h>

#include "common/Constants.h"
#include "common/ImageDecoding.h"

namespace stackmason {

// libpng's simplified reader: it reports every failure through the image's status instead of
// jumping out, and tells the size before any pixel memory is taken.
std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        return std::nullopt;
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide || png.height > kMaxImageSide) {
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.Pixels().data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    png_image_free(&png);
    return image;
}

}  // namespace stackmason
