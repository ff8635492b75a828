#pragma once

#include <string>

#include "editor/model/Editor.h"

namespace stackmason {

// The exchange file with the 3-D preview, in the current directory.
inline constexpr const char* kPreviewFileName = "preview.tmp";
// The pack a schematic import switches to, since schematic block ids are Minecraft's.
inline constexpr const char* kSchematicPackName = "minecraft.zip";
// The pack a Sponge schematic import reads with, unless the file names one of its own: the
// game's building blocks, with an entry for blocks it has no picture for.
inline constexpr const char* kGameBlocksPackName = "gameblocks.zip";

// The Save button (toPreview false): asks for a name and a type, then writes a building
// file or exports a schematic; when the name, with its extension appended, names an
// existing file, it asks before replacing it. For the 3-D preview (toPreview true): writes
// "preview.tmp" in the current directory without asking.
void SaveBuilding(Editor& editor, bool toPreview);

// The Load button: asks for a file and a type, then replaces the building by the file's,
// leaving TopView on layer 1. A file that cannot be read changes nothing.
void LoadBuilding(Editor& editor);

// The Load button's work once the file and its type are chosen. The pack read is the one
// the file calls for (a text file's header names it; a schematic's block ids are
// "minecraft.zip"'s) unless packPath names another archive, which the building then names
// by its file name.
void LoadBuildingFile(Editor& editor, const FileChoice& choice, const std::string& packPath = {});

struct GameRelease;

// The game release this session's saves are written for and its material list names blocks
// as: the one last chosen in the save requester, the default release until then.
const GameRelease& SessionGameRelease(const Editor& editor);

// The question asked before the Save button replaces an existing file of this name.
std::string ReplaceQuestion(const std::string& fileName);

// Whether a save may write the file at path, the name with the extension the save appended:
// yes where there is none, otherwise the user's answer to ReplaceQuestion.
bool MayWrite(DialogPort& dialogs, const std::string& requesterTitle, const std::string& path);

struct LoadContext;
struct LoadedFile;
struct SavedBuilding;
struct StreamedFile;

// Reads a building text file: its header's sizes as the size fields take them, with the pack
// the header names, its layers a block at a time. A file that cannot be read gives the
// problem and no building.
LoadedFile LoadTextFile(const std::string& path, const LoadContext& context);

// The same file as LoadTextFile reads it, to be read a layer at a time: the sizes and pack
// it would load with, and its layers read again for each pass, so that however large the
// building, one layer is held.
StreamedFile StreamTextFile(const std::string& path, const LoadContext& context);

// Writes the building file at exactly this path. Refuses, with an "Error" box naming how
// many cells are affected, a building that would not load back the same. True when written.
bool WriteBuildingToFile(Editor& editor, const std::string& path);
bool SaveTextFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path);

}  // namespace stackmason
