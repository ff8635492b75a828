// The Sponge schematic: block states, both ways, with the pack the file names or the pack of the
// game's blocks.
#include <chrono>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/FileFormats.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SpongeFiles.h"
#include "editor/files/StateImport.h"

namespace stackmason {
namespace {


// Hands the cells on to a receiver the caller keeps.
class Forwarded final : public CellRows {
public:
    explicit Forwarded(CellRows& to) : to_(to) {}
    void Start(int width, int length, int height) override { to_.Start(width, length, height); }
    StoredCode* Row(int y, int h) override { return to_.Row(y, h); }

private:
    CellRows& to_;
};

std::string BlockDescription(BlockCode code, const SelectorModel& selector) {
    if (code > 0 && code < selector.Count())
        return selector.ItemAt(code).text;
    return "block code " + std::to_string(code);
}

}  // namespace

std::string LeftOutMessage(const LeftOutCells& leftOut, const SelectorModel& selector) {
    const std::uint64_t total = leftOut.Total();
    std::string text = std::to_string(total) + (total == 1 ? " cell was" : " cells were") +
                       " written as air, since Minecraft has no block state for " +
                       (leftOut.byCode.size() == 1 ? "its block" : "their blocks") + ":";
    // Appended piece by piece: GCC 12 reports a false -Wrestrict for `"\n" + std::string` in
    // optimised builds.
    for (const auto& [code, count] : leftOut.byCode) {
        text += '\n';
        text += BlockDescription(code, selector);
        text += ": ";
        text += std::to_string(count);
    }
    return text;
}

// The pack is chosen once the palette is read, before the cells are decoded, so that each
// state's code is known as they are.
LoadedFile LoadSpongeFile(const std::string& path, const LoadContext& context) {
    return LoadThroughStateImport(context, [&path](const StateCodesFor& codesFor) { return ReadSpongeFile(path, codesFor); });
}

// As for the MCEdit schematic: a first pass checks the whole file, learns its sizes and
// chooses the pack, holding a row; each pass a writer makes reads it again, holding a layer.
// A file whose cells are handed over more than once (several block data) is read whole.
StreamedFile StreamSpongeLayers(const std::string& path, const LoadContext& context) {
    StateImport import(context);
    int starts = 0;
    std::vector<std::unique_ptr<CellRows>> kept;
    const SpongeStreamResult checked = StreamSpongeFile(
        path, [&import](const SchematicFacts& facts, const PaletteStates& palette) { return import.CodesFor(facts, palette); },
        [&starts] {
            ++starts;
            return std::make_unique<DroppedRows>();
        },
        kept);
    if (!checked.sizes)
        return StreamedFile{std::nullopt, {}, checked.problem, {}};
    const std::array<int, 3> sizes = *checked.sizes;
    if (starts != 1)
        return StreamOfWholeFile(LoadSpongeFile(path, context));
    StreamedFile streamed;
    streamed.notice = import.Report(checked.cellsOfIndex);
    const StateCodes codeOf = import.SameCodes();
    streamed.pack = import.TakePack();
    streamed.layers = LayerSource{sizes[0], sizes[1], sizes[2], [path, codeOf, sizes](const LayerVisitor& visit) {
                                      // The one receiver of this pass, handing each layer on.
                                      LayerRows rows(sizes, visit);
                                      std::vector<std::unique_ptr<CellRows>> passKept;
                                      const SpongeStreamResult again = StreamSpongeFile(
                                          path,
                                          [codeOf](const SchematicFacts&, const PaletteStates&) {
                                              return PaletteChoice{codeOf};
                                          },
                                          [&rows] { return std::make_unique<Forwarded>(rows); }, passKept);
                                      if (!again.sizes)
                                          throw LayerReadFailure(again.problem);
                                      rows.HandOn();
                                  }};
    return streamed;
}

bool SaveSpongeFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    const PackBlockStates states(building.selector);
    const SpongeMetadata metadata{std::filesystem::path(path).stem().string(), MillisecondsNow(), building.packName,
                                  building.dataVersion};
    return SaveStatesReportingLeftOut(building.selector, dialogs, path, [&](const ByteSink& sink) {
        return WriteSpongeSchematic(building.layers, states, metadata, sink);
    });
}

std::int64_t MillisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool SaveStatesReportingLeftOut(const SelectorModel& selector, DialogPort& dialogs, const std::string& path,
                                const std::function<LeftOutCells(const ByteSink& sink)>& write) {
    LeftOutCells leftOut;
    // Written a block at a time; the safe writer keeps an earlier file of that name until the
    // whole of the new one is on disk.
    const bool written = SaveFileReporting(dialogs, path, [&](const ByteSink& sink) { leftOut = write(sink); });
    if (written && !leftOut.byCode.empty())
        dialogs.ShowInfo(LeftOutMessage(leftOut, selector));
    return written;
}

}  // namespace stackmason
