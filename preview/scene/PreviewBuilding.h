#pragma once

#include <string>

#include "common/Building.h"

namespace orbitscope {

// What the preview file says: the pack name and the building, whose sizes X, Y, H never
// exceed the largest building. A file that cannot be read gives an empty building with sizes
// 0 and no pack name.
struct PreviewBuilding {
    std::string packName;
    stackmason::Building grid;
};

PreviewBuilding ReadPreviewFile(const std::string& path);

}  // namespace orbitscope
