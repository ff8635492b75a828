#pragma once

#include <string>

#include "common/BlockGrid.h"

namespace orbitscope {

// What the preview file says: the sizes X, Y, H (those of the grid, which never exceed the
// largest building), the pack name and the cells. A file that cannot be read gives an empty
// building with sizes 0 and no pack name.
struct PreviewBuilding {
    int width = 0;
    int length = 0;
    int height = 0;
    std::string packName;
    stackmason::BlockGrid grid;
};

PreviewBuilding ReadPreviewFile(const std::string& path);

}  // namespace orbitscope
