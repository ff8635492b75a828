#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/files/CodeCounts.h"
#include "editor/model/Editor.h"
#include "editor/model/MaterialScope.h"

namespace stackmason {

// The blocks a building is made of, for the builder who gathers them in the game.

struct MaterialRow {
    BlockCode code = 0;
    // The block's item text, or "block code N" for a code outside the pack.
    std::string name;
    // Its Minecraft block state as the game release of the list names it; empty where it has
    // none.
    std::string blockState;
    std::uint64_t count = 0;
};

struct MaterialList {
    // Every block type used, air never, the most used first (equal counts by code).
    std::vector<MaterialRow> rows;
    std::uint64_t total = 0;
};

// The list with the block states of the session's game release (SessionGameRelease).
MaterialList CountMaterials(const Editor& editor, MaterialScope scope);

// The list of cells counted elsewhere, named by the pack's selector, with the block states
// of the game release of `dataVersion`.
MaterialList MaterialsOf(const CodeCounts& counts, const SelectorModel& selector, std::int64_t dataVersion);

// A count as the game's stacks: "3 x 64 + 5", "64", "7".
std::string AsStacks(std::uint64_t count);

// The list as CSV: a header line, then per row the name, the block state and the count;
// fields holding a comma, a quote or a line end are quoted. Lines end in LF.
std::string MaterialCsv(const MaterialList& list);

// Asks for a file name with a save requester for CSV files (".csv" appended unless the name
// ends in it, an existing file replaced only after asking) and writes the list there through
// the safe writer, reporting failures as the other saves do. True when written.
bool SaveMaterialList(Editor& editor, const MaterialList& list);

// The save requester's question.
FileRequest MaterialListRequest();

}  // namespace stackmason
