#pragma once

#include <string>

#include "editor/files/SchematicReader.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Writes the building as a schematic file at exactly this path, with the block ids the
// loaded pack gives its blocks. A file that cannot be created or written is reported as for
// the text save; the earlier file of that name is then kept.
void ExportSchematic(Editor& editor, const std::string& path);

// Reads a schematic file and makes it the building, its block ids mapped onto the loaded
// pack. A file that cannot be read, or is no schematic of a size a building can have, is
// refused with an "Error" box naming the problem and changes nothing. True when imported.
bool ImportSchematic(Editor& editor, const std::string& path);

// Replaces the building by the schematic's cells with the sizes it gives. False, with the
// building kept and an "Error" box, when the memory for it cannot be had.
bool PlaceSchematic(Editor& editor, const Schematic& schematic);

}  // namespace stackmason
