#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Image.h"

namespace orbitscope {

// What one texture pack entry gives the scene: the picture its texture receives, already
// clipped to the first picture's square (of a six-face strip only the leftmost square is
// left) and, when T stays below that square's side, shrunk by the nearest pixel to fit T x T;
// and whether the block is drawn alpha-blended.
struct BlockTemplate {
    std::string entryName;
    bool textured = false;      // false for folders and entries that do not decode
    bool missing = false;       // left out for the pack's work budget: shows missingPicture
    bool blended = false;
    stackmason::Image picture;  // at most T x T, placed at the texture's top-left corner
};

// One template per pack entry: templates[i - 1] belongs to BlockCode i.
struct BlockTemplates {
    int textureSize = 0;  // T
    std::vector<BlockTemplate> templates;
    int leftOut = 0;      // templates whose pictures the pack's work budget had no room for
    // T x T, shared by those templates: a pack may leave thousands of pictures out.
    stackmason::Image missingPicture;

    int Count() const { return static_cast<int>(templates.size()); }
    // Whether code names a template: 1..Count().
    bool HasTemplate(int code) const { return code >= 1 && code <= Count(); }
};

// Walks the pack at packPath entry by entry. T is the first entry's picture height, at most
// maxTextureSize (and smaller still for a pack of many entries), or initialTextureSize when
// the pack is missing or its first entry does not decode. Below the first picture's height,
// every picture shrinks by T / that height. A picture left out for the pack's work budget
// becomes the T x T missing picture.
// Once stop answers true, no further picture is decoded (the entries left keep their names
// and blending, untextured): a large pack must not hold up a program that is ending.
BlockTemplates LoadBlockTemplates(const std::string& packPath, int initialTextureSize, int maxTextureSize,
                                  const std::function<bool()>& stop = nullptr);

}  // namespace orbitscope
