#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"

namespace stackmason {

void ExportSchematic(Editor& editor, const std::string& path) {
    // Encoded whole before the file is created, as for the text save.
    const EncodedSchematic encoded = EncodeSchematic(editor.grid, ExportedBlocksOf(editor.selector));
    SaveFileReporting(editor.dialogs, path, encoded.Bytes());
}

}  // namespace stackmason
