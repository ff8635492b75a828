#include "editor/files/BuildingFiles.h"

#include <filesystem>
#include <system_error>

#include "editor/files/FileFormats.h"
#include "editor/files/FileRequests.h"
#include "editor/files/GameVersions.h"
#include "editor/model/UserAction.h"

namespace stackmason {

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

const GameRelease& SessionGameRelease(const Editor& editor) {
    if (editor.gameDataVersion)
        for (const GameRelease& release : GameReleases())
            if (release.dataVersion == *editor.gameDataVersion)
                return release;
    return DefaultGameRelease();
}

void SaveBuilding(Editor& editor, bool toPreview) {
    if (toPreview) {
        WriteBuildingToFile(editor, kPreviewFileName);
        return;
    }
    const FileRequest request = SaveBuildingRequest(SessionGameRelease(editor));
    const std::optional<FileChoice> choice = editor.dialogs.AskSaveFile(request);
    if (!choice)
        return;
    // The choice holds for the session, even if this save goes no further.
    editor.gameDataVersion = ChosenGameRelease(*choice, SessionGameRelease(editor)).dataVersion;
    const std::string path = WithExtension(choice->path, FilterExtension(choice->filter));
    NameRunningAction(editor, "save " + FileNamePart(path));
    if (!MayWrite(editor.dialogs, request.title, path))
        return;
    const LayerSource layers = LayersOf(editor.grid);
    FormatOfFilter(choice->filter)
        .save(SavedBuilding{layers, editor.selector, editor.texturePackName, SessionGameRelease(editor).dataVersion},
              editor.dialogs, path);
}

}  // namespace stackmason
