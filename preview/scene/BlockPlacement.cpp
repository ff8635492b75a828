#include "preview/scene/BlockPlacement.h"

#include "preview/PreviewConfig.h"

namespace orbitscope {

glm::vec3 BlockPosition(int x, int y, int layer, int width, int length) {
    const float half = config::kBlockSize / 2.0f;
    return {config::kBlockSize * static_cast<float>(x) - static_cast<float>(width),
            config::kBlockSize * static_cast<float>(layer) - half,
            config::kBlockSize * static_cast<float>(y) - static_cast<float>(length)};
}

BlockKinds::BlockKinds(const BlockTemplates& templates) : blended_(templates.templates.size() + 1, 0) {
    for (std::size_t i = 0; i < templates.templates.size(); ++i)
        blended_[i + 1] = templates.templates[i].blended ? 1 : 0;
}

CubeFaceMask ExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds, int x, int y, int layer) {
    const stackmason::BlockCode self = grid.Cell(x, y, layer);
    // The index-0 planes are part of the array and always air, so only the far side of each
    // axis needs a bounds test.
    auto at = [&](int nx, int ny, int nl) -> stackmason::BlockCode {
        if (nx > grid.Width() || ny > grid.Length() || nl > grid.Height())
            return 0;
        return grid.Cell(nx, ny, nl);
    };
    CubeFaceMask faces = 0;
    if (!kinds.HidesFace(self, at(x + 1, y, layer))) faces |= kFacePlusX;
    if (!kinds.HidesFace(self, at(x - 1, y, layer))) faces |= kFaceMinusX;
    if (!kinds.HidesFace(self, at(x, y, layer + 1))) faces |= kFacePlusY;
    if (!kinds.HidesFace(self, at(x, y, layer - 1))) faces |= kFaceMinusY;
    if (!kinds.HidesFace(self, at(x, y + 1, layer))) faces |= kFacePlusZ;
    if (!kinds.HidesFace(self, at(x, y - 1, layer))) faces |= kFaceMinusZ;
    return faces;
}

FaceCounts CountExposedFaces(const stackmason::Building& grid, const BlockKinds& kinds) {
    FaceCounts counts;
    counts.perCode.assign(static_cast<std::size_t>(kinds.Count()) + 1, 0);
    ForEachBlockInstance(grid, kinds, [&](stackmason::BlockCode code, const glm::vec3&, CubeFaceMask faces) {
        const int n = CountFaces(faces);
        counts.perCode[static_cast<std::size_t>(code)] += n;
        counts.total += n;
        ++counts.instances;
    });
    return counts;
}

}  // namespace orbitscope
