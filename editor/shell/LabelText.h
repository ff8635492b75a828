#pragma once

#include <string>

#include "common/Image.h"

namespace stackmason {

// The view label's picture in the application's default font: the text in textColour on a
// rectangle of background, opaque.
Image RenderLabelText(const std::string& text, Rgba textColour, Rgba background);

}  // namespace stackmason
