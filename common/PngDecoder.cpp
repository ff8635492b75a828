#include <png.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "common/Constants.h"
#include "common/ImageDecoding.h"

namespace stackmason {
namespace {

constexpr std::size_t kSignatureBytes = 8;

// libpng's simplified reader inflates every zTXt, iTXt and iCCP chunk that stands before the
// pixels, up to 8 MB each and a thousand of them: gigabytes of work that a picture of a few
// hundred kilobytes can ask for. None of those chunks changes a pixel of the RGBA result, so
// only the chunks that can are passed on.
bool ShapesPixels(const std::uint8_t* type) {
    static constexpr std::array<const char*, 9> kKept{"IHDR", "PLTE", "tRNS", "gAMA", "cHRM",
                                                      "sRGB", "sBIT", "IDAT", "IEND"};
    return std::any_of(kKept.begin(), kKept.end(), [&](const char* kept) { return std::memcmp(type, kept, 4) == 0; });
}

std::uint64_t ReadBe32(const std::uint8_t* bytes) {
    return (std::uint64_t{bytes[0]} << 24) | (std::uint64_t{bytes[1]} << 16) | (std::uint64_t{bytes[2]} << 8) |
           bytes[3];
}

// Walks the chunks up to IEND, after which libpng reads nothing; what does not form a whole
// chunk is passed on as it stands for libpng to judge.
template <typename Visit>
void ForEachChunk(std::span<const std::uint8_t> png, Visit visit) {
    std::size_t at = kSignatureBytes;
    while (png.size() - at >= 12) {
        const std::uint64_t length = 12 + ReadBe32(&png[at]);
        if (length > png.size() - at)
            break;
        visit(png.subspan(at, static_cast<std::size_t>(length)));
        if (std::memcmp(&png[at + 4], "IEND", 4) == 0)
            return;
        at += static_cast<std::size_t>(length);
    }
    if (at < png.size())
        visit(png.subspan(at));
}

bool IsDropped(std::span<const std::uint8_t> chunk) { return chunk.size() >= 12 && !ShapesPixels(&chunk[4]); }

// The picture without the chunks that cannot change its pixels; nothing when it has none.
std::optional<std::vector<std::uint8_t>> WithoutIdleChunks(std::span<const std::uint8_t> png) {
    bool anyDropped = false;
    ForEachChunk(png, [&](std::span<const std::uint8_t> chunk) { anyDropped = anyDropped || IsDropped(chunk); });
    if (!anyDropped)
        return std::nullopt;
    std::vector<std::uint8_t> kept(png.begin(), png.begin() + kSignatureBytes);
    ForEachChunk(png, [&](std::span<const std::uint8_t> chunk) {
        if (!IsDropped(chunk))
            kept.insert(kept.end(), chunk.begin(), chunk.end());
    });
    return kept;
}

// libpng's simplified reader: it reports every failure through the image's status instead of
// jumping out, and tells the size before any pixel memory is taken.
std::optional<Image> DecodeWholePng(std::span<const std::uint8_t> bytes, PixelAllowance& pixelAllowance) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        return std::nullopt;
    // Freed on every way out, also when the pixel memory cannot be had.
    struct Freer {
        png_image& image;
        ~Freer() { png_image_free(&image); }
    } freer{png};
    // Pictures of 16 bits a channel take three to four times as long per pixel: twice the
    // data, and each sample goes through a gamma table on its way to 8 bits.
    const std::uint64_t pixels = std::uint64_t{png.width} * png.height;
    const std::uint64_t cost = (png.format & PNG_FORMAT_FLAG_LINEAR) ? 4 * pixels : pixels;
    if (png.width == 0 || png.height == 0 || png.width > kMaxImageSide || png.height > kMaxImageSide ||
        !SpendPixels(pixelAllowance, cost))
        return std::nullopt;
    png.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, image.Pixels().data(), 0, nullptr))
        return std::nullopt;
    return image;
}

}  // namespace

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes, PixelAllowance& pixelAllowance) {
    if (bytes.size() < kSignatureBytes)
        return std::nullopt;
    if (const std::optional<std::vector<std::uint8_t>> kept = WithoutIdleChunks(bytes))
        return DecodeWholePng(*kept, pixelAllowance);
    return DecodeWholePng(bytes, pixelAllowance);
}

}  // namespace stackmason
