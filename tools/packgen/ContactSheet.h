#pragma once

#include <optional>
#include <string>

#include "common/Image.h"

// A picture of every entry of a texture pack, as read back from the archive, numbered by
// block code and enlarged over a checkerboard, so that one look shows whether each block is
// recognisable and where its see-through parts are.
namespace packgen {

// Nothing when the archive does not open.
std::optional<stackmason::Image> ContactSheet(const std::string& archivePath);

}  // namespace packgen
