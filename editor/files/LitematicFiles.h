#pragma once

#include <string>

#include "editor/files/LitematicReader.h"
#include "editor/files/LitematicWriter.h"
#include "editor/model/EditorPorts.h"

namespace stackmason {

struct LoadContext;
struct LoadedFile;
struct SavedBuilding;

// The author a ".litematic" export names: the program, since the user's name is nothing the
// editor knows.
inline constexpr const char* kLitematicAuthor = "Stackmason";

// Writes the building as a Litematica schematic (".litematic") at exactly this path, each
// block named by its block state as the release of the building's data version names it.
// Cells whose block has none are written as air and reported as the Sponge export does; a
// file that cannot be created or written is reported as for the text save, and the earlier
// file of that name is then kept. True when written.
bool SaveLitematicFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path);

// Reads a Litematica schematic with the pack the context stages, as LoadSpongeFile reads a
// Sponge schematic: the pack the file names where it holds every state, each palette state
// mapped onto the pack's block that has it, and the same report. A file that cannot be read
// or is refused gives the problem and no building. Throws std::bad_alloc when the memory
// cannot be had.
LoadedFile LoadLitematicFile(const std::string& path, const LoadContext& context);

}  // namespace stackmason
