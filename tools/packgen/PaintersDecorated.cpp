// Wool, glass and blocks with drawn-on features.
#include <algorithm>
#include <cmath>

#include "tools/packgen/Noise.h"
#include "tools/packgen/Painters.h"

namespace packgen {
namespace {

int Unit16(int s) { return std::max(1, s / 16); }

std::uint32_t SeedOf(Rgba colour) {
    return Mix(static_cast<std::uint32_t>(colour.r) << 16 | static_cast<std::uint32_t>(colour.g) << 8 | colour.b);
}

// Glints across a pane: two short diagonal streaks, upper left and lower right.
void Glints(Image& image, Rgba colour) {
    const int s = image.Width(), k = Unit16(s);
    for (int i = 0; i < 4 * k; ++i) {
        Put(image, 3 * k + i, 7 * k - i, colour);
        Put(image, 4 * k + i, 7 * k - i, colour);
        Put(image, 9 * k + i, 13 * k - i, colour);
    }
}

// Ribs running down a gourd's side: darker grooves every few pixels.
void Ribs(Image& image, Rgba base, int spacing, std::uint32_t seed) {
    const int s = image.Width();
    Clouds(image, Whole(image), Lighten(base, -8), Lighten(base, 8), 3, seed);
    Jitter(image, Whole(image), 5, seed + 1);
    for (int x = spacing / 2; x < s; x += spacing) {
        VLine(image, x, 0, s, Lighten(base, -38));
        VLine(image, x + 1, 0, s, Lighten(base, 14));
    }
}

// A carved pumpkin face: two triangle eyes and a toothed grin.
void PumpkinFace(Image& image, Rgba inside) {
    const int k = Unit16(image.Width());
    for (int row = 0; row < 3; ++row) {
        HLine(image, (4 - row) * k, (4 + row) * k, (2 * row + 1) * k, inside);  // widening downwards
        HLine(image, (11 - row) * k, (4 + row) * k, (2 * row + 1) * k, inside);
        for (int dy = 1; dy < k; ++dy) {
            HLine(image, (4 - row) * k, (4 + row) * k + dy, (2 * row + 1) * k, inside);
            HLine(image, (11 - row) * k, (4 + row) * k + dy, (2 * row + 1) * k, inside);
        }
    }
    Fill(image, {3 * k, 10 * k, 10 * k, 3 * k}, inside);
    Fill(image, {5 * k, 10 * k, 2 * k, k}, Rgb(0xd0781a));  // teeth
    Fill(image, {9 * k, 12 * k, 2 * k, k}, Rgb(0xd0781a));
}

Image SmoothStone(int s, std::uint32_t seed) {
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0x8a8a8a), 5, seed);
    Bevel(image, Whole(image), 20, 30);
    return image;
}

}  // namespace

Image Wool(int s, Rgba colour) {
    Image image(s, s);
    Knit(image, Whole(image), colour, SeedOf(colour));
    return image;
}

Image Glass(int s) {
    const int k = Unit16(s);
    Image image(s, s);  // clear in the middle
    Glints(image, WithAlpha(Rgb(0xe8f4ff), 150));
    Frame(image, Whole(image), k, Rgb(0xdceaf2));
    HLine(image, 0, s - 1, s, Rgb(0x9cb4c4));
    VLine(image, s - 1, 0, s, Rgb(0x9cb4c4));
    Put(image, 0, 0, Rgb(0xffffff));
    return image;
}

Image StainedGlass(int s, Rgba tint) {
    const int k = Unit16(s);
    Image image(s, s, WithAlpha(tint, 110));
    Jitter(image, Whole(image), 5, SeedOf(tint));
    Glints(image, WithAlpha(Lighten(tint, 70), 170));
    Frame(image, Whole(image), k, Lighten(tint, 30));
    return image;
}

Image GlassPane(int s) {
    const int k = Unit16(s);
    Image image = Glass(s);
    Fill(image, {s / 2 - k, 0, 2 * k, s}, Rgb(0xc8d8e2));  // the cross of a window's bars
    Fill(image, {0, s / 2 - k, s, 2 * k}, Rgb(0xc8d8e2));
    VLine(image, s / 2 + k - 1, 0, s, Rgb(0x9cb4c4));
    HLine(image, 0, s / 2 + k - 1, s, Rgb(0x9cb4c4));
    return image;
}

Image IronBars(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    const Rgba iron = Rgb(0x707070);
    for (int x = k; x < s; x += 4 * k) {
        Fill(image, {x, 0, 2 * k, s}, iron);
        VLine(image, x, 0, s, Rgb(0xa8a8a8));
        VLine(image, x + 2 * k - 1, 0, s, Rgb(0x4a4a4a));
    }
    for (int y : {k, s - 3 * k}) {
        Fill(image, {0, y, s, 2 * k}, iron);
        HLine(image, 0, y, s, Rgb(0xa8a8a8));
    }
    return image;
}

Image PumpkinStrip(int s, bool lit) {
    const int k = Unit16(s);
    const Rgba orange = Rgb(0xd0781a);
    Image side(s, s);
    Ribs(side, orange, 4 * k, 501);
    Image front = side;
    PumpkinFace(front, lit ? Rgb(0xffd84a) : Rgb(0x3a1e06));
    Image top(s, s);
    Ribs(top, orange, 4 * k, 502);
    Fill(top, {7 * k, 7 * k, 2 * k, 2 * k}, Rgb(0x5a4a1a));  // the stalk
    return Strip(front, side, side, side, top, side);
}

Image MelonStrip(int s) {
    const int k = Unit16(s);
    Image side(s, s);
    Clouds(side, Whole(side), Rgb(0x849a26), Rgb(0x9cae34), 3, 511);
    for (int x = 0; x < s; x += 4 * k)
        Tint(side, {x, 0, 2 * k, s}, Rgb(0x4e6414), 0.7);  // the dark stripes
    Jitter(side, Whole(side), 7, 513);
    Image top(s, s);
    Clouds(top, Whole(top), Rgb(0x7c8c24), Rgb(0x98a830), 3, 512);
    Frame(top, {4 * k, 4 * k, 8 * k, 8 * k}, k, Rgb(0x5e7218));
    Fill(top, {7 * k, 7 * k, 2 * k, 2 * k}, Rgb(0x4a3a12));
    return Strip(side, top, top);
}

Image CactusStrip(int s) {
    const int k = Unit16(s);
    const Rgba green = Rgb(0x3c7a20);
    Image side(s, s);
    Ribs(side, green, 4 * k, 521);
    Xorshift random(522);
    for (int i = 0; i < 10; ++i) {  // spines
        const int x = random.Below(4) * 4 * k + 2 * k, y = random.Below(s / k) * k;
        Fill(side, {x, y, k, k}, Rgb(0xe8e8b0));
        Put(side, x + k, y, Rgb(0x1a2a10));
    }
    Image top(s, s);
    Clouds(top, Whole(top), Rgb(0x4a8a28), Rgb(0x5e9e34), 3, 523);
    Frame(top, Whole(top), k, Lighten(green, -25));
    Frame(top, {5 * k, 5 * k, 6 * k, 6 * k}, k, Lighten(green, 30));
    return Strip(side, top, top);
}

Image InsetCactusStrip(int s) {
    const int k = Unit16(s);
    Image strip = CactusStrip(s);
    for (int face = 0; face < 4; ++face) {
        SetAlpha(strip, {face * s, 0, k, s}, 0);
        SetAlpha(strip, {face * s + s - k, 0, k, s}, 0);
    }
    return strip;
}

Image TntStrip(int s) {
    const int k = Unit16(s);
    Image side(s, s);
    for (int x = 0; x < s; x += 4 * k) {  // sticks of dynamite in red paper
        Grain(side, {x, 0, 4 * k, s}, Rgb(0xd03a22), 6, 531);
        VLine(side, x, 0, s, Rgb(0xe86a50));
        VLine(side, x + 4 * k - 1, 0, s, Rgb(0x8a2010));
    }
    Fill(side, {0, 5 * k, s, 6 * k}, Rgb(0xe8e8e0));  // the paper band
    HLine(side, 0, 5 * k, s, Rgb(0xb8b8b0));
    HLine(side, 0, 11 * k - 1, s, Rgb(0xb8b8b0));
    Text(side, 2 * k, 6 * k, "TNT", Rgb(0x181818), k);
    Image top(s, s);
    Grain(top, Whole(top), Rgb(0xc83a24), 6, 532);
    for (int cx : {4, 12})
        for (int cy : {4, 12}) {
            Disc(top, (cx - 0.5) * k, (cy - 0.5) * k, 2.6 * k, Rgb(0xe86a50));
            Fill(top, {(cx - 1) * k, (cy - 1) * k, k, k}, Rgb(0x404040));  // fuses
        }
    Image bottom(s, s);
    Grain(bottom, Whole(bottom), Rgb(0xb83220), 6, 533);
    return Strip(side, top, bottom);
}

Image HayBaleStrip(int s) {
    const int k = Unit16(s);
    Image side(s, s);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const int streak = static_cast<int>(Signed(x / k, y / (3 * k) + x % 3, 541) * 16);
            side.SetPixel(x, y, Lighten(Rgb(0xc8a428), streak));
        }
    for (int y : {2 * k, 12 * k}) {  // the binding
        Fill(side, {0, y, s, 2 * k}, Rgb(0x8a3a1a));
        HLine(side, 0, y, s, Rgb(0xa85030));
    }
    Image top(s, s);
    Grain(top, Whole(top), Rgb(0xc09c24), 14, 542);
    Speckle(top, Whole(top), Rgb(0x8a6a12), 0.15, 543);
    Frame(top, Whole(top), k, Rgb(0x8a3a1a));
    return Strip(side, top, top);
}

Image FurnaceStrip(int s) {
    const int k = Unit16(s);
    Image side = SmoothStone(s, 551);
    Image front = Cobblestone(s);
    Fill(front, {3 * k, 8 * k, 10 * k, 6 * k}, Rgb(0x1c1c1c));  // the hearth
    Frame(front, {3 * k, 8 * k, 10 * k, 6 * k}, k, Rgb(0x4a4a4a));
    HLine(front, 4 * k, 12 * k, 8 * k, Rgb(0x3a3a3a));
    Fill(front, {3 * k, 3 * k, 10 * k, 3 * k}, Rgb(0x4a4a4a));  // the flue slot
    HLine(front, 3 * k, 6 * k - 1, 10 * k, Rgb(0x2a2a2a));
    Image top = SmoothStone(s, 552);
    return Strip(front, side, side, side, top, top);
}

Image Spawner(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Fill(image, {3 * k, 3 * k, 10 * k, 10 * k}, WithAlpha(Rgb(0x20242c), 90));  // the gloom inside
    const Rgba bar = Rgb(0x2a3440), lit = Rgb(0x566474);
    for (int at = 0; at < s; at += 5 * k) {
        Fill(image, {at, 0, k, s}, bar);
        Fill(image, {0, at, s, k}, bar);
        Put(image, at, at, lit);
    }
    Frame(image, Whole(image), k, bar);
    HLine(image, 0, 0, s, lit);
    VLine(image, 0, 0, s, lit);
    Disc(image, 7.5 * k, 8.5 * k, 1.6 * k, WithAlpha(Rgb(0xff8020), 200));  // a flicker of fire
    return image;
}

Image Prismarine(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x5a9a8a), Rgb(0x6ab8a4), 4, 561);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if (std::abs(SmoothNoise(x, y, s, 3, 562) - 0.5) < 0.035)
                image.SetPixel(x, y, Rgb(0x3e6e64));  // veins
    Jitter(image, Whole(image), 6, 563);
    return image;
}

Image SeaLantern(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0xd8e8e0), 5, 571);
    const int h = s / 2;
    for (int i = 0; i < 4; ++i) {
        const Rect panel{(i % 2) * h + k, (i / 2) * h + k, h - 2 * k, h - 2 * k};
        Fill(image, panel, Rgb(0xa8c8c0));
        Bevel(image, panel, 30, 25);
    }
    Fill(image, {h - 2 * k, h - 2 * k, 4 * k, 4 * k}, Rgb(0xffffff));  // the bright core
    Frame(image, Whole(image), k, Rgb(0x8ab0a8));
    return image;
}

Image PrismarineBricks(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Bricks(image, Whole(image), 8 * k, 4 * k, Rgb(0x68b4a0), Rgb(0x3e7868), 581);
    Jitter(image, Whole(image), 5, 582);
    Speckle(image, Whole(image), Rgb(0x86ccb8), 0.05, 583);
    return image;
}

Image DarkPrismarine(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x2c4a3e), Rgb(0x365a4c), 3, 591);
    Jitter(image, Whole(image), 4, 592);
    // Plates in a grid of four, each with a dark seam round it.
    for (int at = 0; at < s; at += s / 2) {
        HLine(image, 0, at, s, Rgb(0x1a2e26));
        VLine(image, at, 0, s, Rgb(0x1a2e26));
    }
    Frame(image, Whole(image), k, Rgb(0x1a2e26));
    for (int i = 0; i < 4; ++i)
        Bevel(image, {(i % 2) * (s / 2) + k, (i / 2) * (s / 2) + k, s / 2 - k, s / 2 - k}, 14, 10);
    return image;
}

Image Concrete(int s, Rgba colour) {
    Image image(s, s);
    Grain(image, Whole(image), colour, 2, SeedOf(colour) ^ 0x5a5a);
    Speckle(image, Whole(image), Lighten(colour, -10), 0.03, SeedOf(colour) ^ 0xa5a5);
    return image;
}

Image Terracotta(int s, Rgba colour) {
    Image image(s, s);
    Clouds(image, Whole(image), Lighten(colour, -9), Lighten(colour, 7), 4, SeedOf(colour) ^ 0x7c7c);
    Jitter(image, Whole(image), 5, SeedOf(colour) ^ 0xc7c7);
    Speckle(image, Whole(image), Lighten(colour, -18), 0.06, SeedOf(colour) ^ 0x3c3c);
    Speckle(image, Whole(image), Lighten(colour, 16), 0.04, SeedOf(colour) ^ 0xc3c3);
    return image;
}

Image UnknownBlock(int s) {
    const int cell = std::max(1, s / 8);
    Image image(s, s);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            image.SetPixel(x, y, (x / cell + y / cell) % 2 == 0 ? Rgb(0xff00ff) : Rgb(0x000000));
    // A question mark filling most of the face, white on a black outline, so it reads on
    // both colours of the board.
    const int scale = std::max(1, s * 5 / 32), x = (s - 3 * scale) / 2, y = (s - 5 * scale) / 2;
    const int outline = std::max(1, s / 16);
    for (int dy = -outline; dy <= outline; ++dy)
        for (int dx = -outline; dx <= outline; ++dx)
            Text(image, x + dx, y + dy, "?", Rgb(0x000000), scale);
    Text(image, x, y, "?", Rgb(0xffffff), scale);
    return image;
}

}  // namespace packgen
