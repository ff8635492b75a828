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

// The schematic import pack "minecraft.zip": the first picture of every distinct block id
// of pictures, by ascending id, so that import maps every id to exactly one block.
std::vector<PackPicture> FirstOfEachBlockId(const std::vector<PackPicture>& pictures);

}  // namespace packgen
