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
    // Freed on every way out, also when the pixel memory cannot be had.
    struct Freer {
        png_image& image;
        ~Freer() { png_image_free(&image); }
    } freer{png};
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide || png.height > kMaxImageSide)
        return std::nullopt;
    png.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.Pixels().data(), 0, nullptr))
        return std::nullopt;
    return image;
}

}  // namespace stackmason
