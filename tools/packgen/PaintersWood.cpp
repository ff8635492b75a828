// Wood and things made of it.
#include <algorithm>
#include <cmath>

#include "tools/packgen/Noise.h"
#include "tools/packgen/Painters.h"

namespace packgen {
namespace {

int Unit16(int s) { return std::max(1, s / 16); }

// A seed of its own for every kind of wood, so that oak and spruce boards do not line up.
std::uint32_t SeedOf(const WoodKind& wood, std::uint32_t salt) {
    return Mix(static_cast<std::uint32_t>(wood.plank.r) << 16 | static_cast<std::uint32_t>(wood.plank.g) << 8 | wood.plank.b) ^ salt;
}

// Birch: white papery bark with short black dashes across it.
void PaperyBark(Image& image, const WoodKind& wood) {
    const int s = image.Width(), k = Unit16(s);
    Grain(image, Whole(image), wood.bark, 5, SeedOf(wood, 1));
    Xorshift random(SeedOf(wood, 2));
    for (int i = 0; i < 7; ++i) {
        const int y = random.Below(s / k) * k, x = random.Below(s / k) * k, length = random.Between(2, 5) * k;
        Fill(image, {x, y, length, k}, wood.streak);
        Fill(image, {x + length - s, y, length, k}, wood.streak);  // wraps round the log
    }
}

// Tools hung on a crafting table's front: a saw blade and a hammer.
void Tools(Image& image) {
    const int s = image.Width(), k = Unit16(s);
    const Rgba iron = Rgb(0xb4b4b4), handle = Rgb(0x4a3520);
    Fill(image, {3 * k, 4 * k, 4 * k, 2 * k}, iron);    // saw blade
    Fill(image, {7 * k, 4 * k, 2 * k, 2 * k}, handle);  // saw grip
    Fill(image, {10 * k, 4 * k, 3 * k, 2 * k}, iron);   // hammer head
    Fill(image, {11 * k, 6 * k, k, 5 * k}, handle);     // hammer shaft
}

// The books standing on one shelf between rows y and y + height.
void Books(Image& image, int y, int height, std::uint32_t seed) {
    static constexpr std::uint32_t kCovers[] = {0x8a2e22, 0x2c4a8a, 0x3c6e2a, 0x6e4a24, 0x8a7a32, 0x5a2a6a, 0x2a2a2a};
    const int s = image.Width(), k = Unit16(s);
    Xorshift random(seed);
    for (int x = k; x < s - k;) {
        const int width = std::min(random.Between(1, 2) * k, s - k - x);
        const int tall = height - random.Below(2) * k;
        const Rgba cover = Rgb(kCovers[random.Below(7)]);
        Fill(image, {x, y + height - tall, width, tall}, cover);
        HLine(image, x, y + height - tall, width, Lighten(cover, 40));
        Fill(image, {x, y + height - tall + 2 * k, width, k}, Lighten(cover, 50));  // a band on the spine
        x += width;
    }
}

}  // namespace

Image Planks(int s, const WoodKind& wood) {
    Image image(s, s);
    Boards(image, Whole(image), 4 * Unit16(s), wood.plank, SeedOf(wood, 10));
    return image;
}

Image LogStrip(int s, const WoodKind& wood) {
    Image side(s, s);
    if (wood.papery)
        PaperyBark(side, wood);
    else
        Bark(side, Whole(side), wood.bark, wood.streak, SeedOf(wood, 20));
    Image end(s, s);
    Rings(end, Whole(end), wood.ringLight, wood.ringDark, wood.papery ? Lighten(wood.bark, -30) : wood.bark,
          SeedOf(wood, 21));
    return Strip(side, end, end);
}

Image Leaves(int s) { return Leaves(s, kOakLeaves); }

Image Leaves(int s, const LeafColours& colours) {
    Image image(s, s);
    Clouds(image, Whole(image), colours.dark, colours.light, 4, colours.seed);
    Jitter(image, Whole(image), 14, colours.seed + 1);
    Speckle(image, Whole(image), colours.highlight, 0.08, colours.seed + 2);
    Speckle(image, Whole(image), colours.shadow, 0.10, colours.seed + 3);
    Holes(image, Whole(image), 0.30, colours.seed + 4);
    return image;
}

Image BookshelfStrip(int s) {
    const int k = Unit16(s);
    Image side = Planks(s, kOak);
    Fill(side, {0, k, s, 6 * k}, Rgb(0x2e2214));  // the dark back of the upper shelf
    Fill(side, {0, 9 * k, s, 6 * k}, Rgb(0x2e2214));
    Books(side, k, 6 * k, 411);
    Books(side, 9 * k, 6 * k, 412);
    Image top = Planks(s, kOak);
    return Strip(side, top, top);
}

Image CraftingTableStrip(int s) {
    const int k = Unit16(s);
    Image front = Planks(s, kOak);
    Fill(front, {0, 0, s, 2 * k}, Lighten(kOak.plank, -25));  // the table top's edge
    Tools(front);
    Image side = Planks(s, kOak);
    Fill(side, {0, 0, s, 2 * k}, Lighten(kOak.plank, -25));
    Fill(side, {3 * k, 5 * k, 10 * k, 6 * k}, Lighten(kOak.plank, -40));  // a drawer
    Bevel(side, {3 * k, 5 * k, 10 * k, 6 * k}, -15, -20);
    Fill(side, {7 * k, 7 * k, 2 * k, k}, Rgb(0x2a1e10));
    Image top = Planks(s, kOak);
    for (int i = 0; i < 4; ++i) {  // the 3 x 3 crafting grid
        const int at = k + i * (14 * k / 3);
        HLine(top, k, at, 14 * k, Rgb(0x3a2a16));
        VLine(top, at, k, 14 * k, Rgb(0x3a2a16));
    }
    Frame(top, Whole(top), k, Lighten(kOak.plank, -40));
    return Strip(front, side, front, side, top, Planks(s, kOak));
}

Image Ladder(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    const Rgba wood = kOak.plank;
    for (int x : {2 * k, s - 4 * k}) {
        Fill(image, {x, 0, 2 * k, s}, wood);
        VLine(image, x, 0, s, Lighten(wood, 18));
        VLine(image, x + 2 * k - 1, 0, s, Lighten(wood, -30));
    }
    for (int y = 2 * k; y < s; y += 4 * k) {
        Fill(image, {4 * k, y, s - 8 * k, k + k / 2 + 1}, Lighten(wood, -6));
        HLine(image, 4 * k, y + k + k / 2, s - 8 * k, Lighten(wood, -40));
    }
    return image;
}

Image Fence(int s) { return Fence(s, kOak); }

Image Fence(int s, const WoodKind& kind) {
    const int k = Unit16(s);
    Image image(s, s);
    const Rgba wood = kind.plank;
    for (int y : {3 * k, 9 * k}) {  // two rails
        Fill(image, {0, y, s, 3 * k}, Lighten(wood, -8));
        HLine(image, 0, y, s, Lighten(wood, 20));
        HLine(image, 0, y + 3 * k - 1, s, Lighten(wood, -35));
    }
    Fill(image, {6 * k, 0, 4 * k, s}, wood);  // the post
    Jitter(image, {6 * k, 0, 4 * k, s}, 8, 421);
    VLine(image, 6 * k, 0, s, Lighten(wood, 20));
    VLine(image, 10 * k - 1, 0, s, Lighten(wood, -35));
    return image;
}

Image Door(int s) { return Door(s, kOak); }

Image Door(int s, const WoodKind& kind) {
    const int k = Unit16(s);
    Image image(s, s);
    const Rgba wood = Lighten(kind.plank, -8);
    for (int x = 0; x < s; x += 4 * k) {  // upright boards
        Grain(image, {x, 0, 4 * k, s}, Lighten(wood, static_cast<int>(Signed(x, 0, 431) * 8)), 6, 432);
        VLine(image, x + 4 * k - 1, 0, s, Lighten(wood, -40));
    }
    Frame(image, Whole(image), k, Lighten(wood, -30));
    for (int i = 0; i < 2; ++i) {  // two small windows up top
        const Rect pane{(3 + i * 6) * k, 2 * k, 4 * k, 4 * k};
        Fill(image, pane, Rgb(0x6f8aa0));
        Put(image, pane.x + k, pane.y + k, Rgb(0xc8d8e8));
        Frame(image, {pane.x - k, pane.y - k, pane.w + 2 * k, pane.h + 2 * k}, k, Lighten(wood, -35));
    }
    Fill(image, {12 * k, 9 * k, 2 * k, k}, Rgb(0x2a2a2a));  // handle
    return image;
}

Image ChestStrip(int s) {
    const int k = Unit16(s);
    const Rgba wood = Rgb(0xa06a28), band = Rgb(0x3a2612);
    Image side(s, s);
    Boards(side, Whole(side), 4 * k, wood, 441);
    Frame(side, Whole(side), k, band);
    HLine(side, 0, 5 * k, s, band);  // the lid's rim
    HLine(side, 0, 6 * k, s, Lighten(band, 20));
    Image front = side;
    Fill(front, {7 * k, 4 * k, 2 * k, 4 * k}, Rgb(0xb8b8b8));  // the latch
    Put(front, 7 * k, 4 * k, Rgb(0xe8e8e8));
    Fill(front, {7 * k, 6 * k, 2 * k, k}, Rgb(0x404040));
    Image top(s, s);
    Boards(top, Whole(top), 4 * k, wood, 442);
    Frame(top, Whole(top), k, band);
    return Strip(front, side, side, side, top, top);
}

Image NoteBlock(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Boards(image, Whole(image), 4 * k, Rgb(0x6a4432), 451);
    Frame(image, Whole(image), k, Rgb(0x3a2218));
    const Rgba ink = Rgb(0x101010);
    // An eighth note: a round head, a stem and a flag.
    Disc(image, 6.0 * k, 11.0 * k, 2.2 * k, ink);
    Fill(image, {8 * k, 3 * k, k, 8 * k}, ink);
    Fill(image, {9 * k, 3 * k, 2 * k, k}, ink);
    Fill(image, {10 * k, 4 * k, 2 * k, 2 * k}, ink);
    return image;
}

Image Torch(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    Fill(image, {7 * k, 6 * k, 2 * k, 10 * k}, Rgb(0x6b4a26));  // the stick
    VLine(image, 7 * k, 6 * k, 10 * k, Rgb(0x8a6434));
    Fill(image, {6 * k, 3 * k, 4 * k, 4 * k}, WithAlpha(Rgb(0xffd040), 110));  // glow
    Fill(image, {7 * k, 3 * k, 2 * k, 3 * k}, Rgb(0xffa020));               // flame
    Fill(image, {7 * k, 4 * k, k, k}, Rgb(0xfff0a0));
    Put(image, 8 * k, 2 * k, Rgb(0xff7010));
    return image;
}

Image WallTorch(int s) {
    const int k = Unit16(s);
    Image image(s, s);
    // The stick leans out from the wall: it climbs one pixel to the right every three up.
    for (int i = 0; i < 10; ++i) {
        const int x = 6 * k + (i / 3) * k, y = (15 - i) * k;
        Fill(image, {x, y, 2 * k, k}, Rgb(0x6b4a26));
        Put(image, x, y, Rgb(0x8a6434));
    }
    const int top = 9 * k;  // x of the stick's upper end
    Fill(image, {top - k, 2 * k, 4 * k, 4 * k}, WithAlpha(Rgb(0xffd040), 110));  // glow
    Fill(image, {top, 2 * k, 2 * k, 3 * k}, Rgb(0xffa020));                     // flame
    Fill(image, {top, 3 * k, k, k}, Rgb(0xfff0a0));
    Put(image, top + k, k, Rgb(0xff7010));
    Fill(image, {4 * k, 13 * k, 5 * k, 3 * k}, Rgb(0x5a5a5a));  // the bracket on the wall
    return image;
}

}  // namespace packgen
