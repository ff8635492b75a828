#pragma once

#include <random>
#include <string>

#include "common/Constants.h"

namespace stackmason {
namespace bench {

// The text of a building file whose cells are a seeded random mix of codes 0 to 80, as a
// builder's work with a pack of about 80 blocks would give them. The same seed gives the same
// bytes, so every benchmark program works on the same building.
inline std::string BuildingText(int width, int length, int height, const std::string& packName,
                                unsigned seed = 1) {
    std::string out = std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) + ";" +
                      packName + "\r\n------\r\n";
    out.reserve(out.size() + static_cast<std::size_t>(height) *
                                 (12 + static_cast<std::size_t>(length) * (static_cast<std::size_t>(width) + 2)));
    std::mt19937 random(seed);
    for (int h = 1; h <= height; ++h) {
        out += "layer " + std::to_string(h) + "\r\n";
        for (int y = 1; y <= length; ++y) {
            for (int x = 1; x <= width; ++x)
                out += static_cast<char>(kCellByteOffset + static_cast<int>(random() % 81));
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

// The largest building there can be, 512 x 512 x 256.
inline std::string LargestBuildingText(const std::string& packName) {
    return BuildingText(kMaxGridWidth, kMaxGridLength, kMaxGridHeight, packName);
}

}  // namespace bench
}  // namespace stackmason
