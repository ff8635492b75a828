// The Sponge schematic: block states of "minecraft.zip", both ways.
#include <chrono>
#include <filesystem>
#include <utility>

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
    for (const auto& [code, count] : leftOut.byCode)
        text += "\n" + BlockDescription(code, selector) + ": " + std::to_string(count);
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

bool ExportSponge(Editor& editor, const std::string& path) {
    const LayerSource layers = LayersOf(editor.grid);
    return SaveSpongeFile(SavedBuilding{layers, editor.selector, editor.texturePackName}, editor.dialogs, path);
}

}  // namespace stackmason
