#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"

namespace stackmason {

void ExportSchematic(Editor& editor, const std::string& path) {
    const ExportedBlocks blocks = ExportedBlocksOf(editor.selector);
    SaveFileReporting(editor.dialogs, path, [&](ByteSink& sink) { WriteSchematic(editor.grid, blocks, sink); });
}

}  // namespace stackmason
