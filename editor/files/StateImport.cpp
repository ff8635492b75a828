#include "editor/files/StateImport.h"

#include <algorithm>

#include "editor/files/FileRequests.h"
#include "editor/files/GameVersions.h"

namespace stackmason {
namespace {

// A pack named inside a file is opened only by a bare file name from the current folder, as
// a building's header names its pack: never a path that leads elsewhere.
bool IsBarePackName(const std::string& name) {
    return !name.empty() && name.size() < 256 && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool HoldsEveryState(const ImportedStateCodes& codes, const PaletteStates& palette) {
    return std::all_of(palette.begin(), palette.end(), [&](const std::optional<std::string>& state) {
        return !state || codes.Map(*state).match == StateMatch::Exact;
    });
}

std::string CellsText(std::uint64_t cells) { return std::to_string(cells) + (cells == 1 ? " cell" : " cells"); }

std::string EntryText(const MappedState& mapped, const StagedPack& pack) {
    if (mapped.code > 0 && mapped.code < pack.selector.Count())
        return pack.selector.ItemAt(mapped.code).text;
    return "air";
}

}  // namespace

PaletteChoice StateImport::CodesFor(const SchematicFacts& facts, const PaletteStates& palette) {
    if (mapped_)
        return {SameCodes(), !mapped_->allExact};
    const std::int64_t dataVersion = facts.dataVersion.value_or(kBlockStateDataVersion);
    if (!context_.packGiven && IsBarePackName(facts.packName)) {
        StagedPack named = context_.stagePack(facts.packName);
        if (HoldsEveryState(ImportedStateCodes(named.selector, dataVersion), palette))
            pack_ = std::move(named);
    }
    if (!pack_)
        pack_ = context_.stagePack({});
    const ImportedStateCodes codes(pack_->selector, dataVersion);
    auto mapped = std::make_shared<Mapped>();
    for (const std::optional<std::string>& state : palette) {
        mapped->states.push_back(state.value_or(std::string()));
        mapped->codes.push_back(state ? codes.Map(*state) : MappedState{});
        mapped->allExact = mapped->allExact && mapped->codes.back().match == StateMatch::Exact;
    }
    mapped_ = std::move(mapped);
    return {SameCodes(), !mapped_->allExact};
}

StateCodes StateImport::SameCodes() const {
    // Read again, a file gives the same palette; its states are looked up by their text.
    return [mapped = mapped_](const std::string& state) {
        if (!mapped)
            return BlockCode{0};
        const auto at = std::find(mapped->states.begin(), mapped->states.end(), state);
        return at == mapped->states.end() ? BlockCode{0}
                                          : mapped->codes[static_cast<std::size_t>(at - mapped->states.begin())].code;
    };
}

StagedPack StateImport::TakePack() {
    if (!pack_)
        pack_ = context_.stagePack({});
    return std::move(*pack_);
}

std::string StateImport::Report(const std::vector<std::uint64_t>& cellsOfIndex) const {
    if (!mapped_ || !pack_)
        return {};
    std::vector<ImportedState> states;
    for (std::size_t index = 0; index < mapped_->states.size() && index < cellsOfIndex.size(); ++index)
        states.push_back({mapped_->states[index], mapped_->codes[index], cellsOfIndex[index]});
    return ImportReportText(std::move(states), *pack_, kReportLinesInBox);
}

std::string ImportReportText(std::vector<ImportedState> states, const StagedPack& pack, std::size_t maxLines) {
    std::erase_if(states, [](const ImportedState& state) {
        return state.cells == 0 || state.mapped.match == StateMatch::Exact;
    });
    if (states.empty())
        return {};
    std::sort(states.begin(), states.end(), [](const ImportedState& a, const ImportedState& b) {
        return a.cells != b.cells ? a.cells > b.cells : a.state < b.state;
    });
    std::string text = "Not every block of this file is in the pack " + pack.name +
                       " as it is. These came in as the nearest block of the pack, or as \"" +
                       std::string(kUnknownBlockName) + "\" (saved as air):";
    std::uint64_t restCells = 0;
    for (std::size_t line = 0; line < states.size(); ++line) {
        const ImportedState& state = states[line];
        if (line >= maxLines) {
            restCells += state.cells;
            continue;
        }
        text += '\n';
        text += CellsText(state.cells);
        text += " of ";
        text += state.state;
        text += " became ";
        text += EntryText(state.mapped, pack);
    }
    if (states.size() > maxLines) {
        const std::size_t rest = states.size() - maxLines;
        text += "\nand " + std::to_string(rest) + (rest == 1 ? " more block state in " : " more block states in ") +
                CellsText(restCells);
    }
    return text;
}

}  // namespace stackmason
