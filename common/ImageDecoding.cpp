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

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, kPngSignature))
        return DecodePng(bytes);
    if (StartsWith(bytes, kJpegSignature))
        return DecodeJpeg(bytes);
    return std::nullopt;
}

}  // namespace stackmason
