#pragma once

#include <string>
#include <string_view>

#include "editor/model/EditorPorts.h"

namespace stackmason {

// The requesters of the Save and Load buttons: both offer the text type (filter 0,
// preselected) and the schematic type (filter 1) and open in the current directory.
inline constexpr int kTextFilter = 0;
inline constexpr int kSchematicFilter = 1;

FileRequest SaveBuildingRequest();
FileRequest LoadBuildingRequest();

// The path with "." and the extension appended unless the file name's extension, the text
// after its last ".", is exactly that one: House.TXT becomes House.TXT.txt.
std::string WithExtension(const std::string& path, std::string_view extension);

}  // namespace stackmason
