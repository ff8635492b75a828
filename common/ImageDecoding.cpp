#include "common/ImageDecoding.h"

#include <algorithm>
#include <array>

namespace stackmason {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> kJpegSignature{0xFF, 0xD8, 0xFF};

template <std::size_t N>
bool StartsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& signature) {
    return bytes.size() >= N && std::equal(signature.begin(), signature.end(), bytes.begin());
}

}  // namespace

bool SpendPixels(PixelAllowance& allowance, std::uint64_t cost) {
    if (cost > allowance.pixels) {
        allowance.overdrawn = true;
        return false;
    }
    if (allowance.pixels != kUnlimitedPixels)
        allowance.pixels -= cost;
    return true;
}

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, PixelAllowance& allowance) {
    if (StartsWith(bytes, kPngSignature))
        return DecodePng(bytes, allowance);
    if (StartsWith(bytes, kJpegSignature))
        return DecodeJpeg(bytes, allowance);
    return std::nullopt;
}

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, std::uint64_t& pixelAllowance) {
    PixelAllowance allowance{pixelAllowance};
    std::optional<Image> image = DecodeImage(bytes, allowance);
    pixelAllowance = allowance.pixels;
    return image;
}

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes) {
    PixelAllowance unlimited;
    return DecodeImage(bytes, unlimited);
}

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
    PixelAllowance unlimited;
    return DecodePng(bytes, unlimited);
}

}  // namespace stackmason
