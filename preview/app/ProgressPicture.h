#pragma once

#include <string>

#include "common/Image.h"

namespace orbitscope {

// What the progress screen shows while the scene is read and built.
struct ProgressView {
    std::string text;      // e.g. "Building chunks 1,234 / 16,416"
    double fraction = 0.0; // of the bar filled, 0..1; outside values are clamped, NaN is 0
};

// The progress screen as a width x height opaque picture: the preview's background colour,
// a bar across the middle filled from the left by the view's fraction, the view's text
// centred above it, and the program's name smaller above that. The text is drawn smaller
// when it does not fit the width. A size of zero or less gives an empty picture.
stackmason::Image DrawProgressPicture(int width, int height, const ProgressView& view);

}  // namespace orbitscope
