#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/CodeCounts.h"

namespace stackmason {

// The palette a file of block states is written with (Sponge and Litematica schematics):
// air first, then the state of each code present, named as the target release names it.
// Codes of one state share its index; codes without a state take air's.
struct StatePalette {
    std::vector<std::string> states;
    std::vector<std::uint32_t> indexOfCode;  // by code + kCodeOffset

    static constexpr BlockCode kCodeOffset = -static_cast<BlockCode>(std::numeric_limits<StoredCode>::min());
    std::uint32_t IndexOf(BlockCode code) const { return indexOfCode[static_cast<std::size_t>(code + kCodeOffset)]; }
    // The indexes by stored code, for loops over cells.
    const std::uint32_t* IndexByStoredCode() const { return indexOfCode.data() + kCodeOffset; }
};

StatePalette MakeStatePalette(const CodeCounts& counts, const PackBlockStates& states, std::int64_t dataVersion);

// The cells written as air because their block has no block state, by code.
struct LeftOutCells {
    std::map<BlockCode, std::uint64_t> byCode;

    std::uint64_t Total() const {
        std::uint64_t total = 0;
        for (const auto& [code, count] : byCode)
            total += count;
        return total;
    }
};

LeftOutCells CountLeftOut(const CodeCounts& counts, const PackBlockStates& states);

}  // namespace stackmason
