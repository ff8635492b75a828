#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "editor/files/AtomicFileWriter.h"
#include "editor/files/ByteSink.h"
#include "editor/model/EditorPorts.h"

namespace stackmason {

// Commits a file written through AtomicFileWriter and tells the user what went wrong: "Could
// Not Create File !" when the file could not be created, an "Error" box with the reason when
// the writing failed (the earlier file of that name is then kept). Returns true when written.
bool CommitReporting(DialogPort& dialogs, AtomicFileWriter& file, const std::string& path);

// Saves a file whose bytes `write` hands to its sink a block at a time, reporting as
// CommitReporting does. An exception from `write` leaves no file behind and the earlier one
// as it was.
bool SaveFileReporting(DialogPort& dialogs, const std::string& path,
                       const std::function<void(const ByteSink&)>& write);

// The same for bytes already in memory.
bool SaveFileReporting(DialogPort& dialogs, const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace stackmason
