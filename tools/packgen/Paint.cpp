#include "tools/packgen/Paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/packgen/Noise.h"

namespace packgen {
namespace {

std::uint8_t Clamp8(double value) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 0, 255));
}

bool Inside(const Image& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.Width() && y < image.Height();
}

// Runs fn(x, y) for every pixel of r that lies in the image.
template <typename Fn>
void ForEach(const Image& image, Rect r, Fn fn) {
    const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    const int x1 = std::min(r.x + r.w, image.Width()), y1 = std::min(r.y + r.h, image.Height());
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            fn(x, y);
}

// Distance between a and b on a ring of the given length.
double WrapDelta(double a, double b, double length) {
    double d = a - b;
    if (d > length / 2)
        d -= length;
    if (d < -length / 2)
        d += length;
    return d;
}

}  // namespace

double SmoothNoise(int x, int y, int period, int cells, std::uint32_t seed) {
    const double gx = static_cast<double>(x) * cells / period, gy = static_cast<double>(y) * cells / period;
    const int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    const double fx = gx - ix, fy = gy - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return Unit(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed); };
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

Rgba WithAlpha(Rgba colour, int alpha) {
    colour.a = static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
    return colour;
}

Rgba Lighten(Rgba c, int delta) {
    return {Clamp8(c.r + delta), Clamp8(c.g + delta), Clamp8(c.b + delta), c.a};
}

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t),
            Clamp8(a.a + (b.a - a.a) * t)};
}

void Put(Image& image, int x, int y, Rgba colour) {
    if (Inside(image, x, y))
        image.SetPixel(x, y, colour);
}

void Fill(Image& image, Rect r, Rgba colour) {
    ForEach(image, r, [&](int x, int y) { image.SetPixel(x, y, colour); });
}

void HLine(Image& image, int x, int y, int length, Rgba colour) { Fill(image, {x, y, length, 1}, colour); }
void VLine(Image& image, int x, int y, int length, Rgba colour) { Fill(image, {x, y, 1, length}, colour); }

void Frame(Image& image, Rect r, int t, Rgba colour) {
    Fill(image, {r.x, r.y, r.w, t}, colour);
    Fill(image, {r.x, r.y + r.h - t, r.w, t}, colour);
    Fill(image, {r.x, r.y, t, r.h}, colour);
    Fill(image, {r.x + r.w - t, r.y, t, r.h}, colour);
}

void Shade(Image& image, Rect r, int delta) {
    ForEach(image, r, [&](int x, int y) { image.SetPixel(x, y, Lighten(image.Pixel(x, y), delta)); });
}

void Bevel(Image& image, Rect r, int light, int dark) {
    Shade(image, {r.x, r.y, r.w, 1}, light);
    Shade(image, {r.x, r.y + 1, 1, r.h - 1}, light);
    Shade(image, {r.x + 1, r.y + r.h - 1, r.w - 1, 1}, -dark);
    Shade(image, {r.x + r.w - 1, r.y + 1, 1, r.h - 2}, -dark);
}

void Tint(Image& image, Rect r, Rgba colour, double t) {
    ForEach(image, r, [&](int x, int y) { image.SetPixel(x, y, Mix(image.Pixel(x, y), colour, t)); });
}

void Disc(Image& image, double cx, double cy, double radius, Rgba colour) {
    ForEach(image, Whole(image), [&](int x, int y) {
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
            image.SetPixel(x, y, colour);
    });
}

void Grain(Image& image, Rect r, Rgba base, int amplitude, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        image.SetPixel(x, y, Lighten(base, static_cast<int>(std::lround(Signed(x, y, seed) * amplitude))));
    });
}

void Clouds(Image& image, Rect r, Rgba a, Rgba b, int cells, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        image.SetPixel(x, y, Mix(a, b, SmoothNoise(x - r.x, y - r.y, std::max(r.w, r.h), cells, seed)));
    });
}

void Jitter(Image& image, Rect r, int amplitude, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        image.SetPixel(x, y, Lighten(image.Pixel(x, y), static_cast<int>(std::lround(Signed(x, y, seed) * amplitude))));
    });
}

void Speckle(Image& image, Rect r, Rgba colour, double density, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        if (Unit(x, y, seed) < density)
            image.SetPixel(x, y, colour);
    });
}

void Flecks(Image& image, Rect r, Rgba colour, int count, std::uint32_t seed) {
    Xorshift random(seed);
    static constexpr int kSteps[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int i = 0; i < count; ++i) {
        int x = r.x + random.Between(1, r.w - 3), y = r.y + random.Between(1, r.h - 3);
        const int pixels = random.Between(2, 4);
        for (int p = 0; p < pixels; ++p) {
            Put(image, x, y, p == 0 ? Lighten(colour, 40) : Lighten(colour, random.Between(-20, 5)));
            const int* step = kSteps[random.Below(p == 0 ? 2 : 4)];
            x = std::clamp(x + step[0], r.x, r.x + r.w - 1);
            y = std::clamp(y + step[1], r.y, r.y + r.h - 1);
        }
    }
}

void Cobbles(Image& image, Rect r, Rgba stone, Rgba mortar, int count, int variation, std::uint32_t seed) {
    struct Point {
        double x, y;
        int shade;
    };
    Point points[64];
    count = std::clamp(count, 2, 64);
    Xorshift random(seed);
    // Jittered grid placement keeps the stones of similar size.
    const int columns = std::max(1, static_cast<int>(std::lround(std::sqrt(count * static_cast<double>(r.w) / r.h))));
    for (int i = 0; i < count; ++i) {
        const int rows = (count + columns - 1) / columns;
        const double cellW = static_cast<double>(r.w) / columns, cellH = static_cast<double>(r.h) / rows;
        points[i] = {((i % columns) + 0.2 + 0.6 * random.Below(1000) / 1000.0) * cellW,
                     ((i / columns) + 0.2 + 0.6 * random.Below(1000) / 1000.0) * cellH,
                     random.Between(-variation, variation)};
    }
    const double gap = std::max(1.0, r.w / 16.0);
    const double scale = r.w / 16.0;
    ForEach(image, r, [&](int x, int y) {
        double best = 1e9, second = 1e9;
        int nearest = 0;
        double ndx = 0, ndy = 0;
        for (int i = 0; i < count; ++i) {
            const double dx = WrapDelta(x - r.x + 0.5, points[i].x, r.w), dy = WrapDelta(y - r.y + 0.5, points[i].y, r.h);
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < best) {
                second = best;
                best = d;
                nearest = i;
                ndx = dx;
                ndy = dy;
            } else if (d < second) {
                second = d;
            }
        }
        if (second - best < gap) {
            image.SetPixel(x, y, Lighten(mortar, static_cast<int>(Signed(x, y, seed) * 6)));
            return;
        }
        const int edge = second - best < 2 * gap ? -10 : 0;
        const int lit = static_cast<int>(std::lround(-(ndx + ndy) * 3.5 / scale));
        image.SetPixel(x, y, Lighten(stone, points[nearest].shade + edge + lit + static_cast<int>(Signed(x, y, seed + 1) * 7)));
    });
}

void Bricks(Image& image, Rect r, int brickW, int brickH, Rgba brick, Rgba mortar, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        const int lx = x - r.x, ly = y - r.y;
        const int row = ly / brickH;
        const int shifted = lx + (row % 2) * (brickW / 2);
        if (ly % brickH == brickH - 1 || shifted % brickW == brickW - 1) {
            image.SetPixel(x, y, Lighten(mortar, static_cast<int>(Signed(x, y, seed) * 5)));
            return;
        }
        const int column = (shifted / brickW) % std::max(1, r.w / brickW);
        const int own = static_cast<int>(Signed(column, row, seed + 7) * 14);
        const int top = ly % brickH == 0 ? 10 : 0;
        image.SetPixel(x, y, Lighten(brick, own + top + static_cast<int>(Signed(x, y, seed + 3) * 8)));
    });
}

void Boards(Image& image, Rect r, int boardH, Rgba wood, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        const int lx = x - r.x, ly = y - r.y;
        const int board = ly / boardH, inBoard = ly % boardH;
        if (inBoard == boardH - 1) {
            image.SetPixel(x, y, Lighten(wood, -48));
            return;
        }
        const int joint = static_cast<int>(Hash(board, 0, seed) % static_cast<std::uint32_t>(r.w));
        if (lx == joint) {
            image.SetPixel(x, y, Lighten(wood, -40));
            return;
        }
        int delta = static_cast<int>(Signed(board, 1, seed) * 8);
        delta += static_cast<int>(Signed(lx / 3, ly, seed + 5) * 7);  // stretched grain
        if (Unit(lx / 2, ly, seed + 9) > 0.86)
            delta -= 16;  // grain streak
        if (inBoard == 0)
            delta += 8;
        image.SetPixel(x, y, Lighten(wood, delta));
    });
}

void Bark(Image& image, Rect r, Rgba bark, Rgba streak, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        const int lx = x - r.x, ly = y - r.y;
        const double column = Unit(lx, 0, seed);
        const double along = SmoothNoise(lx * 4, ly, r.h, std::max(2, r.h / 4), seed + 1);
        Rgba colour = Mix(bark, streak, column > 0.55 ? 0.75 * along + 0.25 : 0.25 * along);
        image.SetPixel(x, y, Lighten(colour, static_cast<int>(Signed(x, y, seed + 2) * 7)));
    });
}

void Rings(Image& image, Rect r, Rgba light, Rgba dark, Rgba bark, std::uint32_t seed) {
    const double cx = r.x + (r.w - 1) / 2.0, cy = r.y + (r.h - 1) / 2.0;
    const double scale = r.w / 16.0;
    ForEach(image, r, [&](int x, int y) {
        const double dx = std::abs(x - cx), dy = std::abs(y - cy);
        const double d = (0.55 * std::max(dx, dy) + 0.45 * std::sqrt(dx * dx + dy * dy)) / scale;
        if (std::max(dx, dy) / scale > 6.9) {
            image.SetPixel(x, y, Lighten(bark, static_cast<int>(Signed(x, y, seed) * 10)));
            return;
        }
        const int ring = static_cast<int>(std::floor((d + Signed(x, y, seed + 1) * 0.25) / 1.5));
        image.SetPixel(x, y, Lighten(ring % 2 == 0 ? light : dark, static_cast<int>(Signed(x, y, seed + 2) * 5)));
    });
}

void Knit(Image& image, Rect r, Rgba colour, std::uint32_t seed) {
    const int scale = std::max(1, r.w / 16);
    ForEach(image, r, [&](int x, int y) {
        const int u = ((x - r.x) / scale) % 4, v = ((y - r.y) / scale + ((x - r.x) / scale / 4) % 2 * 2) % 4;
        const int stitch = u < 2 ? u : 3 - u;
        int delta = static_cast<int>(Signed(x, y, seed) * 5) + static_cast<int>((SmoothNoise(x, y, r.w, 4, seed + 1) - 0.5) * 14);
        if (v == stitch)
            delta += 9;
        else if (v == (stitch + 2) % 4)
            delta -= 11;
        image.SetPixel(x, y, Lighten(colour, delta));
    });
}

void Holes(Image& image, Rect r, double density, std::uint32_t seed) {
    ForEach(image, r, [&](int x, int y) {
        const double value = 0.3 * SmoothNoise(x - r.x, y - r.y, r.w, std::max(2, r.w / 4), seed) + 0.7 * Unit(x, y, seed + 1);
        if (value < density * 0.9 + 0.05)
            image.SetPixel(x, y, Rgba{});
    });
}

void SetAlpha(Image& image, Rect r, int alpha) {
    ForEach(image, r, [&](int x, int y) { image.SetPixel(x, y, WithAlpha(image.Pixel(x, y), alpha)); });
}

void Blit(Image& dst, const Image& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            Put(dst, x + sx, y + sy, src.Pixel(sx, sy));
}

void Over(Image& dst, const Image& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) {
            const Rgba s = src.Pixel(sx, sy);
            if (s.a > 0 && Inside(dst, x + sx, y + sy)) {
                const Rgba d = dst.Pixel(x + sx, y + sy);
                Rgba out = Mix(d, s, s.a / 255.0);
                out.a = std::max(d.a, s.a);
                dst.SetPixel(x + sx, y + sy, out);
            }
        }
}

Image Strip(const Image& side1, const Image& side2, const Image& side3, const Image& side4, const Image& top,
            const Image& bottom) {
    const int face = side1.Height();
    Image strip(6 * face, face);
    const Image* faces[6] = {&side1, &side2, &side3, &side4, &top, &bottom};
    for (int i = 0; i < 6; ++i)
        Blit(strip, *faces[i], i * face, 0);
    return strip;
}

void Text(Image& image, int x, int y, const char* text, Rgba colour, int scale) {
    struct Glyph {
        char letter;
        const char* rows[5];  // all of one width; the N needs four columns to read as N
    };
    static constexpr Glyph kGlyphs[] = {
        {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
        {'0', {"###", "#.#", "#.#", "#.#", "###"}},
        {'1', {".#.", "##.", ".#.", ".#.", "###"}},
        {'2', {"###", "..#", "###", "#..", "###"}},
        {'3', {"###", "..#", ".##", "..#", "###"}},
        {'4', {"#.#", "#.#", "###", "..#", "..#"}},
        {'5', {"###", "#..", "###", "..#", "###"}},
        {'6', {"###", "#..", "###", "#.#", "###"}},
        {'7', {"###", "..#", ".#.", ".#.", ".#."}},
        {'8', {"###", "#.#", "###", "#.#", "###"}},
        {'9', {"###", "#.#", "###", "..#", "###"}},
        {'?', {"###", "..#", ".##", "...", ".#."}},
    };
    for (; *text != '\0'; ++text) {
        for (const Glyph& glyph : kGlyphs) {
            if (glyph.letter != *text)
                continue;
            const int width = static_cast<int>(std::strlen(glyph.rows[0]));
            for (int gy = 0; gy < 5; ++gy)
                for (int gx = 0; gx < width; ++gx)
                    if (glyph.rows[gy][gx] == '#')
                        Fill(image, {x + gx * scale, y + gy * scale, scale, scale}, colour);
            x += (width + 1) * scale;
        }
    }
}

}  // namespace packgen
