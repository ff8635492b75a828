#pragma once

#include <string>
#include <vector>

#include "common/Image.h"

// What goes into the default texture packs, in archive order. The order is the block
// numbering of every building made with the pack, so entries are only ever appended.
namespace packgen {

enum class Encoding { Png, Jpeg };

struct PackPicture {
    std::string name;  // e.g. "t.glass_020.png": see-through prefix, block name, block id
    stackmason::Image image;
    Encoding encoding = Encoding::Png;
};

// The default pack "stackmason.zip".
std::vector<PackPicture> StackmasonPictures();

// The game's building blocks, "gameblocks.zip": 207 blocks, each with its own picture and a
// block state of its own, then "unknown.png", the mark for a block that the pack lacks.
std::vector<PackPicture> GameBlockPictures();

// The schematic import pack "minecraft.zip", from the pictures of "stackmason.zip": one
// entry per block id, so that import maps every id to exactly one block. As an import knows
// the id alone, that entry is the id's plain form: the first of its pictures that the
// schematic export gives the id's lowest data value (white wool, oak log). By ascending id,
// except that an entry that the export's data-value table would give another variant's value
// at its place (white wool among the wool colours' places) moves on to the first place that
// keeps its own. Empty when no such layout is found.
std::vector<PackPicture> SchematicImportPictures(const std::vector<PackPicture>& stackmasonPictures);

}  // namespace packgen
