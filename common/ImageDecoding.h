#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>

#include "common/Image.h"

namespace stackmason {

// Decodes a PNG or JPEG picture, chosen by the content's signature (never by a file name).
// Gives nothing for data that does not decode, for other formats and for pictures larger
// than kMaxImageSide on a side; no pixel memory is taken for those.
//
// Decoding costs time in proportion to the pixels a picture's header claims, however few
// bytes carry them, so a caller that decodes many pictures from one file gives an allowance:
// a picture that claims more pixels than is left is refused before its pixels are read, and
// any other spends its pixels (four times over for 16 bits a channel) once its header is
// read, whether or not the rest decodes.
inline constexpr std::uint64_t kUnlimitedPixels = std::numeric_limits<std::uint64_t>::max();

// The pixels left to decode, and whether a picture has been refused for want of them, which
// a caller tells apart from bytes that are no picture.
struct PixelAllowance {
    std::uint64_t pixels = kUnlimitedPixels;
    bool overdrawn = false;
};

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, PixelAllowance& allowance);
std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, std::uint64_t& pixelAllowance);
std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes);

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes, PixelAllowance& allowance);
std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes, PixelAllowance& allowance);

// Takes cost pixels from the allowance; false, leaving the pixels as they are and marking the
// allowance overdrawn, when fewer are left.
bool SpendPixels(PixelAllowance& allowance, std::uint64_t cost);

}  // namespace stackmason
