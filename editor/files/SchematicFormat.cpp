// The MCEdit schematic: block ids of "minecraft.zip", both ways.
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"

namespace stackmason {

// The pack comes first, so that the ids can become its codes as they are read: the file's
// ids are never held beside the cells.
LoadedFile LoadSchematicFile(const std::string& path, const LoadContext& context) {
    LoadedFile loaded;
    loaded.pack = context.stagePack({});
    SchematicReadResult read = ReadSchematicFile(path, ImportedCodesOf(loaded.pack.selector));
    if (!read.grid)
        return LoadedFile{std::nullopt, {}, std::move(read.problem), {}};
    loaded.building = StageReadBuilding(std::move(*read.grid));
    return loaded;
}

// A first pass checks the whole file and learns its sizes, holding a row; each pass a writer
// makes reads it again, holding a layer. A file of several Blocks arrays, of which the last
// counts, is read whole.
StreamedFile StreamSchematicLayers(const std::string& path, const LoadContext& context) {
    StreamedFile streamed;
    streamed.pack = context.stagePack({});
    const ImportedCodes codes = ImportedCodesOf(streamed.pack.selector);
    DroppedRows dropped;
    const SchematicStreamResult checked = StreamSchematicFile(path, codes, dropped);
    if (!checked.sizes)
        return StreamedFile{std::nullopt, {}, checked.problem, {}};
    const std::array<int, 3> sizes = *checked.sizes;
    if (checked.starts != 1 || dropped.starts != 1) {
        return StreamOfWholeFile(LoadSchematicFile(path, context));
    }
    streamed.layers = LayerSource{sizes[0], sizes[1], sizes[2], [path, codes, sizes](const LayerVisitor& visit) {
                                      LayerRows rows(sizes, visit);
                                      const SchematicStreamResult again = StreamSchematicFile(path, codes, rows);
                                      if (!again.sizes)
                                          throw LayerReadFailure(again.problem);
                                      rows.HandOn();
                                  }};
    return streamed;
}

bool SaveSchematicFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    // Written a block at a time; the safe writer keeps an earlier file of that name until
    // the whole of the new one is on disk.
    const ExportedBlocks blocks = ExportedBlocksOf(building.selector);
    return SaveFileReporting(dialogs, path,
                             [&](const ByteSink& sink) { WriteSchematic(building.layers, blocks, sink); });
}

bool ExportSchematic(Editor& editor, const std::string& path) {
    const LayerSource layers = LayersOf(editor.grid);
    const SavedBuilding building{layers, editor.selector, editor.texturePackName, SessionGameRelease(editor).dataVersion};
    return SaveSchematicFile(building, editor.dialogs, path);
}

}  // namespace stackmason
