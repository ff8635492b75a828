#pragma once

#include <array>
#include <string>

#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"

namespace stackmason {

struct LoadContext;
struct LoadedFile;
struct SavedBuilding;
struct StreamedFile;

// Writes the building as a schematic file at exactly this path, with the block ids the
// loaded pack gives its blocks. A file that cannot be created or written is reported as for
// the text save; the earlier file of that name is then kept. True when written.
bool ExportSchematic(Editor& editor, const std::string& path);
bool SaveSchematicFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path);

// Reads a schematic file with the pack the context stages, its block ids mapped onto that
// pack. A file that cannot be read, or is no schematic of a size a building can have, gives
// the problem and no building. Throws std::bad_alloc when the memory cannot be had.
LoadedFile LoadSchematicFile(const std::string& path, const LoadContext& context);

// The same file as LoadSchematicFile reads it, checked whole, to be read a layer at a time.
StreamedFile StreamSchematicLayers(const std::string& path, const LoadContext& context);

}  // namespace stackmason
