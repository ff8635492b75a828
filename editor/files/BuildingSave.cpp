#include "editor/files/BuildingFiles.h"

#include <filesystem>
#include <new>
#include <system_error>

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

// The requester cannot see the extension appended after it closed, so the question whether
// to replace a file is asked here, about the name that is really written, whether or not the
// user typed the extension.
bool MayWrite(DialogPort& dialogs, const std::string& requesterTitle, const std::string& path) {
    std::error_code error;
    const std::filesystem::path target(path);
    if (!std::filesystem::exists(target, error) || std::filesystem::is_directory(target, error))
        return true;
    return dialogs.AskToReplace(requesterTitle, ReplaceQuestion(target.filename().string()));
}

}  // namespace

std::string ReplaceQuestion(const std::string& fileName) {
    return fileName + " already exists.\nDo you want to replace it?";
}

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
    const FileRequest request = SaveBuildingRequest();
    const std::optional<FileChoice> choice = editor.dialogs.AskSaveFile(request);
    if (!choice)
        return;
    const bool schematic = choice->filter == kSchematicFilter;
    const std::string path = WithExtension(choice->path, schematic ? "schematic" : "txt");
    NameRunningAction(editor, "save " + FileNamePart(path));
    if (!MayWrite(editor.dialogs, request.title, path))
        return;
    if (schematic)
        ExportSchematic(editor, path);
    else
        WriteBuildingToFile(editor, path);
}

}  // namespace stackmason
