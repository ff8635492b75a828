#pragma once

#include <string>

#include "editor/files/SpongeReader.h"
#include "editor/files/SpongeWriter.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Writes the building as a Sponge schematic (".schem", version 2) at exactly this path, each
// block named by the block state the loaded pack gives it. Cells whose block has none are
// written as air; after the file is written one "Info" box says how many of which block were
// left out. A file that cannot be created or written is reported as for the text save; the
// earlier file of that name is then kept. True when written.
bool ExportSponge(Editor& editor, const std::string& path);

// The "Info" text after an export that left cells out, naming each block by its item text.
std::string LeftOutMessage(const LeftOutCells& leftOut, const SelectorModel& selector);

// A Sponge schematic's cells as a building made off to the side, with its working plane.
// Throws std::bad_alloc when the memory cannot be had.
StagedBuilding StageSponge(Building&& grid);

}  // namespace stackmason
