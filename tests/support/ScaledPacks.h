#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Image.h"

namespace stackmason::test {

// A texture pack made from another by scaling every picture up to `height` pixels high, each
// pixel becoming a square block of height / (its picture's height) pixels a side; six-face
// strips stay strips. Every picture is stored as a PNG under its old name, in the old order.
struct ScaledPack {
    std::vector<std::uint8_t> archive;
    // Entry by entry, the picture as scaled; nothing for an entry that is no picture.
    std::vector<std::optional<Image>> pictures;
};

// Each picture's height must divide `height`.
ScaledPack ScaleUpPack(const std::string& sourcePath, int height);

// Source scaled up by a whole factor: every pixel repeated factor x factor times.
Image RepeatPixels(const Image& source, int factor);

}  // namespace stackmason::test
