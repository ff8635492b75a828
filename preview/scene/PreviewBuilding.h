#pragma once

#include <string>

#include "common/Building.h"
#include "preview/engine/BuildProgress.h"

namespace orbitscope {

// What the preview file says: the pack name and the building, with the header's sizes as
// they stand as long as the grid holds no more cells than the largest building's (see
// GridAsItStands). A file that cannot be read gives an empty building with sizes 0 and no
// pack name.
struct PreviewBuilding {
    std::string packName;
    stackmason::Building grid;
};

// With progress, the bytes read are counted against the file's size, and a cancel ends the
// reading as the end of the file would.
PreviewBuilding ReadPreviewFile(const std::string& path, BuildProgress* progress = nullptr);

}  // namespace orbitscope
