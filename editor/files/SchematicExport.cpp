#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"

namespace stackmason {

void ExportSchematic(Editor& editor, const std::string& path) {
    // Written a block at a time; the safe writer keeps an earlier file of that name until
    // the whole of the new one is on disk.
    const ExportedBlocks blocks = ExportedBlocksOf(editor.selector);
    SaveFileReporting(editor.dialogs, path,
                      [&](const ByteSink& sink) { WriteSchematic(editor.grid, blocks, sink); });
}

}  // namespace stackmason
