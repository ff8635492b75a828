#pragma once

#include "tools/packgen/Paint.h"

// One painter per kind of block picture. Each takes the face size in pixels (16 or 32) and
// returns a square face, or a strip of six faces (four sides, top, bottom) for blocks whose
// faces differ. Pictures of see-through blocks carry real alpha; all others are opaque.
namespace packgen {

// Earth, stone, fluids and ores.
Image Stone(int s);
Image Dirt(int s);
Image GrassStrip(int s);
Image MyceliumStrip(int s);
Image Cobblestone(int s);
Image MossyCobblestone(int s);
Image Bedrock(int s);
Image Water(int s);
Image Lava(int s);
Image Sand(int s);
Image Gravel(int s);
Image Ore(int s, Rgba fleck, std::uint32_t seed);
Image NetherQuartzOre(int s);
Image Obsidian(int s);
Image Netherrack(int s);
Image SoulSand(int s);
Image EndStone(int s);
Image Clay(int s, Rgba base);
Image SnowLayer(int s);
Image SnowBlock(int s);
Image Ice(int s);
Image PackedIce(int s);
Image Sponge(int s);
Image Glowstone(int s);
// Granite, diorite and andesite, rough as they are mined or polished into slabs of one piece.
enum class IgneousKind { Granite, Diorite, Andesite };
Image Igneous(int s, IgneousKind kind, bool polished);
Image RedSand(int s);
Image GrassPathStrip(int s);

// Bricks, cut stone, quartz and mineral blocks.
enum class StoneBrickKind { Plain, Chiseled, Mossy, Cracked };
// Smooth is the old name of cut sandstone, drawn as a dressed face; Cut is the same face cut
// into courses of blocks, as the game draws cut sandstone; Flat is the 1.13 smooth sandstone,
// one even face.
enum class SandstoneKind { Plain, Chiseled, Smooth, Flat, Cut };
enum class QuartzKind { Block, Chiseled, Smooth };
enum class MineralKind { Shiny, Plated, Faceted, Grainy };
struct SandPalette {
    Rgba light, mid, dark;
};
inline constexpr SandPalette kYellowSand{Rgb(0xe3d8a8), Rgb(0xd8cb96), Rgb(0xbfb07a)};
inline constexpr SandPalette kRedSand{Rgb(0xc06a2a), Rgb(0xb35f22), Rgb(0x93491a)};

Image BrickBlock(int s);
Image NetherBrick(int s);
Image StoneBricks(int s, StoneBrickKind kind);
Image Sandstone(int s, SandstoneKind kind, const SandPalette& palette);
Image Quartz(int s, QuartzKind kind);
Image QuartzPillarStrip(int s);
Image Mineral(int s, Rgba base, MineralKind kind);
Image DoubleStoneSlab(int s);
// The smooth stone of 1.13: one even slab of pale stone with a darker rim.
Image SmoothStoneBlock(int s);
Image PrismarineBricks(int s);
Image DarkPrismarine(int s);
// A cobblestone wall seen from the side: the post full high, the wall lower, air above it.
Image CobblestoneWall(int s);
// The picture of a full block turned into one of a stair (the upper right quarter sunk in
// shadow) or of a slab (the upper half sunk in shadow).
Image AsStairs(Image full);
Image AsSlab(Image full);

// Wood.
struct WoodKind {
    Rgba plank, bark, streak, ringLight, ringDark;
    bool papery;  // birch: white bark with black dashes
};
inline constexpr WoodKind kOak{Rgb(0xa2834f), Rgb(0x6b5331), Rgb(0x4a3920), Rgb(0xb8945e), Rgb(0x977545), false};
inline constexpr WoodKind kSpruce{Rgb(0x735533), Rgb(0x3d2a14), Rgb(0x271a0b), Rgb(0x8a6a40), Rgb(0x69502f), false};
inline constexpr WoodKind kBirch{Rgb(0xc8b77a), Rgb(0xdcdad2), Rgb(0x2e2e2a), Rgb(0xd6c68e), Rgb(0xb9a870), true};
inline constexpr WoodKind kJungle{Rgb(0xa97652), Rgb(0x56441c), Rgb(0x6b6a26), Rgb(0xb88b5b), Rgb(0x986b42), false};
inline constexpr WoodKind kAcacia{Rgb(0xae5d34), Rgb(0x686157), Rgb(0x4a453c), Rgb(0xc0703e), Rgb(0x9a4e2a), false};
inline constexpr WoodKind kDarkOak{Rgb(0x472d14), Rgb(0x4a3c2a), Rgb(0x6e5e44), Rgb(0x5a3c1e), Rgb(0x3e2810), false};

// The two greens of a tree's leaves and a seed of their own, so that no two trees match.
struct LeafColours {
    Rgba dark, light, highlight, shadow;
    std::uint32_t seed;
};
inline constexpr LeafColours kOakLeaves{Rgb(0x2f6a1a), Rgb(0x4d9a2c), Rgb(0x6cbc44), Rgb(0x1f4a10), 401};
inline constexpr LeafColours kSpruceLeaves{Rgb(0x2a4a2e), Rgb(0x3e6446), Rgb(0x5a8060), Rgb(0x182e1a), 4101};
inline constexpr LeafColours kBirchLeaves{Rgb(0x5a7a34), Rgb(0x86a85a), Rgb(0xa8c47c), Rgb(0x40582a), 4201};
inline constexpr LeafColours kJungleLeaves{Rgb(0x2a7e0e), Rgb(0x52b822), Rgb(0x8ad84a), Rgb(0x1a5206), 4301};
inline constexpr LeafColours kAcaciaLeaves{Rgb(0x5a7a12), Rgb(0x7e9e22), Rgb(0xa0b840), Rgb(0x3c5208), 4401};
inline constexpr LeafColours kDarkOakLeaves{Rgb(0x1e4a0c), Rgb(0x366e1a), Rgb(0x4e8a2a), Rgb(0x10300a), 4501};

Image LogStrip(int s, const WoodKind& wood);
Image Planks(int s, const WoodKind& wood);
Image Leaves(int s);  // oak's
Image Leaves(int s, const LeafColours& colours);
Image BookshelfStrip(int s);
Image CraftingTableStrip(int s);
Image Ladder(int s);
Image Fence(int s);  // oak's
Image Fence(int s, const WoodKind& wood);
Image Door(int s);  // oak's
Image Door(int s, const WoodKind& wood);
Image ChestStrip(int s);
Image NoteBlock(int s);
Image Torch(int s);
// A torch fixed to the wall behind it, leaning out of the face.
Image WallTorch(int s);

// Wool, glass and blocks with drawn-on features.
Image Wool(int s, Rgba colour);
Image Glass(int s);
Image StainedGlass(int s, Rgba tint);
Image GlassPane(int s);
Image IronBars(int s);
Image PumpkinStrip(int s, bool lit);
Image MelonStrip(int s);
Image CactusStrip(int s);
// The cactus as the game draws it, its sides a pixel (of 16) narrower than the block.
Image InsetCactusStrip(int s);
Image TntStrip(int s);
Image HayBaleStrip(int s);
Image FurnaceStrip(int s);
Image Spawner(int s);
Image Prismarine(int s);
Image SeaLantern(int s);
// Concrete: one even, faintly mottled colour. Terracotta: fired clay of a muted colour.
Image Concrete(int s, Rgba colour);
Image Terracotta(int s, Rgba colour);
// The mark of a block that a pack has no picture for: nothing a builder would take for a block.
Image UnknownBlock(int s);

}  // namespace packgen
