// Litematica's schematic: block states of "minecraft.zip", both ways.
#include <chrono>
#include <filesystem>
#include <utility>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/FileFormats.h"
#include "editor/files/LitematicFiles.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SpongeFiles.h"
#include "editor/files/StateImport.h"

namespace stackmason {
namespace {

std::int64_t MillisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

LoadedFile LoadLitematicFile(const std::string& path, const LoadContext& context) {
    StateImport import(context);
    LitematicReadResult read = ReadLitematicFile(
        path, [&import](const SchematicFacts& facts, const PaletteStates& palette) { return import.CodesFor(facts, palette); });
    if (!read.grid)
        return LoadedFile{std::nullopt, {}, std::move(read.problem), {}};
    LoadedFile loaded;
    loaded.building = StageReadBuilding(std::move(*read.grid));
    loaded.notice = import.Report(read.cellsOfIndex);
    loaded.pack = import.TakePack();
    return loaded;
}

bool SaveLitematicFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    const PackBlockStates states(building.selector);
    const LitematicMetadata metadata{std::filesystem::path(path).stem().string(), kLitematicAuthor, MillisecondsNow(),
                                     building.packName, building.dataVersion};
    LeftOutCells leftOut;
    // Written a block at a time; the safe writer keeps an earlier file of that name until the
    // whole of the new one is on disk.
    const bool written = SaveFileReporting(dialogs, path, [&](const ByteSink& sink) {
        leftOut = WriteLitematic(building.layers, states, metadata, sink);
    });
    if (written && !leftOut.byCode.empty())
        dialogs.ShowInfo(LeftOutMessage(leftOut, building.selector));
    return written;
}

}  // namespace stackmason
