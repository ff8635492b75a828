#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/BlockStates.h"
#include "common/Building.h"
#include "editor/files/BlockProperties.h"
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

// How a state of a file found its block in the pack.
enum class StateMatch {
    Exact,        // the same state (or one of the airs, as air)
    Approximate,  // the same block in another state, or a block of its family
    Unknown,      // nothing near: the pack's "unknown" entry, or air where it has none
};

struct MappedState {
    BlockCode code = 0;
    StateMatch match = StateMatch::Exact;
};

// The code each block state of a file becomes, in this order: the entry with the same state
// (properties compared as a set, with the game's defaults for those left out, and those the
// game works out from neighbours left out of the comparison); the entry of the same block
// whose state is nearest; the entry of the same shape and the nearest material
// (BlockFamilies.h); and last the pack's "unknown" entry. Names are compared as of the newest
// release, the file's taken at its data version and the pack's at 1.13's.
class ImportedStateCodes {
public:
    explicit ImportedStateCodes(const SelectorModel& selector, std::int64_t dataVersion = kBlockStateDataVersion);

    MappedState Map(std::string_view state) const;
    BlockCode CodeOf(std::string_view state) const { return Map(state).code; }
    // The entry that stands for blocks the pack has nothing near; 0 where the pack has none.
    BlockCode UnknownCode() const { return unknown_; }

private:
    struct Entry {
        BlockCode code;
        ParsedState state;
    };

    std::optional<MappedState> SameBlock(const ParsedState& state) const;
    std::optional<BlockCode> OfFamily(std::string_view blockId) const;
    std::optional<BlockCode> FullBlockOfDoubleSlab(const ParsedState& state) const;
    std::optional<BlockCode> OfNearestMaterial(std::string_view material, std::string_view shape) const;
    std::optional<BlockCode> OfShape(std::string_view material, std::string_view shape) const;

    std::int64_t dataVersion_;
    std::vector<Entry> entries_;
    std::multimap<std::string, std::size_t, std::less<>> entriesOfBlock_;
    // The entry of each material and shape, one in its default state where there is one.
    std::map<std::pair<std::string, std::string>, std::size_t> entryOfFamily_;
    BlockCode unknown_ = 0;
};

// The block name of the entry that a pack holds for blocks it has no picture for.
inline constexpr std::string_view kUnknownBlockName = "unknown";

}  // namespace stackmason
