#pragma once

#include <string>
#include <string_view>

#include "editor/files/GameVersions.h"
#include "editor/model/EditorPorts.h"

namespace stackmason {

// The requesters of the Save and Load buttons: both offer the text type (filter 0,
// preselected), the schematic type (filter 1), the Sponge schematic type of today's
// Minecraft tools (filter 2) and Litematica's schematic (filter 3), and open in the current
// directory.
inline constexpr int kTextFilter = 0;
inline constexpr int kSchematicFilter = 1;
inline constexpr int kSpongeFilter = 2;
inline constexpr int kLitematicFilter = 3;

// The extension a file of each filter's type gets: "txt", "schematic", "schem", "litematic".
std::string_view FilterExtension(int filter);

// The label of the save requester's choice of the game release a file is written for.
inline constexpr const char* kGameVersionLabel = "Game version:";

// The save requester also offers every game release, oldest first, with `release`
// preselected; the open requester offers none.
FileRequest SaveBuildingRequest(const GameRelease& release = DefaultGameRelease());
FileRequest LoadBuildingRequest();

// The release the user left selected in the answer to SaveBuildingRequest; `unchanged` when
// the answer names none.
const GameRelease& ChosenGameRelease(const FileChoice& choice, const GameRelease& unchanged);

// The path with "." and the extension appended unless the file name's extension, the text
// after its last ".", is exactly that one: House.TXT becomes House.TXT.txt.
std::string WithExtension(const std::string& path, std::string_view extension);

// The name part of a path, behind its last "/" or "\".
std::string FileNamePart(const std::string& path);

}  // namespace stackmason
