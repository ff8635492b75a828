#include "tools/packgen/PackContents.h"

#include <algorithm>
#include <map>

#include "common/BlockDataValues.h"
#include "common/BlockNames.h"
#include "tools/packgen/Painters.h"

namespace packgen {
namespace {

// Faces are drawn at 16 pixels for the classic look; blocks with fine carving or knitting
// are drawn at 32 so that the editor's 32-pixel tiles show them unscaled.
constexpr int kSmall = 16;
constexpr int kLarge = 32;

class PackList {
public:
    void Add(std::string name, Image image, Encoding encoding = Encoding::Png) {
        pictures_.push_back({std::move(name), std::move(image), encoding});
    }
    std::vector<PackPicture> Take() { return std::move(pictures_); }

private:
    std::vector<PackPicture> pictures_;
};

// The sixteen wool colours in the order of their data values 0 to 15.
struct WoolColour {
    const char* name;
    std::uint32_t rgb;
};
constexpr WoolColour kWoolColours[16] = {
    {"white", 0xe4e8e8},  {"orange", 0xe8761a},     {"magenta", 0xb84cb0}, {"light_blue", 0x4aa8d8},
    {"yellow", 0xecc430}, {"lime", 0x70b82a},       {"pink", 0xe08eaa},    {"gray", 0x464c50},
    {"light_gray", 0x9a9a94}, {"cyan", 0x20888e},   {"purple", 0x7a32aa},  {"blue", 0x383ca0},
    {"brown", 0x74492a},  {"green", 0x566e22},      {"red", 0xa42c28},     {"black", 0x1e1e22},
};

// Entries 1 to 12: the ground a building stands on, fluids and the common ores.
void AddGround(PackList& pack) {
    pack.Add("stone_001.png", Stone(kSmall));
    pack.Add("grass_002.png", GrassStrip(kSmall));
    pack.Add("dirt_003.png", Dirt(kSmall));
    pack.Add("cobblestone_004.png", Cobblestone(kSmall));
    pack.Add("sand_012.png", Sand(kSmall));
    pack.Add("gravel_013.png", Gravel(kSmall));
    pack.Add("bedrock_007.png", Bedrock(kSmall));
    pack.Add("t.water_009.png", Water(kSmall));
    pack.Add("lava_011.png", Lava(kSmall));
    pack.Add("coal_ore_016.png", Ore(kSmall, Rgb(0x262626), 601));
    pack.Add("iron_ore_015.png", Ore(kSmall, Rgb(0xd2a688), 602));
    pack.Add("gold_ore_014.png", Ore(kSmall, Rgb(0xf2dc3c), 603));
}

// Entries 13 to 28, whose positions give the wool's data value.
void AddWool(PackList& pack) {
    for (const WoolColour& colour : kWoolColours)
        pack.Add(std::string(colour.name) + "_wool_035.png", Wool(kLarge, Rgb(colour.rgb)));
}

// Entries 29 to 52: rarer ores, the everyday building blocks, furniture, mineral blocks.
void AddBuildingBlocks(PackList& pack) {
    pack.Add("diamond_ore_056.png", Ore(kSmall, Rgb(0x6ae8e8), 604));
    pack.Add("redstone_ore_073.png", Ore(kSmall, Rgb(0xd01010), 605));
    pack.Add("lapis_ore_021.png", Ore(kSmall, Rgb(0x2448b8), 606));
    pack.Add("emerald_ore_129.png", Ore(kSmall, Rgb(0x20d060), 607));
    pack.Add("bricks_045.png", BrickBlock(kLarge));
    pack.Add("mossy_cobblestone_048.png", MossyCobblestone(kSmall));
    pack.Add("obsidian_049.png", Obsidian(kSmall));
    pack.Add("t.glass_020.png", Glass(kLarge));
    pack.Add("t.leaves_018.png", Leaves(kSmall));
    pack.Add("t.torch_050.png", Torch(kSmall));
    pack.Add("snow_080.png", SnowBlock(kSmall));
    pack.Add("t.ice_079.png", Ice(kSmall));
    pack.Add("clay_082.png", Clay(kSmall, Rgb(0x9ea4b0)));
    pack.Add("bookshelf_047.png", BookshelfStrip(kSmall));
    pack.Add("crafting_table_058.png", CraftingTableStrip(kSmall));
    pack.Add("furnace_061.png", FurnaceStrip(kSmall));
    pack.Add("chest_054.png", ChestStrip(kSmall));
    pack.Add("tnt_046.png", TntStrip(kSmall));
    pack.Add("pumpkin_086.png", PumpkinStrip(kSmall, false));
    pack.Add("jack_o_lantern_091.png", PumpkinStrip(kSmall, true));
    pack.Add("gold_block_041.png", Mineral(kSmall, Rgb(0xf0cc30), MineralKind::Shiny));
    pack.Add("iron_block_042.png", Mineral(kSmall, Rgb(0xd8d8d8), MineralKind::Plated));
    pack.Add("diamond_block_057.png", Mineral(kSmall, Rgb(0x60d8d0), MineralKind::Faceted));
    pack.Add("lapis_block_022.png", Mineral(kSmall, Rgb(0x244a9e), MineralKind::Grainy));
}

// Entries 53 to 71: quartz, sandstone, stone bricks and the stairs and slabs between them.
void AddCutStone(PackList& pack) {
    pack.Add("chiseled_quartz_155.png", Quartz(kLarge, QuartzKind::Chiseled));
    pack.Add("quartz_pillar_155.png", QuartzPillarStrip(kLarge));
    pack.Add("quartz_block_155.png", Quartz(kLarge, QuartzKind::Block));
    pack.Add("double_stone_slab_043.png", DoubleStoneSlab(kSmall));
    pack.Add("stone_slab_044.png", AsSlab(DoubleStoneSlab(kSmall)));
    pack.Add("chiseled_sandstone_024.png", Sandstone(kLarge, SandstoneKind::Chiseled, kYellowSand));
    pack.Add("sandstone_024.png", Sandstone(kLarge, SandstoneKind::Plain, kYellowSand));
    pack.Add("smooth_sandstone_024.png", Sandstone(kLarge, SandstoneKind::Smooth, kYellowSand));
    pack.Add("cobblestone_stairs_067.png", AsStairs(Cobblestone(kSmall)));
    pack.Add("oak_stairs_053.png", AsStairs(Planks(kSmall, kOak)));
    pack.Add("brick_stairs_108.png", AsStairs(BrickBlock(kLarge)));
    pack.Add("stone_brick_stairs_109.png", AsStairs(StoneBricks(kLarge, StoneBrickKind::Plain)));
    pack.Add("stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Plain));
    pack.Add("chiseled_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Chiseled));
    pack.Add("mossy_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Mossy));
    pack.Add("cracked_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Cracked));
    pack.Add("t.glass_pane_102.png", GlassPane(kLarge));
    pack.Add("t.iron_bars_101.png", IronBars(kSmall));
    pack.Add("t.fence_085.png", Fence(kSmall));
}

// Entries 72 to 81: logs and planks, whose positions give the kind of wood.
void AddWood(PackList& pack) {
    pack.Add("birch_log_017.png", LogStrip(kSmall, kBirch));
    pack.Add("jungle_log_017.png", LogStrip(kSmall, kJungle));
    pack.Add("oak_log_017.png", LogStrip(kSmall, kOak));
    pack.Add("spruce_log_017.png", LogStrip(kSmall, kSpruce));
    pack.Add("t.ladder_065.png", Ladder(kSmall));
    pack.Add("wooden_door_064.png", Door(kSmall));
    pack.Add("oak_planks_005.png", Planks(kSmall, kOak));
    pack.Add("spruce_planks_005.png", Planks(kSmall, kSpruce));
    pack.Add("birch_planks_005.png", Planks(kSmall, kBirch));
    pack.Add("jungle_planks_005.png", Planks(kSmall, kJungle));
}

// Entries 82 on: the Nether and the End, newer building blocks and decoration.
void AddDecoration(PackList& pack) {
    pack.Add("netherrack_087.png", Netherrack(kLarge), Encoding::Jpeg);
    pack.Add("soul_sand_088.png", SoulSand(kSmall));
    pack.Add("glowstone_089.png", Glowstone(kSmall));
    pack.Add("nether_bricks_112.png", NetherBrick(kSmall));
    pack.Add("nether_quartz_ore_153.png", NetherQuartzOre(kSmall));
    pack.Add("end_stone_121.png", EndStone(kSmall));
    pack.Add("mycelium_110.png", MyceliumStrip(kSmall));
    pack.Add("emerald_block_133.png", Mineral(kSmall, Rgb(0x2ac860), MineralKind::Faceted));
    pack.Add("redstone_block_152.png", Mineral(kSmall, Rgb(0xb01a0a), MineralKind::Grainy));
    pack.Add("coal_block_173.png", Mineral(kSmall, Rgb(0x1e1e1e), MineralKind::Grainy));
    pack.Add("hardened_clay_172.png", Clay(kLarge, Rgb(0x96604a)), Encoding::Jpeg);
    pack.Add("packed_ice_174.png", PackedIce(kSmall));
    pack.Add("hay_block_170.png", HayBaleStrip(kSmall));
    pack.Add("melon_103.png", MelonStrip(kSmall));
    pack.Add("cactus_081.png", CactusStrip(kSmall));
    pack.Add("sponge_019.png", Sponge(kSmall));
    pack.Add("note_block_025.png", NoteBlock(kSmall));
    pack.Add("prismarine_168.png", Prismarine(kSmall));
    pack.Add("sea_lantern_169.png", SeaLantern(kSmall));
    pack.Add("red_sandstone_179.png", Sandstone(kLarge, SandstoneKind::Plain, kRedSand));
    pack.Add("t.mob_spawner_052.png", Spawner(kSmall));
    pack.Add("t.white_stained_glass_095.png", StainedGlass(kLarge, Rgb(0xf0f0f0)));
    pack.Add("t.red_stained_glass_095.png", StainedGlass(kLarge, Rgb(0xa83030)));
    pack.Add("t.blue_stained_glass_095.png", StainedGlass(kLarge, Rgb(0x3444b0)));
    pack.Add("snow_layer_078.png", SnowLayer(kSmall));
}

// The game's sixteen colours: wool as above, concrete brighter and flatter, terracotta the
// muted colours of fired clay. Stained glass takes the wool's, but for the three panes that
// "stackmason.zip" already tints.
constexpr std::uint32_t kConcreteColours[16] = {0xcfd5d6, 0xe06100, 0xa9309f, 0x2389c6, 0xf0af15, 0x5ea818,
                                                0xd5658e, 0x36393d, 0x7d7d73, 0x157788, 0x64209c, 0x2c2e8f,
                                                0x603b1f, 0x495b24, 0x8e2020, 0x0c0e12};
constexpr std::uint32_t kTerracottaColours[16] = {0xd1b2a1, 0xa15325, 0x95576c, 0x706c8a, 0xba8523, 0x677534,
                                                  0xa14e4e, 0x392a23, 0x876b62, 0x575b5b, 0x764656, 0x4a3b5b,
                                                  0x4d3323, 0x4c532a, 0x8e3c2e, 0x251610};
std::uint32_t StainedGlassTint(int colour) {
    switch (colour) {
    case 0: return 0xf0f0f0;
    case 11: return 0x3444b0;
    case 14: return 0xa83030;
    default: return kWoolColours[colour].rgb;
    }
}

struct Wood {
    const char* name;
    const WoodKind* kind;
    const char* logId;     // the block id of its log
    const char* stairsId;  // and of its stairs, fence and door
    const char* fenceId;
    const char* doorId;
    const char* leavesId;
    const LeafColours* leaves;
};
const Wood kWoods[6] = {
    {"oak", &kOak, "017", "053", "085", "064", "018", &kOakLeaves},
    {"spruce", &kSpruce, "017", "134", "188", "193", "018", &kSpruceLeaves},
    {"birch", &kBirch, "017", "135", "189", "194", "018", &kBirchLeaves},
    {"jungle", &kJungle, "017", "136", "190", "195", "018", &kJungleLeaves},
    {"acacia", &kAcacia, "162", "163", "192", "196", "161", &kAcaciaLeaves},
    {"dark_oak", &kDarkOak, "162", "164", "191", "197", "161", &kDarkOakLeaves},
};

std::string Named(const char* prefix, const char* block, const char* suffix, const char* id) {
    return std::string(prefix) + block + suffix + "_" + id + ".png";
}

void AddGameGround(PackList& pack) {
    pack.Add("stone_001.png", Stone(kSmall));
    pack.Add("granite_001.png", Igneous(kSmall, IgneousKind::Granite, false));
    pack.Add("polished_granite_001.png", Igneous(kSmall, IgneousKind::Granite, true));
    pack.Add("diorite_001.png", Igneous(kSmall, IgneousKind::Diorite, false));
    pack.Add("polished_diorite_001.png", Igneous(kSmall, IgneousKind::Diorite, true));
    pack.Add("andesite_001.png", Igneous(kSmall, IgneousKind::Andesite, false));
    pack.Add("polished_andesite_001.png", Igneous(kSmall, IgneousKind::Andesite, true));
    pack.Add("grass_block_002.png", GrassStrip(kSmall));
    pack.Add("dirt_003.png", Dirt(kSmall));
    pack.Add("grass_path_208.png", GrassPathStrip(kSmall));
    pack.Add("sand_012.png", Sand(kSmall));
    pack.Add("red_sand_012.png", RedSand(kSmall));
    pack.Add("gravel_013.png", Gravel(kSmall));
    pack.Add("clay_082.png", Clay(kSmall, Rgb(0x9ea4b0)));
    pack.Add("snow_block_080.png", SnowBlock(kSmall));
    pack.Add("snow_layer_078.png", SnowLayer(kSmall));
    pack.Add("t.ice_079.png", Ice(kSmall));
    pack.Add("packed_ice_174.png", PackedIce(kSmall));
    pack.Add("bedrock_007.png", Bedrock(kSmall));
    pack.Add("t.water_009.png", Water(kSmall));
    pack.Add("lava_011.png", Lava(kSmall));
    pack.Add("obsidian_049.png", Obsidian(kSmall));
    pack.Add("netherrack_087.png", Netherrack(kLarge), Encoding::Jpeg);
    pack.Add("soul_sand_088.png", SoulSand(kSmall));
    pack.Add("end_stone_121.png", EndStone(kSmall));
    pack.Add("mycelium_110.png", MyceliumStrip(kSmall));
}

void AddGameOres(PackList& pack) {
    pack.Add("coal_ore_016.png", Ore(kSmall, Rgb(0x262626), 601));
    pack.Add("iron_ore_015.png", Ore(kSmall, Rgb(0xd2a688), 602));
    pack.Add("gold_ore_014.png", Ore(kSmall, Rgb(0xf2dc3c), 603));
    pack.Add("diamond_ore_056.png", Ore(kSmall, Rgb(0x6ae8e8), 604));
    pack.Add("redstone_ore_073.png", Ore(kSmall, Rgb(0xd01010), 605));
    pack.Add("lapis_ore_021.png", Ore(kSmall, Rgb(0x2448b8), 606));
    pack.Add("emerald_ore_129.png", Ore(kSmall, Rgb(0x20d060), 607));
    pack.Add("nether_quartz_ore_153.png", NetherQuartzOre(kSmall));
    pack.Add("coal_block_173.png", Mineral(kSmall, Rgb(0x1e1e1e), MineralKind::Grainy));
    pack.Add("iron_block_042.png", Mineral(kSmall, Rgb(0xd8d8d8), MineralKind::Plated));
    pack.Add("gold_block_041.png", Mineral(kSmall, Rgb(0xf0cc30), MineralKind::Shiny));
    pack.Add("diamond_block_057.png", Mineral(kSmall, Rgb(0x60d8d0), MineralKind::Faceted));
    pack.Add("redstone_block_152.png", Mineral(kSmall, Rgb(0xb01a0a), MineralKind::Grainy));
    pack.Add("lapis_block_022.png", Mineral(kSmall, Rgb(0x244a9e), MineralKind::Grainy));
    pack.Add("emerald_block_133.png", Mineral(kSmall, Rgb(0x2ac860), MineralKind::Faceted));
}

void AddGameStone(PackList& pack) {
    pack.Add("cobblestone_004.png", Cobblestone(kSmall));
    pack.Add("mossy_cobblestone_048.png", MossyCobblestone(kSmall));
    pack.Add("stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Plain));
    pack.Add("mossy_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Mossy));
    pack.Add("cracked_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Cracked));
    pack.Add("chiseled_stone_bricks_098.png", StoneBricks(kLarge, StoneBrickKind::Chiseled));
    pack.Add("smooth_stone_043.png", SmoothStoneBlock(kSmall));
    pack.Add("sandstone_024.png", Sandstone(kLarge, SandstoneKind::Plain, kYellowSand));
    pack.Add("chiseled_sandstone_024.png", Sandstone(kLarge, SandstoneKind::Chiseled, kYellowSand));
    pack.Add("cut_sandstone_024.png", Sandstone(kLarge, SandstoneKind::Cut, kYellowSand));
    pack.Add("smooth_sandstone_block_043.png", Sandstone(kLarge, SandstoneKind::Flat, kYellowSand));
    pack.Add("red_sandstone_179.png", Sandstone(kLarge, SandstoneKind::Plain, kRedSand));
    pack.Add("chiseled_red_sandstone_179.png", Sandstone(kLarge, SandstoneKind::Chiseled, kRedSand));
    pack.Add("cut_red_sandstone_179.png", Sandstone(kLarge, SandstoneKind::Cut, kRedSand));
    pack.Add("smooth_red_sandstone_181.png", Sandstone(kLarge, SandstoneKind::Flat, kRedSand));
    pack.Add("bricks_045.png", BrickBlock(kLarge));
    pack.Add("nether_bricks_112.png", NetherBrick(kSmall));
    pack.Add("quartz_block_155.png", Quartz(kLarge, QuartzKind::Block));
    pack.Add("chiseled_quartz_155.png", Quartz(kLarge, QuartzKind::Chiseled));
    pack.Add("quartz_pillar_155.png", QuartzPillarStrip(kLarge));
    pack.Add("smooth_quartz_043.png", Quartz(kLarge, QuartzKind::Smooth));
    pack.Add("prismarine_168.png", Prismarine(kSmall));
    pack.Add("prismarine_bricks_168.png", PrismarineBricks(kSmall));
    pack.Add("dark_prismarine_168.png", DarkPrismarine(kSmall));
}

void AddGameStoneShapes(PackList& pack) {
    pack.Add("stone_slab_044.png", AsSlab(DoubleStoneSlab(kSmall)));
    pack.Add("double_stone_slab_043.png", DoubleStoneSlab(kSmall));
    pack.Add("cobblestone_slab_044.png", AsSlab(Cobblestone(kSmall)));
    pack.Add("sandstone_slab_044.png", AsSlab(Sandstone(kLarge, SandstoneKind::Plain, kYellowSand)));
    pack.Add("brick_slab_044.png", AsSlab(BrickBlock(kLarge)));
    pack.Add("stone_brick_slab_044.png", AsSlab(StoneBricks(kLarge, StoneBrickKind::Plain)));
    pack.Add("quartz_slab_044.png", AsSlab(Quartz(kLarge, QuartzKind::Block)));
    pack.Add("cobblestone_stairs_067.png", AsStairs(Cobblestone(kSmall)));
    pack.Add("sandstone_stairs_128.png", AsStairs(Sandstone(kLarge, SandstoneKind::Plain, kYellowSand)));
    pack.Add("brick_stairs_108.png", AsStairs(BrickBlock(kLarge)));
    pack.Add("stone_brick_stairs_109.png", AsStairs(StoneBricks(kLarge, StoneBrickKind::Plain)));
    pack.Add("nether_brick_stairs_114.png", AsStairs(NetherBrick(kSmall)));
    pack.Add("quartz_stairs_156.png", AsStairs(Quartz(kLarge, QuartzKind::Block)));
    pack.Add("t.cobblestone_wall_139.png", CobblestoneWall(kSmall));
}

// Each kind of wooden block for all six woods before the next kind.
void AddGameWood(PackList& pack) {
    for (const Wood& wood : kWoods)
        pack.Add(Named("", wood.name, "_planks", "005"), Planks(kSmall, *wood.kind));
    for (const Wood& wood : kWoods)
        pack.Add(Named("", wood.name, "_log", wood.logId), LogStrip(kSmall, *wood.kind));
    for (const Wood& wood : kWoods)
        pack.Add(Named("", wood.name, "_stairs", wood.stairsId), AsStairs(Planks(kSmall, *wood.kind)));
    for (const Wood& wood : kWoods)
        pack.Add(Named("", wood.name, "_slab", "126"), AsSlab(Planks(kSmall, *wood.kind)));
    for (const Wood& wood : kWoods)
        pack.Add(Named("t.", wood.name, "_fence", wood.fenceId), Fence(kSmall, *wood.kind));
    for (const Wood& wood : kWoods)
        pack.Add(Named("", wood.name, "_door", wood.doorId), Door(kSmall, *wood.kind));
    for (const Wood& wood : kWoods)
        pack.Add(Named("t.", wood.name, "_leaves", wood.leavesId), Leaves(kSmall, *wood.leaves));
}

void AddGameColours(PackList& pack) {
    for (const WoolColour& colour : kWoolColours)
        pack.Add(Named("", colour.name, "_wool", "035"), Wool(kLarge, Rgb(colour.rgb)));
    for (int i = 0; i < 16; ++i)
        pack.Add(Named("", kWoolColours[i].name, "_concrete", "251"), Concrete(kSmall, Rgb(kConcreteColours[i])));
    pack.Add("terracotta_172.png", Clay(kLarge, Rgb(0x96604a)), Encoding::Jpeg);
    for (int i = 0; i < 16; ++i)
        pack.Add(Named("", kWoolColours[i].name, "_terracotta", "159"), Terracotta(kSmall, Rgb(kTerracottaColours[i])));
    for (int i = 0; i < 16; ++i)
        pack.Add(Named("t.", kWoolColours[i].name, "_stained_glass", "095"), StainedGlass(kLarge, Rgb(StainedGlassTint(i))));
}

void AddGameLight(PackList& pack) {
    pack.Add("t.glass_020.png", Glass(kLarge));
    pack.Add("t.glass_pane_102.png", GlassPane(kLarge));
    pack.Add("t.iron_bars_101.png", IronBars(kSmall));
    pack.Add("glowstone_089.png", Glowstone(kSmall));
    pack.Add("sea_lantern_169.png", SeaLantern(kSmall));
    pack.Add("t.torch_050.png", Torch(kSmall));
    pack.Add("t.wall_torch_050.png", WallTorch(kSmall));
    pack.Add("t.ladder_065.png", Ladder(kSmall));
}

void AddGameFurniture(PackList& pack) {
    pack.Add("bookshelf_047.png", BookshelfStrip(kSmall));
    pack.Add("crafting_table_058.png", CraftingTableStrip(kSmall));
    pack.Add("furnace_061.png", FurnaceStrip(kSmall));
    pack.Add("chest_054.png", ChestStrip(kSmall));
    pack.Add("tnt_046.png", TntStrip(kSmall));
    pack.Add("pumpkin_086.png", PumpkinStrip(kSmall, false));
    pack.Add("jack_o_lantern_091.png", PumpkinStrip(kSmall, true));
    pack.Add("melon_103.png", MelonStrip(kSmall));
    pack.Add("t.cactus_081.png", InsetCactusStrip(kSmall));
    pack.Add("hay_block_170.png", HayBaleStrip(kSmall));
    pack.Add("sponge_019.png", Sponge(kSmall));
    pack.Add("note_block_025.png", NoteBlock(kSmall));
    pack.Add("t.mob_spawner_052.png", Spawner(kSmall));
}

// A block id's plain form and the data value the schematic export gives it.
struct PlainForm {
    const PackPicture* picture;
    std::int32_t id;
    std::uint8_t dataValue;
};

// By ascending id; pictures at position i + 1 of the pack, as in "stackmason.zip".
std::vector<PlainForm> PlainFormOfEachBlockId(const std::vector<PackPicture>& pictures) {
    std::map<std::int32_t, PlainForm> plainById;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::int32_t id = stackmason::BlockIdFromEntryName(pictures[i].name);
        if (id == 0)
            continue;
        const PlainForm form{&pictures[i], id,
                             stackmason::BlockDataValue(id, static_cast<stackmason::BlockCode>(i + 1))};
        const auto [known, added] = plainById.try_emplace(id, form);
        if (!added && form.dataValue < known->second.dataValue)
            known->second = form;
    }
    std::vector<PlainForm> forms;
    for (const auto& [id, form] : plainById)
        forms.push_back(form);
    return forms;
}

}  // namespace

std::vector<PackPicture> StackmasonPictures() {
    PackList pack;
    AddGround(pack);
    AddWool(pack);
    AddBuildingBlocks(pack);
    AddCutStone(pack);
    AddWood(pack);
    AddDecoration(pack);
    return pack.Take();
}

std::vector<PackPicture> GameBlockPictures() {
    PackList pack;
    AddGameGround(pack);
    AddGameOres(pack);
    AddGameStone(pack);
    AddGameStoneShapes(pack);
    AddGameWood(pack);
    AddGameColours(pack);
    AddGameLight(pack);
    AddGameFurniture(pack);
    pack.Add("unknown.png", UnknownBlock(kLarge));
    return pack.Take();
}

std::vector<PackPicture> SchematicImportPictures(const std::vector<PackPicture>& stackmasonPictures) {
    std::vector<PlainForm> waiting = PlainFormOfEachBlockId(stackmasonPictures);
    std::vector<PackPicture> result;
    while (!waiting.empty()) {
        const auto code = static_cast<stackmason::BlockCode>(result.size() + 1);
        const auto fits = std::find_if(waiting.begin(), waiting.end(), [code](const PlainForm& form) {
            return stackmason::BlockDataValue(form.id, code) == form.dataValue;
        });
        if (fits == waiting.end())
            return {};
        result.push_back(*fits->picture);
        waiting.erase(fits);
    }
    return result;
}

}  // namespace packgen
