#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/files/ByteSink.h"
#include "editor/files/LayerPlans.h"
#include "editor/model/Editor.h"
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

// The menu's side: asks for a PDF name with a save requester (".pdf" appended, an existing file
// replaced only after asking) and writes the booklet of the editor's building, in the view it
// shows, through the safe writer. True when written.
bool SaveLayerBooklet(Editor& editor);
FileRequest LayerBookletRequest();

// Asks for a folder and writes the layer pictures there; pictures of the same names already
// there are replaced only after asking. True when all were written.
bool SaveLayerPictures(Editor& editor);

// The question before pictures already in `folder` are replaced; `names` those that exist.
std::string PicturesReplaceQuestion(const std::vector<std::string>& names);

// The names of the plan's pictures that already exist in `folder`.
std::vector<std::string> ExistingPictures(const LayerPlan& plan, const std::string& folder);

// Writes the plan's pictures into `folder`, each through the safe writer, reporting failures as
// the saves do. True when all were written.
bool WriteLayerPictures(DialogPort& dialogs, const LayerPlan& plan, const Building& grid,
                        const SelectorModel& pictures, const std::string& folder);

}  // namespace stackmason
