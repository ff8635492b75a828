// The MCEdit schematic: block ids of "minecraft.zip", both ways.
#include "editor/files/BlockIdMapping.h"
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
        return LoadedFile{std::nullopt, {}, std::move(read.problem)};
    loaded.building = StageReadBuilding(std::move(*read.grid));
    return loaded;
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
    return SaveSchematicFile(SavedBuilding{layers, editor.selector, editor.texturePackName}, editor.dialogs, path);
}

}  // namespace stackmason
