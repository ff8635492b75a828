#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "editor/files/SpongeReader.h"
#include "editor/files/SpongeWriter.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"

namespace stackmason {

// Writes the building as a Sponge schematic (".schem", version 2) at exactly this path, each
// block named by the block state the pack gives it. Cells whose block has none are written as
// air; after the file is written one "Info" box says how many of which block were left out. A
// file that cannot be created or written is reported as for the text save; the earlier file
// of that name is then kept. True when written.
bool SaveSpongeFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path);

// The "Info" text after an export that left cells out, naming each block by its item text.
std::string LeftOutMessage(const LeftOutCells& leftOut, const SelectorModel& selector);

// Writes a file of block states at exactly this path through the safe writer, a block at a
// time, and afterwards says in one "Info" box which cells `write` left out as air. True when
// written.
bool SaveStatesReportingLeftOut(const SelectorModel& selector, DialogPort& dialogs, const std::string& path,
                                const std::function<LeftOutCells(const ByteSink& sink)>& write);

// The time of writing a file records: milliseconds since 1970.
std::int64_t MillisecondsNow();

struct LoadContext;
struct LoadedFile;
struct SavedBuilding;
struct StreamedFile;

// Reads a Sponge schematic with the pack the context stages, each palette state mapped onto
// that pack's block that has it. A file that cannot be read or is refused gives the problem
// and no building. Throws std::bad_alloc when the memory cannot be had.
LoadedFile LoadSpongeFile(const std::string& path, const LoadContext& context);

// The same file as LoadSpongeFile reads it, checked whole, to be read a layer at a time.
StreamedFile StreamSpongeLayers(const std::string& path, const LoadContext& context);

}  // namespace stackmason
