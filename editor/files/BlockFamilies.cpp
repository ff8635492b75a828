#include "editor/files/BlockFamilies.h"

#include <array>
#include <utility>

namespace stackmason {
namespace {

constexpr std::string_view kNamespace = "minecraft:";

// Shapes by the end of a block id, longest ends first where one ends another.
struct ShapeEnd {
    std::string_view end;
    std::string_view shape;
};
constexpr ShapeEnd kShapeEnds[] = {
    {"_stained_glass_pane", "stained_glass_pane"},
    {"_glazed_terracotta", "glazed_terracotta"},
    {"_concrete_powder", "concrete_powder"},
    {"_stained_glass", "stained_glass"},
    {"_wall_torch", "wall_torch"},
    {"_fence_gate", "fence_gate"},
    {"_terracotta", "terracotta"},
    {"_pressure_plate", "pressure_plate"},
    {"_trapdoor", "trapdoor"},
    {"_concrete", "concrete"},
    {"_lantern", "lantern"},
    {"_leaves", "leaves"},
    {"_carpet", "carpet"},
    {"_hyphae", "log"},
    {"_planks", "full"},
    {"_stairs", "stairs"},
    {"_button", "button"},
    {"_fence", "fence"},
    {"_torch", "torch"},
    {"_slab", "slab"},
    {"_wall", "wall"},
    {"_door", "door"},
    {"_wool", "wool"},
    {"_pane", "pane"},
    {"_stem", "log"},
    {"_wood", "log"},
    {"_log", "log"},
    {"_ore", "ore"},
};

// Whole ids whose family their ends do not tell.
struct Alias {
    std::string_view id;
    std::string_view material;
    std::string_view shape;
};
constexpr Alias kAliases[] = {
    {"bamboo_block", "bamboo", "log"},
    {"stripped_bamboo_block", "bamboo", "log"},
    {"quartz_block", "quartz", "full"},
    {"chiseled_quartz_block", "chiseled_quartz", "full"},
    {"purpur_block", "purpur", "full"},
    {"terracotta", "", "terracotta"},
    {"torch", "", "torch"},
    {"wall_torch", "", "wall_torch"},
    {"lantern", "", "lantern"},
    {"glass_pane", "glass", "pane"},
    {"iron_bars", "iron", "pane"},
};

// The materials nearest to each, nearest first: stones by colour and cut, woods by the
// colour of their planks.
struct Near {
    std::string_view material;
    std::array<std::string_view, 4> nearest;
};
constexpr Near kNear[] = {
    // Stone.
    {"stone", {"smooth_stone", "andesite", "cobblestone"}},
    {"smooth_stone", {"stone", "cobblestone"}},
    {"granite", {"polished_granite", "smooth_stone", "cobblestone"}},
    {"polished_granite", {"granite", "smooth_stone", "cobblestone"}},
    {"diorite", {"polished_diorite", "quartz", "smooth_stone"}},
    {"polished_diorite", {"diorite", "quartz", "smooth_stone"}},
    {"andesite", {"polished_andesite", "stone", "smooth_stone", "cobblestone"}},
    {"polished_andesite", {"andesite", "stone", "smooth_stone", "cobblestone"}},
    {"cobblestone", {"mossy_cobblestone", "stone", "stone_brick"}},
    {"mossy_cobblestone", {"cobblestone", "mossy_stone_brick"}},
    {"stone_brick", {"mossy_stone_brick", "cobblestone", "smooth_stone"}},
    {"mossy_stone_brick", {"stone_brick", "mossy_cobblestone", "cobblestone"}},
    {"cracked_stone_brick", {"stone_brick", "cobblestone"}},
    {"chiseled_stone_brick", {"stone_brick", "cobblestone"}},
    {"sandstone", {"cut_sandstone", "smooth_sandstone"}},
    {"cut_sandstone", {"sandstone", "smooth_sandstone"}},
    {"smooth_sandstone", {"sandstone", "cut_sandstone"}},
    {"chiseled_sandstone", {"sandstone", "cut_sandstone"}},
    {"red_sandstone", {"cut_red_sandstone", "smooth_red_sandstone", "sandstone"}},
    {"cut_red_sandstone", {"red_sandstone", "smooth_red_sandstone", "cut_sandstone", "sandstone"}},
    {"smooth_red_sandstone", {"red_sandstone", "cut_red_sandstone", "smooth_sandstone", "sandstone"}},
    {"chiseled_red_sandstone", {"red_sandstone", "cut_red_sandstone"}},
    {"nether_brick", {"red_nether_brick", "brick"}},
    {"red_nether_brick", {"nether_brick", "brick"}},
    {"mud_brick", {"brick"}},
    {"quartz", {"smooth_quartz", "diorite"}},
    {"smooth_quartz", {"quartz", "diorite"}},
    {"chiseled_quartz", {"quartz", "smooth_quartz"}},
    {"prismarine", {"prismarine_brick", "dark_prismarine"}},
    {"prismarine_brick", {"prismarine", "dark_prismarine"}},
    {"dark_prismarine", {"prismarine_brick", "prismarine"}},
    {"end_stone", {"end_stone_brick", "sandstone"}},
    {"end_stone_brick", {"end_stone", "sandstone"}},
    {"deepslate", {"cobbled_deepslate", "stone", "cobblestone"}},
    {"cobbled_deepslate", {"cobblestone", "stone"}},
    {"polished_deepslate", {"polished_andesite", "smooth_stone"}},
    {"deepslate_brick", {"deepslate_tile", "stone_brick"}},
    {"deepslate_tile", {"deepslate_brick", "stone_brick"}},
    {"blackstone", {"cobbled_deepslate", "cobblestone"}},
    {"polished_blackstone", {"polished_deepslate", "polished_andesite"}},
    {"polished_blackstone_brick", {"deepslate_brick", "stone_brick"}},
    {"tuff", {"andesite", "stone"}},
    {"polished_tuff", {"polished_andesite", "andesite"}},
    {"tuff_brick", {"stone_brick"}},
    {"calcite", {"diorite", "polished_diorite"}},
    {"tinted_glass", {"glass"}},
    // Ground.
    {"podzol", {"dirt"}},
    {"coarse_dirt", {"dirt"}},
    {"rooted_dirt", {"dirt"}},
    {"mud", {"dirt"}},
    {"red_sand", {"sand"}},
    // Wood, by the colour of the planks.
    {"petrified_oak", {"oak"}},
    {"mangrove", {"acacia", "jungle"}},
    {"cherry", {"birch", "jungle"}},
    {"bamboo", {"birch", "jungle"}},
    {"crimson", {"dark_oak", "acacia"}},
    {"warped", {"spruce", "dark_oak"}},
    {"pale_oak", {"birch", "oak"}},
    {"azalea", {"oak", "jungle"}},
    {"flowering_azalea", {"azalea", "oak"}},
    // Ores and light of other kinds.
    {"nether_gold", {"gold"}},
    {"soul", {""}},
    {"redstone", {""}},
    {"copper", {""}},
};

constexpr std::pair<std::string_view, std::string_view> kStandIns[] = {
    {"wall_torch", "torch"},         {"lantern", "torch"},         {"fence_gate", "fence"},
    {"carpet", "wool"},              {"concrete_powder", "concrete"}, {"glazed_terracotta", "terracotta"},
    {"stained_glass_pane", "stained_glass"},
};

constexpr std::pair<std::string_view, std::string_view> kLastMaterials[] = {
    {"door", "oak"},
    {"fence", "oak"},
    {"fence_gate", "oak"},
};

// "stone_bricks" and "deepslate_tiles" are the full blocks of the materials "stone_brick"
// and "deepslate_tile" that their slabs and stairs are named by.
std::string SingularMaterial(std::string_view name) {
    if (name == "bricks")
        return "brick";
    if (name.ends_with("_bricks") || name.ends_with("_tiles"))
        name.remove_suffix(1);
    return std::string(name);
}

// Ores in deepslate are the ores of stone; so are the deepslate kinds of other blocks.
std::string_view WithoutDeepslate(std::string_view material) {
    constexpr std::string_view kDeepslate = "deepslate_";
    if (material.starts_with(kDeepslate) && material != "deepslate_brick" && material != "deepslate_tile")
        material.remove_prefix(kDeepslate.size());
    return material;
}

}  // namespace

BlockFamily FamilyOf(std::string_view blockId) {
    std::string_view name = blockId;
    if (name.starts_with(kNamespace))
        name.remove_prefix(kNamespace.size());
    for (const Alias& alias : kAliases)
        if (alias.id == name)
            return {std::string(alias.material), std::string(alias.shape)};
    if (name.starts_with("stripped_"))
        name.remove_prefix(9);
    if (name.starts_with("waxed_"))
        name.remove_prefix(6);
    for (const ShapeEnd& end : kShapeEnds)
        if (name.ends_with(end.end)) {
            std::string_view material = name.substr(0, name.size() - end.end.size());
            if (end.shape == "ore")
                material = WithoutDeepslate(material);
            return {std::string(material), std::string(end.shape)};
        }
    return {SingularMaterial(name), "full"};
}

std::span<const std::string_view> NearMaterials(std::string_view material) {
    for (const Near& near : kNear)
        if (near.material == material) {
            std::size_t count = 0;
            while (count < near.nearest.size() && (count == 0 || !near.nearest[count].empty()))
                ++count;
            // A list may name "" (the plain kind, as the plain torch) first and only.
            if (near.nearest[0].empty())
                count = 1;
            return std::span<const std::string_view>(near.nearest.data(), count);
        }
    return {};
}

std::string_view StandInShape(std::string_view shape) {
    for (const auto& [from, to] : kStandIns)
        if (from == shape)
            return to;
    return {};
}

bool MayBecomeFullBlock(std::string_view shape) { return shape == "stairs" || shape == "slab" || shape == "wall"; }

std::string_view LastMaterialForShape(std::string_view shape) {
    for (const auto& [from, to] : kLastMaterials)
        if (from == shape)
            return to;
    return {};
}

}  // namespace stackmason
