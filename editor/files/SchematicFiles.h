#pragma once

#include <array>
#include <string>

#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Writes the building as a schematic file at exactly this path, with the block ids the
// loaded pack gives its blocks. A file that cannot be created or written is reported as for
// the text save; the earlier file of that name is then kept.
void ExportSchematic(Editor& editor, const std::string& path);

// Reads a schematic file and makes it the building, its block ids mapped onto the loaded
// pack. A file that cannot be read, or is no schematic of a size a building can have, is
// refused with an "Error" box and changes nothing; the result is then false. Throws, changing
// nothing, when the memory for the building cannot be had.
bool ImportSchematic(Editor& editor, const std::string& path);

// A schematic's cells as a building made off to the side, with its working plane. Throws
// std::bad_alloc when the memory cannot be had.
StagedBuilding StageSchematic(Building&& grid);

}  // namespace stackmason
