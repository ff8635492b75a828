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

// Bricks, cut stone, quartz and mineral blocks.
enum class StoneBrickKind { Plain, Chiseled, Mossy, Cracked };
enum class SandstoneKind { Plain, Chiseled, Smooth };
enum class QuartzKind { Block, Chiseled };
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

Image LogStrip(int s, const WoodKind& wood);
Image Planks(int s, const WoodKind& wood);
Image Leaves(int s);
Image BookshelfStrip(int s);
Image CraftingTableStrip(int s);
Image Ladder(int s);
Image Fence(int s);
Image Door(int s);
Image ChestStrip(int s);
Image NoteBlock(int s);
Image Torch(int s);

// Wool, glass and blocks with drawn-on features.
Image Wool(int s, Rgba colour);
Image Glass(int s);
Image StainedGlass(int s, Rgba tint);
Image GlassPane(int s);
Image IronBars(int s);
Image PumpkinStrip(int s, bool lit);
Image MelonStrip(int s);
Image CactusStrip(int s);
Image TntStrip(int s);
Image HayBaleStrip(int s);
Image FurnaceStrip(int s);
Image Spawner(int s);
Image Prismarine(int s);
Image SeaLantern(int s);

}  // namespace packgen
