#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Image.h"

namespace orbitscope {

// A fixed bitmap font of Orbitscope's own for the screens it shows before the scene is
// ready: every printable ASCII character (32..126) as 5 x 7 cells in a 6 x 9 advance, each
// cell drawn as scale x scale pixels. Any other character (a control character, or one
// UTF-8 sequence of a non-ASCII character) draws as a hollow box of one advance.
// A text occupies the box [x, x + width) x [y, y + height) of these two functions.
int PixelTextWidth(std::string_view text, int scale);   // in pixels
int PixelTextHeight(int scale);                          // one line, in pixels

// Draws text with its top-left corner at (x, y); pixels outside the image are left out.
// Only the glyphs' cells are drawn: the picture between them stays as it is.
void DrawPixelText(stackmason::Image& image, int x, int y, std::string_view text, int scale,
                   stackmason::Rgba colour);

// The number with its digits grouped by three: 1234 -> "1,234", -16416 -> "-16,416".
std::string GroupedNumber(std::int64_t n);

}  // namespace orbitscope
