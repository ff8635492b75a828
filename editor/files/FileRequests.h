#pragma once

#include <string>
#include <string_view>

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

FileRequest SaveBuildingRequest();
FileRequest LoadBuildingRequest();

// The path with "." and the extension appended unless the file name's extension, the text
// after its last ".", is exactly that one: House.TXT becomes House.TXT.txt.
std::string WithExtension(const std::string& path, std::string_view extension);

// The name part of a path, behind its last "/" or "\".
std::string FileNamePart(const std::string& path);

}  // namespace stackmason
