#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "editor/model/EditorPorts.h"

namespace stackmason {

// Saves a file through AtomicFileWriter and tells the user what went wrong: "Could Not
// Create File !" when the file cannot be created, an "Error" box with the reason when the
// writing fails (the earlier file of that name is then kept). Returns true when written.
bool SaveFileReporting(DialogPort& dialogs, const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace stackmason
