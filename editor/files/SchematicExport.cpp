#include <new>

#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicWriter.h"

namespace stackmason {

void ExportSchematic(Editor& editor, const std::string& path) {
    EncodedSchematic encoded;
    try {
        encoded = EncodeSchematic(editor.grid, ExportedBlocksOf(editor.selector));
    } catch (const std::bad_alloc&) {
        editor.dialogs.ShowError(NoMemoryToSaveMessage(path));
        return;
    }
    SaveFileReporting(editor.dialogs, path, encoded.Bytes());
}

}  // namespace stackmason
