#pragma once

#include <random>
#include <string>

#include "common/Constants.h"

namespace stackmason {
namespace bench {

// The text of a building file of these sizes whose cell (x, y, h) holds code(x, y, h), the
// cells asked for layer by layer, row by row, as the file holds them.
template <typename CellCode>
std::string GeneratedBuildingText(int width, int length, int height, const std::string& packName, CellCode code) {
    std::string out = std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) + ";" +
                      packName + "\r\n------\r\n";
    out.reserve(out.size() + static_cast<std::size_t>(height) *
                                 (12 + static_cast<std::size_t>(length) * (static_cast<std::size_t>(width) + 2)));
    for (int h = 1; h <= height; ++h) {
        out += "layer " + std::to_string(h) + "\r\n";
        for (int y = 1; y <= length; ++y) {
            for (int x = 1; x <= width; ++x)
                out += static_cast<char>(kCellByteOffset + code(x, y, h));
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

// The text of a building file whose cells are a seeded random mix of codes 0 to 80, as a
// builder's work with a pack of about 80 blocks would give them. The same seed gives the same
// bytes, so every benchmark program works on the same building.
inline std::string BuildingText(int width, int length, int height, const std::string& packName,
                                unsigned seed = 1) {
    std::mt19937 random(seed);
    return GeneratedBuildingText(width, length, height, packName,
                                 [&random](int, int, int) { return static_cast<int>(random() % 81); });
}

// The text of a building as builders make them, mostly air: walls round the edge and a floor
// every sixth layer in a few blocks, and a seeded sprinkle of codes 1 to 80 (one cell in 200).
inline std::string MostlyAirBuildingText(int width, int length, int height, const std::string& packName,
                                         unsigned seed = 1) {
    std::mt19937 random(seed);
    return GeneratedBuildingText(width, length, height, packName, [&](int x, int y, int h) {
        if (x == 1 || x == width || y == 1 || y == length)
            return 1 + (x + y + static_cast<int>(seed)) % 3;
        if (h % 6 == 1)
            return 7;
        if (random() % 200 == 0)
            return 1 + static_cast<int>(random() % 80);
        return 0;
    });
}

// The largest building there can be, 512 x 512 x 256.
inline std::string LargestBuildingText(const std::string& packName) {
    return BuildingText(kMaxGridWidth, kMaxGridLength, kMaxGridHeight, packName);
}

}  // namespace bench
}  // namespace stackmason
