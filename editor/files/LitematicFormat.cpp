// Litematica's schematic: block states, both ways, with the pack the file names or the pack of
// the game's blocks.
#include <filesystem>
#include <utility>

#include "editor/files/BlockStateMapping.h"
#include "editor/files/FileFormats.h"
#include "editor/files/LitematicFiles.h"
#include "editor/files/SpongeFiles.h"
#include "editor/files/StateImport.h"

namespace stackmason {

LoadedFile LoadLitematicFile(const std::string& path, const LoadContext& context) {
    return LoadThroughStateImport(context,
                                  [&path](const StateCodesFor& codesFor) { return ReadLitematicFile(path, codesFor); });
}

bool SaveLitematicFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    const PackBlockStates states(building.selector);
    const LitematicMetadata metadata{std::filesystem::path(path).stem().string(), kLitematicAuthor, MillisecondsNow(),
                                     building.packName, building.dataVersion};
    return SaveStatesReportingLeftOut(building.selector, dialogs, path, [&](const ByteSink& sink) {
        return WriteLitematic(building.layers, states, metadata, sink);
    });
}

}  // namespace stackmason
