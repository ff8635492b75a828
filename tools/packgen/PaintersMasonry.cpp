// Bricks, cut stone, quartz and mineral blocks.
#include <algorithm>
#include <cmath>

#include "tools/packgen/Noise.h"
#include "tools/packgen/Painters.h"

namespace packgen {
namespace {

int Unit16(int s) { return std::max(1, s / 16); }

// One dressed stone: soft blotches, lit top and left edges, shadowed bottom and right.
void DressedStone(Image& image, Rect r, Rgba base, std::uint32_t seed) {
    Clouds(image, r, Lighten(base, -6), Lighten(base, 6), 3, seed);
    Jitter(image, r, 5, seed + 1);
    Bevel(image, r, 16, 22);
}

// Two courses of stone bricks: a whole brick above, two half bricks below.
void StoneBrickCourses(Image& image, Rgba stone, Rgba mortar, std::uint32_t seed) {
    const int s = image.Width(), half = s / 2;
    Fill(image, Whole(image), mortar);
    const Rect bricks[3] = {{0, 0, s, half - 1}, {0, half, half - 1, half - 1}, {half, half, half - 1, half - 1}};
    for (int i = 0; i < 3; ++i)
        DressedStone(image, bricks[i], Lighten(stone, i * 3 - 3), seed + static_cast<std::uint32_t>(i) * 17);
}

// A crack: a walk that wanders down and sideways, dark with a lit rim on its right.
void Crack(Image& image, int x, int y, int steps, std::uint32_t seed) {
    Xorshift random(seed);
    const int k = Unit16(image.Width());
    for (int i = 0; i < steps; ++i) {
        Fill(image, {x, y, k, k}, Rgb(0x3c3c3c));
        Put(image, x + k, y, Rgb(0x9a9a9a));
        if (random.Below(3) == 0)
            x += (random.Below(2) == 0 ? -k : k);
        else
            y += k;
    }
}

// Moss creeping out of the mortar joints.
void Moss(Image& image, std::uint32_t seed) {
    const int s = image.Width();
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const double n = SmoothNoise(x, y, s, 4, seed) + 0.3 * Unit(x, y, seed + 1);
            const bool nearJoint = y % (s / 2) >= s / 2 - 3 * Unit16(s) || y % (s / 2) < Unit16(s);
            if (n > (nearJoint ? 0.55 : 0.92))
                image.SetPixel(x, y, Lighten(Rgb(0x557a36), static_cast<int>(Signed(x, y, seed + 2) * 14)));
        }
}

// A carved ring in the middle of a face: dark groove round a raised boss.
void CarvedRing(Image& image, Rgba base) {
    const int s = image.Width();
    const double c = (s - 1) / 2.0;
    Disc(image, c, c, s * 0.30, Lighten(base, -38));
    Disc(image, c, c, s * 0.24, Lighten(base, 8));
    Disc(image, c, c, s * 0.12, Lighten(base, -24));
}

void SandstoneBands(Image& image, const SandPalette& p, std::uint32_t seed) {
    const int s = image.Width(), k = Unit16(s);
    Grain(image, Whole(image), p.mid, 5, seed);
    for (int y = 4 * k; y < 12 * k; y += 3 * k)
        Shade(image, {0, y, s, 1}, -9);  // faint bedding planes
    Grain(image, {0, 0, s, 3 * k}, p.light, 4, seed + 1);
    HLine(image, 0, 3 * k, s, p.dark);
    Grain(image, {0, 13 * k, s, 3 * k}, p.dark, 6, seed + 2);
    HLine(image, 0, 12 * k, s, Lighten(p.dark, -10));
}

// A band along the top, then two courses of blocks below it, the lower offset by half.
void CutCourses(Image& image, const SandPalette& p) {
    const int s = image.Width(), k = Unit16(s);
    const Rect blocks[5] = {{0, 4 * k, s / 2, 6 * k},         {s / 2, 4 * k, s / 2, 6 * k},
                            {0, 10 * k, s / 4, 6 * k},        {s / 4, 10 * k, s / 2, 6 * k},
                            {3 * s / 4, 10 * k, s / 4, 6 * k}};
    Fill(image, {0, 3 * k, s, k}, p.dark);
    for (const Rect& block : blocks) {
        Frame(image, block, 1, Lighten(p.dark, -8));
        Bevel(image, {block.x + 1, block.y + 1, block.w - 2, block.h - 2}, 10, 10);
    }
}

}  // namespace

Image BrickBlock(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Bricks(image, Whole(image), 8 * k, 4 * k, Rgb(0x9a5442), Rgb(0xb3aba0), 301);
    Speckle(image, Whole(image), Rgb(0x7a3a2c), 0.06, 302);
    return image;
}

Image NetherBrick(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Bricks(image, Whole(image), 8 * k, 4 * k, Rgb(0x54262c), Rgb(0x1e0e10), 311);
    Speckle(image, Whole(image), Rgb(0x5a2a30), 0.06, 312);
    return image;
}

Image StoneBricks(int s, StoneBrickKind kind) {
    Image image(s, s);
    const Rgba stone = Rgb(0x7d7d7d), mortar = Rgb(0x4a4a4a);
    if (kind == StoneBrickKind::Chiseled) {
        DressedStone(image, Whole(image), stone, 321);
        const int k = Unit16(s);
        Frame(image, {2 * k, 2 * k, s - 4 * k, s - 4 * k}, k, Lighten(stone, -30));
        Bevel(image, {3 * k, 3 * k, s - 6 * k, s - 6 * k}, -14, -12);
        CarvedRing(image, stone);
        return image;
    }
    StoneBrickCourses(image, stone, mortar, 322);
    if (kind == StoneBrickKind::Mossy)
        Moss(image, 323);
    if (kind == StoneBrickKind::Cracked) {
        const int k = Unit16(s);
        Crack(image, 5 * k, 0, 10, 324);
        Crack(image, 11 * k, 8 * k, 7, 325);
    }
    return image;
}

Image Sandstone(int s, SandstoneKind kind, const SandPalette& palette) {
    Image image(s, s);
    const int k = Unit16(s);
    if (kind == SandstoneKind::Flat) {
        Grain(image, Whole(image), Mix(palette.light, palette.mid, 0.5), 2, 335);
        Speckle(image, Whole(image), palette.light, 0.04, 336);
        return image;
    }
    if (kind == SandstoneKind::Smooth || kind == SandstoneKind::Cut) {
        Grain(image, Whole(image), palette.light, 3, 331);
        Speckle(image, Whole(image), palette.mid, 0.08, 332);
        Bevel(image, Whole(image), 6, 18);
        if (kind == SandstoneKind::Cut)
            CutCourses(image, palette);
        return image;
    }
    SandstoneBands(image, palette, 333);
    if (kind == SandstoneKind::Chiseled) {
        // A carved panel between the bands: a sunk frame holding a diamond.
        const Rect panel{2 * k, 5 * k, s - 4 * k, 6 * k};
        Grain(image, panel, palette.light, 3, 334);
        Frame(image, panel, k, palette.dark);
        const int cx = s / 2, cy = 8 * k;
        for (int d = 0; d <= 2 * k; ++d) {
            HLine(image, cx - 2 * k + d, cy - d, 4 * k - 2 * d, palette.dark);
            HLine(image, cx - 2 * k + d, cy + d - 1, 4 * k - 2 * d, palette.dark);
        }
        Fill(image, {cx - k / 2, cy - k / 2 - 1, k, k}, palette.light);
        for (int x = 3 * k; x < s - 3 * k; x += 3 * k)
            Fill(image, {x, 14 * k - k / 2, k, k}, Lighten(palette.dark, -12));  // carved dots along the bottom band
    }
    return image;
}

Image Quartz(int s, QuartzKind kind) {
    Image image(s, s);
    const Rgba white = Rgb(0xebe5dc);
    if (kind == QuartzKind::Smooth) {  // one even face, no dressed edges
        Grain(image, Whole(image), Lighten(white, -4), 2, 343);
        return image;
    }
    Grain(image, Whole(image), white, 3, 341);
    Speckle(image, Whole(image), Lighten(white, -12), 0.05, 342);
    Bevel(image, Whole(image), 8, 22);
    if (kind == QuartzKind::Chiseled) {
        const int k = Unit16(s);
        // Nested carved squares, each with a shadow on its top and left (carved in).
        for (int inset = 2 * k; inset < s / 2 - k; inset += 3 * k) {
            const Rect r{inset, inset, s - 2 * inset, s - 2 * inset};
            Frame(image, r, std::max(1, k), Lighten(white, -34));
            Bevel(image, {r.x + k, r.y + k, r.w - 2 * k, r.h - 2 * k}, -10, -6);
        }
    }
    return image;
}

Image QuartzPillarStrip(int s) {
    const int k = Unit16(s);
    const Rgba white = Rgb(0xebe5dc);
    Image side(s, s);
    Grain(side, Whole(side), white, 3, 351);
    for (int x : {2 * k, 7 * k, 8 * k, s - 3 * k})
        VLine(side, x, 0, s, Lighten(white, -30));  // flutes
    HLine(side, 0, 0, s, Lighten(white, -26));
    HLine(side, 0, s - 1, s, Lighten(white, -26));
    Image top(s, s);
    Grain(top, Whole(top), white, 3, 352);
    Bevel(top, Whole(top), 8, 22);
    Frame(top, {2 * k, 2 * k, s - 4 * k, s - 4 * k}, std::max(1, k), Lighten(white, -30));
    Disc(top, (s - 1) / 2.0, (s - 1) / 2.0, 3.0 * k, Lighten(white, -18));
    return Strip(side, top, top);
}

Image Mineral(int s, Rgba base, MineralKind kind) {
    const int k = Unit16(s);
    Image image(s, s);
    switch (kind) {
    case MineralKind::Shiny:
        Clouds(image, Whole(image), Lighten(base, -14), Lighten(base, 10), 3, 361);
        for (int d = -s; d < s; d += 5 * k)  // diagonal glints
            for (int i = 0; i < s; ++i)
                Put(image, d + i, s - 1 - i, Lighten(base, 45));
        Bevel(image, Whole(image), 40, 45);
        Bevel(image, {k, k, s - 2 * k, s - 2 * k}, 16, 20);
        break;
    case MineralKind::Plated:
        Grain(image, Whole(image), base, 3, 362);
        HLine(image, 0, s / 2 - 1, s, Lighten(base, -40));
        HLine(image, 0, s / 2, s, Lighten(base, 25));
        Bevel(image, Whole(image), 30, 50);
        for (int x : {2 * k, s - 3 * k})
            for (int y : {2 * k, s / 2 - 3 * k, s / 2 + 2 * k, s - 3 * k})
                Fill(image, {x, y, k, k}, Lighten(base, -55));  // rivets
        break;
    case MineralKind::Faceted:
        Grain(image, Whole(image), base, 6, 363);
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x)
                if ((x + y) / (4 * k) % 2 == 0 && (x - y + s) / (4 * k) % 2 == 0)
                    image.SetPixel(x, y, Lighten(image.Pixel(x, y), 30));  // facets catching light
        Frame(image, Whole(image), k, Lighten(base, -60));
        Bevel(image, {k, k, s - 2 * k, s - 2 * k}, 40, 30);
        break;
    case MineralKind::Grainy:
        Clouds(image, Whole(image), Lighten(base, -16), Lighten(base, 12), 4, 364);
        Speckle(image, Whole(image), Lighten(base, 40), 0.07, 365);
        Speckle(image, Whole(image), Lighten(base, -35), 0.07, 366);
        Bevel(image, Whole(image), 24, 30);
        break;
    }
    return image;
}

Image DoubleStoneSlab(int s) {
    Image image(s, s);
    const Rgba stone = Rgb(0xa6a6a6);
    DressedStone(image, {0, 0, s, s / 2}, stone, 371);
    DressedStone(image, {0, s / 2, s, s / 2}, stone, 372);
    return image;
}

Image SmoothStoneBlock(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    const Rgba stone = Rgb(0xa2a2a2);
    Grain(image, Whole(image), stone, 3, 373);
    Frame(image, Whole(image), k, Lighten(stone, -26));
    Bevel(image, {k, k, s - 2 * k, s - 2 * k}, 10, 8);
    return image;
}

Image CobblestoneWall(int s) {
    const int k = Unit16(s);
    const Image stones = Cobblestone(s);
    Image image(s, s);
    Blit(image, stones, 0, 0);
    // Air above the wall on either side of the post, which stands 3 pixels (of 16) higher.
    Fill(image, {0, 0, 4 * k, 3 * k}, stackmason::Rgba{0, 0, 0, 0});
    Fill(image, {12 * k, 0, 4 * k, 3 * k}, stackmason::Rgba{0, 0, 0, 0});
    HLine(image, 0, 3 * k, 4 * k, Lighten(stones.Pixel(0, 3 * k), 28));
    HLine(image, 12 * k, 3 * k, 4 * k, Lighten(stones.Pixel(s - 1, 3 * k), 28));
    VLine(image, 4 * k, 0, 3 * k, Lighten(stones.Pixel(4 * k, 0), 24));
    VLine(image, 12 * k - 1, 0, 3 * k, Lighten(stones.Pixel(12 * k - 1, 0), -30));
    return image;
}

Image AsStairs(Image full) {
    const int s = full.Height();
    Image image = std::move(full);
    Tint(image, {s / 2, 0, s - s / 2, s / 2}, Rgb(0x101010), 0.6);  // the upper step set back
    HLine(image, s / 2, s / 2, s - s / 2, Lighten(image.Pixel(s - 1, s / 2), 30));
    VLine(image, s / 2 - 1, 0, s / 2, Lighten(image.Pixel(s / 2 - 1, 1), -30));
    return image;
}

Image AsSlab(Image full) {
    const int s = full.Height();
    Image image = std::move(full);
    Tint(image, {0, 0, s, s / 2}, Rgb(0x101010), 0.6);  // the upper half set back
    HLine(image, 0, s / 2, s, Lighten(image.Pixel(0, s / 2), 30));
    return image;
}

}  // namespace packgen
