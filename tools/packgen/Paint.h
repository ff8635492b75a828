#pragma once

#include <cstdint>

#include "common/Image.h"

// Small drawing helpers the block painters are built from. Every helper clips to the image.
namespace packgen {

using stackmason::Image;
using stackmason::Rgba;

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

inline Rect Whole(const Image& image) { return {0, 0, image.Width(), image.Height()}; }

// An opaque colour from 0xRRGGBB.
constexpr Rgba Rgb(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8), static_cast<std::uint8_t>(hex), 255};
}
Rgba WithAlpha(Rgba colour, int alpha);
// The colour with delta added to red, green and blue (negative darkens), clamped.
Rgba Lighten(Rgba colour, int delta);
// a blended towards b by t in [0, 1]; alpha is blended too.
Rgba Mix(Rgba a, Rgba b, double t);

void Put(Image& image, int x, int y, Rgba colour);
void Fill(Image& image, Rect r, Rgba colour);
void HLine(Image& image, int x, int y, int length, Rgba colour);
void VLine(Image& image, int x, int y, int length, Rgba colour);
// A rectangle outline thickness pixels wide, inside r.
void Frame(Image& image, Rect r, int thickness, Rgba colour);
// Raised edges: the top and left rows lightened by light, the bottom and right darkened by dark.
void Bevel(Image& image, Rect r, int light, int dark);
// Adds delta to the brightness of every pixel of r.
void Shade(Image& image, Rect r, int delta);
// Every pixel of r blended towards colour by t.
void Tint(Image& image, Rect r, Rgba colour, double t);
// A filled disc centred at (cx, cy) with radius r (in pixels, centres of pixels count).
void Disc(Image& image, double cx, double cy, double radius, Rgba colour);

// Per-pixel brightness jitter of up to +-amplitude around base.
void Grain(Image& image, Rect r, Rgba base, int amplitude, std::uint32_t seed);
// Soft blotches blending a and b by tileable smooth noise of cells x cells.
void Clouds(Image& image, Rect r, Rgba a, Rgba b, int cells, std::uint32_t seed);
// Adds +-amplitude of brightness jitter to what is already there.
void Jitter(Image& image, Rect r, int amplitude, std::uint32_t seed);
// Single pixels of colour at the given density (0..1).
void Speckle(Image& image, Rect r, Rgba colour, double density, std::uint32_t seed);
// count small blobs of colour (ore flecks), each 2 to 4 pixels with one lighter pixel.
void Flecks(Image& image, Rect r, Rgba colour, int count, std::uint32_t seed);
// Rounded stones: the rectangle split into count cells around random points; each cell gets
// a shade of stone with lit top-left edges, the gaps between cells get mortar.
void Cobbles(Image& image, Rect r, Rgba stone, Rgba mortar, int count, int variation, std::uint32_t seed);
// Courses of bricks brickW x brickH (mortar included), every other course offset by half.
void Bricks(Image& image, Rect r, int brickW, int brickH, Rgba brick, Rgba mortar, std::uint32_t seed);
// Horizontal boards boardH high with dark seams, staggered end joints and wood grain.
void Boards(Image& image, Rect r, int boardH, Rgba wood, std::uint32_t seed);
// Vertical bark: streaks of dark and light along the whole height.
void Bark(Image& image, Rect r, Rgba bark, Rgba streak, std::uint32_t seed);
// A cut log end: growth rings of light and dark wood around the centre, bark round the edge.
void Rings(Image& image, Rect r, Rgba light, Rgba dark, Rgba bark, std::uint32_t seed);
// A soft knitted texture: rows of V-shaped stitches in colour.
void Knit(Image& image, Rect r, Rgba colour, std::uint32_t seed);
// Punches alpha-0 holes into r at the given density, in clumps.
void Holes(Image& image, Rect r, double density, std::uint32_t seed);
// Sets the alpha of every pixel of r.
void SetAlpha(Image& image, Rect r, int alpha);

// Copies src onto dst at (x, y), replacing pixels.
void Blit(Image& dst, const Image& src, int x, int y);
// Draws src over dst at (x, y) by src's alpha.
void Over(Image& dst, const Image& src, int x, int y);
// Six square faces side by side: four sides, then top, then bottom.
Image Strip(const Image& side1, const Image& side2, const Image& side3, const Image& side4, const Image& top,
            const Image& bottom);
inline Image Strip(const Image& side, const Image& top, const Image& bottom) {
    return Strip(side, side, side, side, top, bottom);
}

// Draws text in a 3 x 5 pixel font (digits, the capital letters used on blocks and "?") at (x, y).
void Text(Image& image, int x, int y, const char* text, Rgba colour, int scale);

}  // namespace packgen
