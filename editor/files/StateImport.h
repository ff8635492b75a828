#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/FileFormats.h"
#include "editor/files/SpongeReader.h"

namespace stackmason {

// The pack a file of block states is read with and the code of each state of its palette,
// chosen once the palette is known, and afterwards the report of what did not come in as it
// was. A file that names the pack it was written with (a file of this editor) is read with
// that pack when it lies in the current folder and has every state of the file, so that
// the file comes back as it went out; any other with the pack its format calls for.
class StateImport {
public:
    explicit StateImport(const LoadContext& context) : context_(context) {}

    // The codes of the palette's states, with the cells to be counted where some state did not
    // come in as it is; the pack is staged on the first call.
    PaletteChoice CodesFor(const SchematicFacts& facts, const PaletteStates& palette);
    // The same codes, for reading the same file again.
    StateCodes SameCodes() const;

    // The pack staged; a pack of air alone where no palette was ever seen.
    StagedPack TakePack();
    // The text of the "Info" box after the import: empty when every cell came in exactly.
    std::string Report(const std::vector<std::uint64_t>& cellsOfIndex) const;

private:
    struct Mapped {
        std::vector<std::string> states;
        std::vector<MappedState> codes;
        bool allExact = true;
    };

    const LoadContext& context_;
    std::optional<StagedPack> pack_;
    std::shared_ptr<const Mapped> mapped_;
};

// Reads a file of block states with the pack and codes a StateImport chooses: `read` is
// given the function that chooses them and returns the read's grid, problem and counts. The
// building and the report, or the problem and no building.
template <typename Read>
LoadedFile LoadThroughStateImport(const LoadContext& context, Read read) {
    StateImport import(context);
    auto result = read([&import](const SchematicFacts& facts, const PaletteStates& palette) {
        return import.CodesFor(facts, palette);
    });
    if (!result.grid)
        return LoadedFile{std::nullopt, {}, std::move(result.problem), {}};
    LoadedFile loaded;
    loaded.building = StageReadBuilding(std::move(*result.grid));
    loaded.notice = import.Report(result.cellsOfIndex);
    loaded.pack = import.TakePack();
    return loaded;
}

// A state of a file and what it became, with the number of its cells.
struct ImportedState {
    std::string state;
    MappedState mapped;
    std::uint64_t cells = 0;
};

// Lists, most cells first, each state that did not come in exactly and what it became, each
// as the pack's entry names it; at most `maxLines` of them and a line for the rest. Empty
// when every state with cells came in exactly.
std::string ImportReportText(std::vector<ImportedState> states, const StagedPack& pack, std::size_t maxLines);

// The most states an "Info" box lists.
inline constexpr std::size_t kReportLinesInBox = 30;

}  // namespace stackmason
