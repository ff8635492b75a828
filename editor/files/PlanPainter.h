#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/files/ByteSink.h"
#include "editor/files/LayerPlans.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

// Paints a LayerPlan for paper and screen: the layer booklet as one PDF and the layer pictures
// as a PNG per page. The cells come from `grid`, the building the plan was made of; the block
// pictures from the selector, flattened onto white as the selector shows them.

// The booklet: the cover (name, sizes, pack, an overview of the building from above and the
// whole material list, continued on more pages when long), then a page per page of the plan.
void WriteLayerBooklet(const LayerPlan& plan, const Building& grid, const SelectorModel& pictures,
                       const ByteSink& sink);

// How many cover pages the booklet starts with.
int CoverPageCount(const LayerPlan& plan);

// The file name of a page's picture: "layer-007.png", "slice-012-tile-3.png" (tiles counted
// from 1, row by row) when the plane has more than one tile.
std::string PlanPictureName(const LayerPlan& plan, const PlanPage& page);

// A page of the plan as a picture at `dotsPerInch`.
struct PlanPicture {
    std::string name;
    std::vector<std::uint8_t> png;
};
// Paints every page and hands each, encoded, to `take` in the plan's order.
void PaintLayerPictures(const LayerPlan& plan, const Building& grid, const SelectorModel& pictures,
                        const std::function<void(const PlanPicture&)>& take, double dotsPerInch = 150);

}  // namespace stackmason
