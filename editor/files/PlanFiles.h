#pragma once

#include <string>
#include <vector>

#include "editor/files/PlanPainter.h"
#include "editor/model/Editor.h"

namespace stackmason {

// The layer booklet and the layer pictures as files: the requesters, the questions before
// replacing, and the safe writes.

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
