// Earth, stone, fluids and ores.
#include <algorithm>
#include <cmath>

#include "tools/packgen/Noise.h"
#include "tools/packgen/Painters.h"

namespace packgen {
namespace {

// Grass-like cover along the top of a side face: depth 3 to 5 pixels (of 16) per column,
// with a few stray blades hanging lower.
void TopCover(Image& image, Rgba a, Rgba b, std::uint32_t seed) {
    const int s = image.Width(), k = std::max(1, s / 16);
    Image cover(s, s);
    Clouds(cover, Whole(cover), a, b, 4, seed);
    Jitter(cover, Whole(cover), 9, seed + 1);
    for (int x = 0; x < s; ++x) {
        const int column = x / k;
        int depth = (3 + static_cast<int>(Hash(column, 0, seed) % 3)) * k;
        if (Hash(column, 1, seed) % 5 == 0)
            depth += 2 * k;  // a blade
        for (int y = 0; y < depth; ++y)
            image.SetPixel(x, y, cover.Pixel(x, y));
        Put(image, x, depth, Lighten(image.Pixel(x, std::min(depth, s - 1)), -18));  // shadow under the cover
    }
}


// The colours of a mined igneous stone: a mottled ground and the crystals speckled into it.
struct IgneousPalette {
    Rgba dark, light, fleckDark, fleckLight;
    double fleckDensity;
    std::uint32_t seed;
};

IgneousPalette PaletteOf(IgneousKind kind) {
    switch (kind) {
    case IgneousKind::Granite:
        return {Rgb(0x8c5c48), Rgb(0xa4705a), Rgb(0x6a3e30), Rgb(0xc4948a), 0.16, 701};
    case IgneousKind::Diorite:
        return {Rgb(0xbababa), Rgb(0xd4d4d2), Rgb(0x6e6e6e), Rgb(0xf2f2f2), 0.13, 711};
    case IgneousKind::Andesite:
        break;
    }
    return {Rgb(0x76787a), Rgb(0x8a8c8e), Rgb(0x5a5c5e), Rgb(0xa8aaac), 0.20, 721};
}

}  // namespace

Image Stone(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x797979), Rgb(0x8f8f8f), 4, 11);
    Jitter(image, Whole(image), 7, 12);
    Speckle(image, Whole(image), Rgb(0x666666), 0.10, 13);
    Speckle(image, Whole(image), Rgb(0x9e9e9e), 0.05, 14);
    return image;
}

Image Dirt(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x77522f), Rgb(0x8e6343), 4, 21);
    Jitter(image, Whole(image), 10, 22);
    Speckle(image, Whole(image), Rgb(0x5a3d24), 0.12, 23);
    Speckle(image, Whole(image), Rgb(0xa27652), 0.07, 24);
    Speckle(image, Whole(image), Rgb(0x707070), 0.02, 25);
    return image;
}

Image GrassStrip(int s) {
    Image top(s, s);
    Clouds(top, Whole(top), Rgb(0x4f8a2c), Rgb(0x72b046), 4, 31);
    Jitter(top, Whole(top), 9, 32);
    Speckle(top, Whole(top), Rgb(0x3f7222), 0.12, 33);
    Speckle(top, Whole(top), Rgb(0x86c45a), 0.06, 34);
    Image side = Dirt(s);
    TopCover(side, Rgb(0x4f8a2c), Rgb(0x6aa840), 35);
    return Strip(side, top, Dirt(s));
}

Image MyceliumStrip(int s) {
    Image top(s, s);
    Clouds(top, Whole(top), Rgb(0x675a62), Rgb(0x857983), 4, 41);
    Jitter(top, Whole(top), 8, 42);
    Speckle(top, Whole(top), Rgb(0xa497a3), 0.10, 43);
    Speckle(top, Whole(top), Rgb(0x53484f), 0.08, 44);
    Image side = Dirt(s);
    TopCover(side, Rgb(0x675a62), Rgb(0x8a7e88), 45);
    return Strip(side, top, Dirt(s));
}

Image Cobblestone(int s) {
    Image image(s, s);
    Cobbles(image, Whole(image), Rgb(0x8c8c8c), Rgb(0x4a4a4a), 9 * (s / 16) * (s / 16), 16, 51);
    return image;
}

Image MossyCobblestone(int s) {
    Image image = Cobblestone(s);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if (SmoothNoise(x, y, s, 4, 52) + 0.25 * Unit(x, y, 53) > 0.62)
                image.SetPixel(x, y, Mix(image.Pixel(x, y), Lighten(Rgb(0x4d7a30), static_cast<int>(Signed(x, y, 54) * 12)), 0.75));
    return image;
}

Image Bedrock(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x303030), Rgb(0x8c8c8c), 6, 61);
    Jitter(image, Whole(image), 16, 62);
    Speckle(image, Whole(image), Rgb(0x1c1c1c), 0.12, 63);
    return image;
}

Image Water(int s) {
    Image image(s, s);
    const int k = std::max(1, s / 16);
    Clouds(image, Whole(image), Rgb(0x2a55c8), Rgb(0x3f72e2), 4, 71);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const double wave = 1.5 * std::sin(x * 4 * 3.14159265358979 / s);
            const int phase = static_cast<int>(std::lround(y / static_cast<double>(k) + wave)) + 20;
            if (phase % 5 == 0)
                image.SetPixel(x, y, Lighten(image.Pixel(x, y), 30));
        }
    Jitter(image, Whole(image), 4, 72);
    SetAlpha(image, Whole(image), 165);
    return image;
}

Image Lava(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0xcf4c0a), Rgb(0xf5a020), 4, 81);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if (SmoothNoise(x, y, s, 5, 82) < 0.28)
                image.SetPixel(x, y, Rgb(0x9a2a05));
    Speckle(image, Whole(image), Rgb(0xffd845), 0.08, 83);
    Jitter(image, Whole(image), 6, 84);
    return image;
}

Image Sand(int s) {
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0xdad09c), 7, 91);
    Speckle(image, Whole(image), Rgb(0xc2b27c), 0.14, 92);
    Speckle(image, Whole(image), Rgb(0xefe8c0), 0.07, 93);
    return image;
}

Image Gravel(int s) {
    Image image(s, s);
    Cobbles(image, Whole(image), Rgb(0x857f7c), Rgb(0x5e5856), 14 * (s / 16) * (s / 16), 28, 101);
    Speckle(image, Whole(image), Rgb(0x7a6656), 0.08, 102);
    Speckle(image, Whole(image), Rgb(0xa9a4a2), 0.05, 103);
    return image;
}

Image Ore(int s, Rgba fleck, std::uint32_t seed) {
    Image image = Stone(s);
    Flecks(image, Whole(image), fleck, 6 * (s / 16) * (s / 16), seed);
    return image;
}

Image Netherrack(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x652828), Rgb(0x823c3c), 4, 111);
    Jitter(image, Whole(image), 14, 112);
    Speckle(image, Whole(image), Rgb(0x481a1a), 0.15, 113);
    Speckle(image, Whole(image), Rgb(0x9a5050), 0.07, 114);
    return image;
}

Image NetherQuartzOre(int s) {
    Image image = Netherrack(s);
    Flecks(image, Whole(image), Rgb(0xd8d0c4), 6 * (s / 16) * (s / 16), 115);
    return image;
}

Image Obsidian(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x0e0a16), Rgb(0x211a33), 4, 121);
    Speckle(image, Whole(image), Rgb(0x3e2b5e), 0.10, 122);
    Speckle(image, Whole(image), Rgb(0x050309), 0.08, 123);
    return image;
}

Image SoulSand(int s) {
    const int k = std::max(1, s / 16);
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x4c372a), Rgb(0x644b3a), 4, 131);
    Jitter(image, Whole(image), 8, 132);
    // Faint screaming faces: two eyes over an open mouth.
    const int faces[3][2] = {{2, 2}, {9, 7}, {3, 11}};
    const Rgba dark = Rgb(0x2f2118);
    for (const auto& f : faces) {
        Fill(image, {(f[0]) * k, (f[1]) * k, k, k}, dark);
        Fill(image, {(f[0] + 3) * k, (f[1]) * k, k, k}, dark);
        Fill(image, {(f[0] + 1) * k, (f[1] + 2) * k, 2 * k, 2 * k}, dark);
    }
    return image;
}

Image EndStone(int s) {
    const int k = std::max(1, s / 16);
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0xdcdf9e), 6, 141);
    Xorshift random(142);
    for (int i = 0; i < 7 * k * k; ++i) {
        const double x = random.Below(s), y = random.Below(s);
        Disc(image, x, y, 0.8 * k, Rgb(0xbfc07f));
        Put(image, static_cast<int>(x) + k, static_cast<int>(y) + k, Rgb(0xeff1bb));
    }
    Speckle(image, Whole(image), Rgb(0xc8c98a), 0.08, 143);
    return image;
}

Image Clay(int s, Rgba base) {
    Image image(s, s);
    Clouds(image, Whole(image), Lighten(base, -7), Lighten(base, 7), 4, 151);
    Jitter(image, Whole(image), 4, 152);
    Speckle(image, Whole(image), Lighten(base, -14), 0.05, 153);
    return image;
}

Image SnowBlock(int s) {
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0xf2fafa), 4, 161);
    Speckle(image, Whole(image), Rgb(0xdceaf0), 0.10, 162);
    return image;
}

Image SnowLayer(int s) {
    const int k = std::max(1, s / 16);
    Image image = SnowBlock(s);
    for (int y = 4 * k - 1; y < s; y += 4 * k)
        Shade(image, {0, y, s, 1}, -16);  // packed layers
    return image;
}

Image Ice(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x8fb6f2), Rgb(0xa9caf8), 4, 171);
    SetAlpha(image, Whole(image), 185);
    const int k = std::max(1, s / 16);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const int d = (x / k - y / k + 32 + static_cast<int>(Hash(y / k, 0, 172) % 2)) % 9;
            if (d == 0)
                image.SetPixel(x, y, WithAlpha(Rgb(0xe2eeff), 215));
        }
    return image;
}

Image PackedIce(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0x86aae6), Rgb(0x9bbcf0), 4, 181);
    const int k = std::max(1, s / 16);
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if ((x / k + y / k * 2 + static_cast<int>(Hash(x / k, 1, 182) % 3)) % 11 == 0)
                image.SetPixel(x, y, Rgb(0xc8dcfb));
    Jitter(image, Whole(image), 3, 183);
    return image;
}

Image Sponge(int s) {
    Image image(s, s);
    Clouds(image, Whole(image), Rgb(0xbdbb45), Rgb(0xd8d660), 4, 191);
    Jitter(image, Whole(image), 6, 192);
    Speckle(image, Whole(image), Rgb(0x8d8a2a), 0.16, 193);
    Speckle(image, Whole(image), Rgb(0x6f6c1e), 0.05, 194);
    return image;
}

Image Glowstone(int s) {
    Image image(s, s);
    Cobbles(image, Whole(image), Rgb(0xe0ac55), Rgb(0x7d5224), 10 * (s / 16) * (s / 16), 28, 201);
    Speckle(image, Whole(image), Rgb(0xfff2ae), 0.10, 202);
    return image;
}

}  // namespace packgen

namespace packgen {

Image Igneous(int s, IgneousKind kind, bool polished) {
    const IgneousPalette p = PaletteOf(kind);
    const int k = std::max(1, s / 16);
    Image image(s, s);
    if (!polished) {
        Clouds(image, Whole(image), p.dark, p.light, 6, p.seed);
        Jitter(image, Whole(image), 8, p.seed + 1);
        Speckle(image, Whole(image), p.fleckDark, p.fleckDensity, p.seed + 2);
        Speckle(image, Whole(image), p.fleckLight, p.fleckDensity * 0.6, p.seed + 3);
        return image;
    }
    // Ground flat: the crystals fewer and finer, a cut rim round the slab.
    Grain(image, Whole(image), Mix(p.dark, p.light, 0.5), 3, p.seed + 4);
    Speckle(image, Whole(image), p.fleckDark, p.fleckDensity * 0.4, p.seed + 5);
    Speckle(image, Whole(image), p.fleckLight, p.fleckDensity * 0.3, p.seed + 6);
    Frame(image, Whole(image), k, Lighten(p.dark, -22));
    Bevel(image, {k, k, s - 2 * k, s - 2 * k}, 18, 14);
    return image;
}

Image RedSand(int s) {
    Image image(s, s);
    Grain(image, Whole(image), Rgb(0xbe6a2a), 7, 731);
    Speckle(image, Whole(image), Rgb(0x9a5220), 0.14, 732);
    Speckle(image, Whole(image), Rgb(0xd88a48), 0.07, 733);
    return image;
}

Image GrassPathStrip(int s) {
    const int k = std::max(1, s / 16);
    Image top(s, s);
    Clouds(top, Whole(top), Rgb(0x8a6e3a), Rgb(0xa08448), 4, 741);
    Jitter(top, Whole(top), 7, 742);
    Speckle(top, Whole(top), Rgb(0x6e5428), 0.10, 743);
    // The side: dirt, trodden down a pixel below the neighbouring grass, a worn band on top.
    Image side = Dirt(s);
    Fill(side, {0, k, s, 2 * k}, Rgb(0x947840));
    Jitter(side, {0, k, s, 2 * k}, 8, 744);
    HLine(side, 0, 3 * k, s, Rgb(0x5e4024));
    Fill(side, {0, 0, s, k}, Rgb(0x2e2a22));  // the shadow of the step down
    return Strip(side, top, Dirt(s));
}

}  // namespace packgen
