#include "editor/files/BlockStateMapping.h"

#include <optional>

#include "editor/files/BlockFamilies.h"
#include "editor/files/GameVersions.h"

namespace stackmason {
namespace {

const std::string kNoState;

ParsedState AtNewest(std::string_view state, std::int64_t dataVersion) {
    ParsedState parsed = ParseState(state);
    parsed.id = BlockIdAtNewest(parsed.id, dataVersion);
    return parsed;
}

// Whether every property the state names is the game's default: the entry to stand for its
// family when the pack has a block in several states (the slab before the double slab).
bool IsDefaultState(const ParsedState& state) {
    for (const auto& [key, value] : state.properties) {
        const std::optional<std::string_view> standard = DefaultProperty(state.id, key);
        if (!IsDerivedProperty(state.id, key) && (!standard || *standard != value))
            return false;
    }
    return true;
}

}  // namespace

PackBlockStates::PackBlockStates(const SelectorModel& selector) : states_(static_cast<std::size_t>(selector.Count())) {
    for (BlockCode code = 1; code < selector.Count(); ++code) {
        if (!selector.IsBlockPicture(code))
            continue;
        const std::optional<std::string_view> state = BlockStateOfEntry(selector.ItemAt(code).text, selector.Data(code));
        if (state)
            states_[static_cast<std::size_t>(code)] = std::string(*state);
    }
}

const std::string& PackBlockStates::StateOf(BlockCode code) const {
    if (code <= 0 || code >= CodeCount())
        return kNoState;
    return states_[static_cast<std::size_t>(code)];
}

ImportedStateCodes::ImportedStateCodes(const SelectorModel& selector, std::int64_t dataVersion)
    : dataVersion_(dataVersion) {
    const PackBlockStates states(selector);
    for (BlockCode code = 1; code < states.CodeCount(); ++code) {
        if (!states.HasState(code)) {
            if (unknown_ == 0 && selector.IsBlockPicture(code) &&
                BlockNameOfEntry(selector.ItemAt(code).text) == kUnknownBlockName)
                unknown_ = code;
            continue;
        }
        ParsedState state = AtNewest(states.StateOf(code), kBlockStateDataVersion);
        const BlockFamily family = FamilyOf(state.id);
        const auto key = std::make_pair(family.material, family.shape);
        const auto known = entryOfFamily_.find(key);
        if (known == entryOfFamily_.end())
            entryOfFamily_.emplace(key, entries_.size());
        else if (IsDefaultState(state) && !IsDefaultState(entries_[known->second].state))
            known->second = entries_.size();
        entriesOfBlock_.emplace(state.id, entries_.size());
        entries_.push_back({code, std::move(state)});
    }
}

MappedState ImportedStateCodes::Map(std::string_view state) const {
    const ParsedState parsed = AtNewest(state, dataVersion_);
    if (IsAirBlockId(parsed.id))
        return {0, StateMatch::Exact};
    const std::optional<MappedState> same = SameBlock(parsed);
    if (same && same->match == StateMatch::Exact)
        return *same;
    // A double slab is a full block: nearer its material's block than half of one.
    if (const std::optional<BlockCode> full = FullBlockOfDoubleSlab(parsed))
        return {*full, StateMatch::Approximate};
    if (same)
        return *same;
    if (const std::optional<BlockCode> near = OfFamily(parsed.id))
        return {*near, StateMatch::Approximate};
    return {unknown_, StateMatch::Unknown};
}

// The entry of the same block whose properties agree most; of those, one in the block's
// default state (a top slab is nearer a slab than a double slab); then the earlier entry.
std::optional<MappedState> ImportedStateCodes::SameBlock(const ParsedState& state) const {
    std::optional<MappedState> best;
    std::pair<int, bool> bestScore{-1, false};
    const auto [first, last] = entriesOfBlock_.equal_range(state.id);
    for (auto at = first; at != last; ++at) {
        const Entry& entry = entries_[at->second];
        const PropertyComparison comparison = CompareProperties(state, entry.state);
        if (comparison.same)
            return MappedState{entry.code, StateMatch::Exact};
        const std::pair<int, bool> score{comparison.equal, IsDefaultState(entry.state)};
        if (score > bestScore) {
            bestScore = score;
            best = MappedState{entry.code, StateMatch::Approximate};
        }
    }
    return best;
}

std::optional<BlockCode> ImportedStateCodes::FullBlockOfDoubleSlab(const ParsedState& state) const {
    const auto type = state.properties.find("type");
    if (!state.id.ends_with("_slab") || type == state.properties.end() || type->second != "double")
        return std::nullopt;
    return OfNearestMaterial(FamilyOf(state.id).material, "full");
}

// The shape of this material, or else of the nearest material the pack has it of.
std::optional<BlockCode> ImportedStateCodes::OfNearestMaterial(std::string_view material, std::string_view shape) const {
    if (const std::optional<BlockCode> code = OfShape(material, shape))
        return code;
    for (const std::string_view near : NearMaterials(material))
        if (const std::optional<BlockCode> code = OfShape(near, shape))
            return code;
    return std::nullopt;
}

std::optional<BlockCode> ImportedStateCodes::OfShape(std::string_view material, std::string_view shape) const {
    const auto found = entryOfFamily_.find(std::make_pair(std::string(material), std::string(shape)));
    if (found == entryOfFamily_.end())
        return std::nullopt;
    return entries_[found->second].code;
}

// The same shape of the nearest material; then the shape that stands in for it; then the
// material's full block where the shape is mostly that block; then the shape's last resort.
std::optional<BlockCode> ImportedStateCodes::OfFamily(std::string_view blockId) const {
    const BlockFamily family = FamilyOf(blockId);
    const auto firstOf = [&](std::string_view shape) { return OfNearestMaterial(family.material, shape); };
    if (const std::optional<BlockCode> code = firstOf(family.shape))
        return code;
    if (const std::string_view standIn = StandInShape(family.shape); !standIn.empty())
        if (const std::optional<BlockCode> code = firstOf(standIn))
            return code;
    if (MayBecomeFullBlock(family.shape))
        if (const std::optional<BlockCode> code = firstOf("full"))
            return code;
    if (const std::string_view last = LastMaterialForShape(family.shape); !last.empty())
        return OfShape(last, family.shape);
    return std::nullopt;
}

}  // namespace stackmason
