#include "editor/files/BuildingFiles.h"

#include "editor/files/BuildingWriter.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/UserAction.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

// A name holding a line end would split the header line when read back.
bool PackNameFitsHeader(const std::string& packName) {
    return packName.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

std::string UnwritableCellsMessage(std::size_t cells) {
    return "The building was not saved: " + std::to_string(cells) + (cells == 1 ? " cell holds" : " cells hold") +
           " a block code that a building file cannot store, so the file would load back different. "
           "Nothing was written.";
}

}  // namespace

bool WriteBuildingToFile(Editor& editor, const std::string& path) {
    if (!PackNameFitsHeader(editor.texturePackName)) {
        editor.dialogs.ShowError("The building was not saved: the texture pack's name holds a line break. "
                                 "Nothing was written.");
        return false;
    }
    // The whole file is encoded before it is created, so that running short of memory
    // leaves an earlier file of that name as it was.
    const EncodedBuilding encoded = EncodeBuildingFile(editor.grid, editor.texturePackName);
    if (encoded.unwritableCells > 0) {
        editor.dialogs.ShowError(UnwritableCellsMessage(encoded.unwritableCells));
        return false;
    }
    return SaveFileReporting(editor.dialogs, path, encoded.Bytes());
}

void SaveBuilding(Editor& editor, bool toPreview) {
    if (toPreview) {
        WriteBuildingToFile(editor, kPreviewFileName);
        return;
    }
    const std::optional<FileChoice> choice = editor.dialogs.AskSaveFile(SaveBuildingRequest());
    if (!choice)
        return;
    NameRunningAction(editor, "save " + FileNamePart(choice->path));
    if (choice->filter == kSchematicFilter) {
        ExportSchematic(editor, WithExtension(choice->path, "schematic"));
        return;
    }
    WriteBuildingToFile(editor, WithExtension(choice->path, "txt"));
}

}  // namespace stackmason
