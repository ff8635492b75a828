#pragma once

#include "common/Image.h"

namespace stackmason {

// The air block's picture: 16 x 16 of #0669B2 with a border of #055590 and corners of
// #044677, doubled to 32 x 32.
Image AirImage();

// Solid #A74545 with a dark cross, 32 x 32: stands for a pack entry that holds no picture
// and for a code that has no entry in the loaded pack, so that such cells stay visible.
Image PlaceholderImage();

}  // namespace stackmason
