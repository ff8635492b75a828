#pragma once

#include <string>

namespace stackmason::testing {

// The text of a building file of 512 x 512 x 100 cells of air on the named pack, about 26 MB:
// more than a load can read when only a few megabytes can be allocated at once.
inline std::string LargeEmptyBuildingText(const std::string& packName) {
    std::string bytes = "512x512x100;" + packName + "\r\n------\r\n";
    const std::string row = std::string(512, '0') + "\r\n";
    for (int h = 1; h <= 100; ++h) {
        bytes += "layer " + std::to_string(h) + "\r\n";
        for (int y = 0; y < 512; ++y)
            bytes += row;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace stackmason::testing
