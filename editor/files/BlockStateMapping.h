#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Building.h"
#include "editor/model/SelectorModel.h"

namespace stackmason {

// Between block codes (positions in the loaded texture pack) and Minecraft block states
// (common/BlockStates.h), for the Sponge schematic files and the material list.

// The block state of each code of the pack: empty for air, for entries without a block
// picture and for entries the block-state table knows nothing of.
class PackBlockStates {
public:
    explicit PackBlockStates(const SelectorModel& selector);

    // Empty for a code that has no state, codes outside the pack included.
    const std::string& StateOf(BlockCode code) const;
    bool HasState(BlockCode code) const { return !StateOf(code).empty(); }
    int CodeCount() const { return static_cast<int>(states_.size()); }

private:
    std::vector<std::string> states_;
};

// The code each block state of a file becomes: the first pack entry (from 1 up) whose state
// has the same block id, properties ignored; air for the airs; for any other block the code
// that unknown block ids become in a schematic import. Only where two entries share a block
// id do the properties choose: a state that is exactly an entry's goes to that entry, so
// that the double slab and the slab of one pack both come back as they went out.
class ImportedStateCodes {
public:
    explicit ImportedStateCodes(const SelectorModel& selector);

    BlockCode CodeOf(std::string_view state) const;

private:
    std::unordered_map<std::string, BlockCode> codeOfBlockId_;
    std::unordered_map<std::string, BlockCode> codeOfState_;
    BlockCode unknown_ = 0;
};

}  // namespace stackmason
