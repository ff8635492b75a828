#pragma once

#include <span>
#include <string>
#include <string_view>

namespace stackmason {

// Blocks as builders group them: a shape (a slab, stairs, a log, wool, a full block) made of
// a material (a stone, a wood, a colour). A block the pack lacks is drawn as the pack's
// block of the same shape and the nearest material, so that a granite slab comes in as
// another stone's slab and a cherry log as another wood's log.
struct BlockFamily {
    std::string material;
    std::string shape;
};

// The family of a block id as the newest release names it: "minecraft:stripped_oak_log" is an
// oak log, "minecraft:stone_bricks" and "minecraft:stone_brick_slab" are of the material
// stone_brick, "minecraft:red_wool" is red wool, a block of no known shape is a "full" block
// of its own material.
BlockFamily FamilyOf(std::string_view blockId);

// The materials nearest to this one, nearest first; empty when none is near enough.
std::span<const std::string_view> NearMaterials(std::string_view material);

// The shape to try when the pack has none of this shape near the material: a wall torch is
// drawn as a torch, a carpet as wool; empty for none.
std::string_view StandInShape(std::string_view shape);

// Whether a block of this shape is better drawn as its material's full block than not at all
// (stairs, slabs and walls are mostly that block).
bool MayBecomeFullBlock(std::string_view shape);

// The material to draw a block of this shape from when none near its own has the shape
// (doors and fences of any material as oak's); empty for none.
std::string_view LastMaterialForShape(std::string_view shape);

}  // namespace stackmason
