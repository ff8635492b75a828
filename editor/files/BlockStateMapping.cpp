#include "editor/files/BlockStateMapping.h"

#include <optional>

#include "common/BlockStates.h"
#include "editor/files/BlockIdMapping.h"

namespace stackmason {
namespace {

const std::string kNoState;

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

ImportedStateCodes::ImportedStateCodes(const SelectorModel& selector) : unknown_(CodeForUnknownIds(selector)) {
    const PackBlockStates states(selector);
    for (BlockCode code = 1; code < states.CodeCount(); ++code)
        if (states.HasState(code)) {
            codeOfBlockId_.try_emplace(BlockIdOfState(states.StateOf(code)), code);
            codeOfState_.try_emplace(states.StateOf(code), code);
        }
}

BlockCode ImportedStateCodes::CodeOf(std::string_view state) const {
    const std::string blockId = BlockIdOfState(state);
    if (IsAirBlockId(blockId))
        return 0;
    if (const auto exact = codeOfState_.find(std::string(state)); exact != codeOfState_.end())
        return exact->second;
    const auto found = codeOfBlockId_.find(blockId);
    return found != codeOfBlockId_.end() ? found->second : unknown_;
}

}  // namespace stackmason
