#include "editor/files/BuildingFiles.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "editor/files/BuildingWriter.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SpongeFiles.h"
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

std::string ReplaceQuestion(const std::string& fileName) {
    return fileName + " already exists.\nDo you want to replace it?";
}

bool WriteBuildingToFile(Editor& editor, const std::string& path) {
    if (!PackNameFitsHeader(editor.texturePackName)) {
        editor.dialogs.ShowError("The building was not saved: the texture pack's name holds a line break. "
                                 "Nothing was written.");
        return false;
    }
    // The file is written a block at a time, and only a file whose cells all load back the
    // same is committed: otherwise the writer removes it and an earlier file of that name
    // stays as it was, as it does when running short of memory part way.
    AtomicFileWriter file(path);
    const std::size_t unwritableCells =
        file.Created() ? WriteBuildingFile(editor.grid, editor.texturePackName,
                                           [&file](std::span<const std::uint8_t> block) { file.Write(block); })
                       : CountUnwritableCells(editor.grid);
    if (unwritableCells > 0) {
        editor.dialogs.ShowError(UnwritableCellsMessage(unwritableCells));
        return false;
    }
    return CommitReporting(editor.dialogs, file, path);
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
    const std::string path = WithExtension(choice->path, FilterExtension(choice->filter));
    NameRunningAction(editor, "save " + FileNamePart(path));
    if (!MayWrite(editor.dialogs, request.title, path))
        return;
    if (choice->filter == kSchematicFilter)
        ExportSchematic(editor, path);
    else if (choice->filter == kSpongeFilter)
        ExportSponge(editor, path);
    else
        WriteBuildingToFile(editor, path);
}

}  // namespace stackmason
