#pragma once

#include <cstdint>
#include <span>

#include "preview/engine/BuildProgress.h"
#include "preview/engine/Engine3D.h"
#include "preview/scene/PreviewBuilding.h"

namespace orbitscope {

// Light 0 over the building, then the grass ground (texture, material, mesh and entity 0),
// then the light aimed at the ground's centre. groundPng is the ground picture, a PNG.
void CreateLightAndGround(Engine3D& engine, const PreviewBuilding& building, std::span<const std::uint8_t> groundPng);

struct BlockFigures {
    int templates = 0;           // N, the pack's entries
    int textureSize = 0;         // T
    std::int64_t instances = 0;  // cubes with something to show
    std::int64_t faces = 0;      // faces in the static geometry
};

// One template per pack entry (mesh 1 and texture, material and entity i for BlockCode i),
// every block of the building as an instance of static geometry 0, the geometry built, and
// the templates and the grid let go. When the pack's work budget left pictures out, one line
// in the engine's log says how many and why. With progress, the chunks are meshed on every
// core as the blocks go in, the pictures and chunks are counted, and a cancel stops the
// build early (the geometry then holds part of the building; the caller is expected to end).
BlockFigures BuildBlocks(Engine3D& engine, PreviewBuilding& building, BuildProgress* progress = nullptr);

}  // namespace orbitscope
