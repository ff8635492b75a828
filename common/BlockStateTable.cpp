// The block state of every block the default texture packs hold, and of some more, with the
// block id and data value each had before Minecraft 1.13. Written for this editor from the
// game's block names as of 1.13.2 (see kBlockStateDataVersion).
//
// To add a block, add a row. `name` is the block as a pack entry names it (the entry name
// without "t.", the "_" and digits of its id, and ".png"); a pack entry of that name gets the
// row's state, any other entry with a block id gets the state of the id's row with data
// value 0, so every id in the table needs exactly one such row.
//
// Rows whose data value is kNameOnly give a block another name (the game's own, say) and are
// found by that name alone.
//
// Choices: blocks with properties are named with the game's default for each (stairs facing
// north, bottom half, straight; logs, pillars and hay upright), except properties the game
// works out from the neighbours (fence, pane and bar connections, snowy grass and mycelium, a
// note block's instrument), which are left out. Leaves are persistent, so that they never decay. A door is
// its lower half, closed, hinged left, facing north; a slab is a bottom slab, a double slab
// the double type of the same slab. The torch stands on the floor. Pumpkins with a face
// became carved pumpkins in 1.13; the old "smooth sandstone" became cut sandstone.
#include "common/BlockStates.h"

namespace stackmason {
namespace {

constexpr BlockStateRow kRows[] = {
    // Ground, fluids and ores.
    {"stone", 1, 0, "minecraft:stone"},
    {"granite", 1, 1, "minecraft:granite"},
    {"diorite", 1, 3, "minecraft:diorite"},
    {"andesite", 1, 5, "minecraft:andesite"},
    {"grass", 2, 0, "minecraft:grass_block"},
    {"grass_block", 2, kNameOnly, "minecraft:grass_block"},
    {"dirt", 3, 0, "minecraft:dirt"},
    {"coarse_dirt", 3, 1, "minecraft:coarse_dirt"},
    {"podzol", 3, 2, "minecraft:podzol"},
    {"cobblestone", 4, 0, "minecraft:cobblestone"},
    {"bedrock", 7, 0, "minecraft:bedrock"},
    {"flowing_water", 8, 0, "minecraft:water[level=0]"},
    {"water", 9, 0, "minecraft:water[level=0]"},
    {"flowing_lava", 10, 0, "minecraft:lava[level=0]"},
    {"lava", 11, 0, "minecraft:lava[level=0]"},
    {"sand", 12, 0, "minecraft:sand"},
    {"red_sand", 12, 1, "minecraft:red_sand"},
    {"gravel", 13, 0, "minecraft:gravel"},
    {"gold_ore", 14, 0, "minecraft:gold_ore"},
    {"iron_ore", 15, 0, "minecraft:iron_ore"},
    {"coal_ore", 16, 0, "minecraft:coal_ore"},
    {"lapis_ore", 21, 0, "minecraft:lapis_ore"},
    {"diamond_ore", 56, 0, "minecraft:diamond_ore"},
    {"redstone_ore", 73, 0, "minecraft:redstone_ore[lit=false]"},
    {"emerald_ore", 129, 0, "minecraft:emerald_ore"},
    {"nether_quartz_ore", 153, 0, "minecraft:nether_quartz_ore"},
    {"clay", 82, 0, "minecraft:clay"},
    {"mycelium", 110, 0, "minecraft:mycelium"},
    {"netherrack", 87, 0, "minecraft:netherrack"},
    {"soul_sand", 88, 0, "minecraft:soul_sand"},
    {"end_stone", 121, 0, "minecraft:end_stone"},
    {"obsidian", 49, 0, "minecraft:obsidian"},

    // Wood: logs by their data value's kind, planks, leaves.
    {"oak_log", 17, 0, "minecraft:oak_log[axis=y]"},
    {"spruce_log", 17, 1, "minecraft:spruce_log[axis=y]"},
    {"birch_log", 17, 2, "minecraft:birch_log[axis=y]"},
    {"jungle_log", 17, 3, "minecraft:jungle_log[axis=y]"},
    {"acacia_log", 162, 0, "minecraft:acacia_log[axis=y]"},
    {"dark_oak_log", 162, 1, "minecraft:dark_oak_log[axis=y]"},
    {"oak_planks", 5, 0, "minecraft:oak_planks"},
    {"spruce_planks", 5, 1, "minecraft:spruce_planks"},
    {"birch_planks", 5, 2, "minecraft:birch_planks"},
    {"jungle_planks", 5, 3, "minecraft:jungle_planks"},
    {"acacia_planks", 5, 4, "minecraft:acacia_planks"},
    {"dark_oak_planks", 5, 5, "minecraft:dark_oak_planks"},
    {"leaves", 18, 0, "minecraft:oak_leaves[persistent=true]"},
    {"oak_leaves", 18, kNameOnly, "minecraft:oak_leaves[persistent=true]"},
    {"spruce_leaves", 18, 1, "minecraft:spruce_leaves[persistent=true]"},
    {"birch_leaves", 18, 2, "minecraft:birch_leaves[persistent=true]"},
    {"jungle_leaves", 18, 3, "minecraft:jungle_leaves[persistent=true]"},
    {"acacia_leaves", 161, 0, "minecraft:acacia_leaves[persistent=true]"},
    {"dark_oak_leaves", 161, 1, "minecraft:dark_oak_leaves[persistent=true]"},

    // Wool, by colour in the order of its data values; stained glass and terracotta likewise.
    {"white_wool", 35, 0, "minecraft:white_wool"},
    {"orange_wool", 35, 1, "minecraft:orange_wool"},
    {"magenta_wool", 35, 2, "minecraft:magenta_wool"},
    {"light_blue_wool", 35, 3, "minecraft:light_blue_wool"},
    {"yellow_wool", 35, 4, "minecraft:yellow_wool"},
    {"lime_wool", 35, 5, "minecraft:lime_wool"},
    {"pink_wool", 35, 6, "minecraft:pink_wool"},
    {"gray_wool", 35, 7, "minecraft:gray_wool"},
    {"light_gray_wool", 35, 8, "minecraft:light_gray_wool"},
    {"cyan_wool", 35, 9, "minecraft:cyan_wool"},
    {"purple_wool", 35, 10, "minecraft:purple_wool"},
    {"blue_wool", 35, 11, "minecraft:blue_wool"},
    {"brown_wool", 35, 12, "minecraft:brown_wool"},
    {"green_wool", 35, 13, "minecraft:green_wool"},
    {"red_wool", 35, 14, "minecraft:red_wool"},
    {"black_wool", 35, 15, "minecraft:black_wool"},
    {"white_stained_glass", 95, 0, "minecraft:white_stained_glass"},
    {"orange_stained_glass", 95, 1, "minecraft:orange_stained_glass"},
    {"magenta_stained_glass", 95, 2, "minecraft:magenta_stained_glass"},
    {"light_blue_stained_glass", 95, 3, "minecraft:light_blue_stained_glass"},
    {"yellow_stained_glass", 95, 4, "minecraft:yellow_stained_glass"},
    {"lime_stained_glass", 95, 5, "minecraft:lime_stained_glass"},
    {"pink_stained_glass", 95, 6, "minecraft:pink_stained_glass"},
    {"gray_stained_glass", 95, 7, "minecraft:gray_stained_glass"},
    {"light_gray_stained_glass", 95, 8, "minecraft:light_gray_stained_glass"},
    {"cyan_stained_glass", 95, 9, "minecraft:cyan_stained_glass"},
    {"purple_stained_glass", 95, 10, "minecraft:purple_stained_glass"},
    {"blue_stained_glass", 95, 11, "minecraft:blue_stained_glass"},
    {"brown_stained_glass", 95, 12, "minecraft:brown_stained_glass"},
    {"green_stained_glass", 95, 13, "minecraft:green_stained_glass"},
    {"red_stained_glass", 95, 14, "minecraft:red_stained_glass"},
    {"black_stained_glass", 95, 15, "minecraft:black_stained_glass"},
    {"hardened_clay", 172, 0, "minecraft:terracotta"},
    {"terracotta", 172, kNameOnly, "minecraft:terracotta"},
    {"white_terracotta", 159, 0, "minecraft:white_terracotta"},
    {"orange_terracotta", 159, 1, "minecraft:orange_terracotta"},
    {"red_terracotta", 159, 14, "minecraft:red_terracotta"},
    {"black_terracotta", 159, 15, "minecraft:black_terracotta"},

    // Building blocks, cut stone, stairs and slabs.
    {"bricks", 45, 0, "minecraft:bricks"},
    {"mossy_cobblestone", 48, 0, "minecraft:mossy_cobblestone"},
    {"glass", 20, 0, "minecraft:glass"},
    {"sandstone", 24, 0, "minecraft:sandstone"},
    {"chiseled_sandstone", 24, 1, "minecraft:chiseled_sandstone"},
    {"smooth_sandstone", 24, 2, "minecraft:cut_sandstone"},
    {"cut_sandstone", 24, kNameOnly, "minecraft:cut_sandstone"},
    {"red_sandstone", 179, 0, "minecraft:red_sandstone"},
    {"stone_bricks", 98, 0, "minecraft:stone_bricks"},
    {"mossy_stone_bricks", 98, 1, "minecraft:mossy_stone_bricks"},
    {"cracked_stone_bricks", 98, 2, "minecraft:cracked_stone_bricks"},
    {"chiseled_stone_bricks", 98, 3, "minecraft:chiseled_stone_bricks"},
    {"nether_bricks", 112, 0, "minecraft:nether_bricks"},
    {"quartz_block", 155, 0, "minecraft:quartz_block"},
    {"chiseled_quartz", 155, 1, "minecraft:chiseled_quartz_block"},
    {"quartz_pillar", 155, 2, "minecraft:quartz_pillar[axis=y]"},
    {"prismarine", 168, 0, "minecraft:prismarine"},
    {"double_stone_slab", 43, 0, "minecraft:stone_slab[type=double,waterlogged=false]"},
    {"stone_slab", 44, 0, "minecraft:stone_slab[type=bottom,waterlogged=false]"},
    {"oak_stairs", 53, 0, "minecraft:oak_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"cobblestone_stairs", 67, 0,
     "minecraft:cobblestone_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"brick_stairs", 108, 0, "minecraft:brick_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"stone_brick_stairs", 109, 0,
     "minecraft:stone_brick_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"nether_brick_stairs", 114, 0,
     "minecraft:nether_brick_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"sandstone_stairs", 128, 0,
     "minecraft:sandstone_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},
    {"quartz_stairs", 156, 0, "minecraft:quartz_stairs[facing=north,half=bottom,shape=straight,waterlogged=false]"},

    // Mineral blocks.
    {"gold_block", 41, 0, "minecraft:gold_block"},
    {"iron_block", 42, 0, "minecraft:iron_block"},
    {"diamond_block", 57, 0, "minecraft:diamond_block"},
    {"lapis_block", 22, 0, "minecraft:lapis_block"},
    {"emerald_block", 133, 0, "minecraft:emerald_block"},
    {"redstone_block", 152, 0, "minecraft:redstone_block"},
    {"coal_block", 173, 0, "minecraft:coal_block"},

    // Ice and snow.
    {"ice", 79, 0, "minecraft:ice"},
    {"packed_ice", 174, 0, "minecraft:packed_ice"},
    {"snow", 80, 0, "minecraft:snow_block"},
    {"snow_block", 80, kNameOnly, "minecraft:snow_block"},
    {"snow_layer", 78, 0, "minecraft:snow[layers=1]"},

    // Furniture, light, plants and decoration.
    {"bookshelf", 47, 0, "minecraft:bookshelf"},
    {"crafting_table", 58, 0, "minecraft:crafting_table"},
    {"furnace", 61, 0, "minecraft:furnace[facing=north,lit=false]"},
    {"chest", 54, 0, "minecraft:chest[facing=north,type=single,waterlogged=false]"},
    {"tnt", 46, 0, "minecraft:tnt[unstable=false]"},
    {"torch", 50, 0, "minecraft:torch"},
    {"glowstone", 89, 0, "minecraft:glowstone"},
    {"sea_lantern", 169, 0, "minecraft:sea_lantern"},
    {"pumpkin", 86, 0, "minecraft:carved_pumpkin[facing=north]"},
    {"jack_o_lantern", 91, 0, "minecraft:jack_o_lantern[facing=north]"},
    {"melon", 103, 0, "minecraft:melon"},
    {"cactus", 81, 0, "minecraft:cactus[age=0]"},
    {"hay_block", 170, 0, "minecraft:hay_block[axis=y]"},
    {"sponge", 19, 0, "minecraft:sponge"},
    {"note_block", 25, 0, "minecraft:note_block[note=0,powered=false]"},
    {"mob_spawner", 52, 0, "minecraft:spawner"},
    {"spawner", 52, kNameOnly, "minecraft:spawner"},
    {"glass_pane", 102, 0, "minecraft:glass_pane"},
    {"iron_bars", 101, 0, "minecraft:iron_bars"},
    {"fence", 85, 0, "minecraft:oak_fence"},
    {"oak_fence", 85, kNameOnly, "minecraft:oak_fence"},
    {"ladder", 65, 0, "minecraft:ladder[facing=north,waterlogged=false]"},
    {"wooden_door", 64, 0, "minecraft:oak_door[facing=north,half=lower,hinge=left,open=false,powered=false]"},
    {"oak_door", 64, kNameOnly, "minecraft:oak_door[facing=north,half=lower,hinge=left,open=false,powered=false]"},
};

}  // namespace

std::span<const BlockStateRow> BlockStateTable() { return kRows; }

}  // namespace stackmason
