#include "editor/files/StatePalette.h"

#include "editor/files/GameVersions.h"

namespace stackmason {

StatePalette MakeStatePalette(const CodeCounts& counts, const PackBlockStates& states, std::int64_t dataVersion) {
    StatePalette palette;
    palette.states.push_back("minecraft:air");
    palette.indexOfCode.assign(
        static_cast<std::size_t>(std::numeric_limits<StoredCode>::max()) + StatePalette::kCodeOffset + 1, 0);
    for (const BlockCode code : counts.CodesPresent()) {
        if (!states.HasState(code))
            continue;
        const std::string state = StateAtRelease(states.StateOf(code), dataVersion);
        std::uint32_t index = 0;
        while (index < palette.states.size() && palette.states[index] != state)
            ++index;
        if (index == palette.states.size())
            palette.states.push_back(state);
        palette.indexOfCode[static_cast<std::size_t>(code + StatePalette::kCodeOffset)] = index;
    }
    return palette;
}

LeftOutCells CountLeftOut(const CodeCounts& counts, const PackBlockStates& states) {
    LeftOutCells leftOut;
    for (const BlockCode code : counts.CodesPresent())
        if (code != 0 && !states.HasState(code))
            leftOut.byCode[code] = counts.Of(code);
    return leftOut;
}

}  // namespace stackmason
