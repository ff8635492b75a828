#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/Image.h"

namespace stackmason {

// Decodes a PNG or JPEG picture, chosen by the content's signature (never by a file name).
// Gives nothing for data that does not decode, for other formats and for pictures larger
// than kMaxImageSide on a side; no pixel memory is taken for those.
std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes);

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace stackmason
