// The Sponge schematic: block states of "minecraft.zip", both ways.
#include <chrono>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/FileFormats.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SpongeFiles.h"

namespace stackmason {
namespace {

std::int64_t MillisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

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

// As a schematic: the pack comes first, so that each palette state's code is known as the
// cells are decoded.
LoadedFile LoadSpongeFile(const std::string& path, const LoadContext& context) {
    LoadedFile loaded;
    loaded.pack = context.stagePack({});
    const ImportedStateCodes codes(loaded.pack.selector);
    SpongeReadResult read = ReadSpongeFile(path, [&codes](const std::string& state) { return codes.CodeOf(state); });
    if (!read.grid)
        return LoadedFile{std::nullopt, {}, std::move(read.problem)};
    loaded.building = StageReadBuilding(std::move(*read.grid));
    return loaded;
}

// As for the MCEdit schematic: a first pass checks the whole file and learns its sizes,
// holding a row; each pass a writer makes reads it again, holding a layer. A file whose
// cells are handed over more than once (several block data) is read whole.
StreamedFile StreamSpongeLayers(const std::string& path, const LoadContext& context) {
    StreamedFile streamed;
    streamed.pack = context.stagePack({});
    auto codes = std::make_shared<const ImportedStateCodes>(streamed.pack.selector);
    const StateCodes codeOf = [codes](const std::string& state) { return codes->CodeOf(state); };
    int starts = 0;
    std::vector<std::unique_ptr<CellRows>> kept;
    const SpongeStreamResult checked = StreamSpongeFile(
        path, codeOf,
        [&starts] {
            ++starts;
            return std::make_unique<DroppedRows>();
        },
        kept);
    if (!checked.sizes)
        return StreamedFile{std::nullopt, {}, checked.problem};
    const std::array<int, 3> sizes = *checked.sizes;
    if (starts != 1) {
        return StreamOfWholeFile(LoadSpongeFile(path, context));
    }
    streamed.layers = LayerSource{sizes[0], sizes[1], sizes[2], [path, codeOf, sizes](const LayerVisitor& visit) {
                                      // The one receiver of this pass, handing each layer on.
                                      LayerRows rows(sizes, visit);
                                      std::vector<std::unique_ptr<CellRows>> passKept;
                                      const SpongeStreamResult again = StreamSpongeFile(
                                          path, codeOf, [&rows] { return std::make_unique<Forwarded>(rows); },
                                          passKept);
                                      if (!again.sizes)
                                          throw LayerReadFailure(again.problem);
                                      rows.HandOn();
                                  }};
    return streamed;
}

bool SaveSpongeFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    const PackBlockStates states(building.selector);
    const SpongeMetadata metadata{std::filesystem::path(path).stem().string(), MillisecondsNow()};
    LeftOutCells leftOut;
    // Written a block at a time; the safe writer keeps an earlier file of that name until the
    // whole of the new one is on disk.
    const bool written = SaveFileReporting(dialogs, path, [&](const ByteSink& sink) {
        leftOut = WriteSpongeSchematic(building.layers, states, metadata, sink);
    });
    if (written && !leftOut.byCode.empty())
        dialogs.ShowInfo(LeftOutMessage(leftOut, building.selector));
    return written;
}

}  // namespace stackmason
