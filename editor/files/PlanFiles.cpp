#include "editor/files/PlanFiles.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SavedFile.h"
#include "editor/model/UserAction.h"

namespace stackmason {

FileRequest LayerBookletRequest() {
    FileRequest request;
    request.title = "Save layer plans";
    request.filters = {{"pdf(*.pdf)", "*.pdf"}};
    std::error_code error;
    request.startName = std::filesystem::current_path(error).string();
    return request;
}

namespace {

// The name the booklet gives the building: the booklet's own, as the editor keeps no file name.
std::string BuildingNameOf(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

bool SaveLayerBooklet(Editor& editor) {
    const FileRequest request = LayerBookletRequest();
    const std::optional<FileChoice> choice = editor.dialogs.AskSaveFile(request);
    if (!choice)
        return false;
    const std::string path = WithExtension(choice->path, "pdf");
    NameRunningAction(editor, "save " + FileNamePart(path));
    if (!MayWrite(editor.dialogs, request.title, path))
        return false;
    const LayerPlan plan = MakeLayerPlan(editor, BuildingNameOf(path));
    return SaveFileReporting(editor.dialogs, path,
                             [&](const ByteSink& sink) { WriteLayerBooklet(plan, editor.grid, editor.selector, sink); });
}

std::vector<std::string> ExistingPictures(const LayerPlan& plan, const std::string& folder) {
    std::vector<std::string> existing;
    std::error_code error;
    for (const PlanPage& page : plan.pages) {
        const std::string name = PlanPictureName(plan, page);
        if (std::filesystem::exists(std::filesystem::path(folder) / name, error))
            existing.push_back(name);
    }
    return existing;
}

std::string PicturesReplaceQuestion(const std::vector<std::string>& names) {
    const std::string first = names.empty() ? std::string() : names.front();
    return names.size() == 1 ? first + " already exists.\nDo you want to replace it?"
                             : std::to_string(names.size()) + " of the pictures already exist (" + first +
                                   " and more).\nDo you want to replace them?";
}

bool WriteLayerPictures(DialogPort& dialogs, const LayerPlan& plan, const Building& grid,
                        const SelectorModel& selector, const std::string& folder) {
    bool written = true;
    PaintLayerPictures(plan, grid, selector, [&](const PlanPicture& picture) {
        if (written)
            written = SaveFileReporting(dialogs, (std::filesystem::path(folder) / picture.name).string(), picture.png);
    });
    return written;
}

bool SaveLayerPictures(Editor& editor) {
    const std::optional<std::string> folder = editor.dialogs.AskFolder("Save layer pictures");
    if (!folder)
        return false;
    NameRunningAction(editor, "save the layer pictures in " + FileNamePart(*folder));
    const LayerPlan plan = MakeLayerPlan(editor, BuildingNameOf(*folder));
    const std::vector<std::string> existing = ExistingPictures(plan, *folder);
    if (!existing.empty() && !editor.dialogs.AskToReplace("Save layer pictures", PicturesReplaceQuestion(existing)))
        return false;
    return WriteLayerPictures(editor.dialogs, plan, editor.grid, editor.selector, *folder);
}

}  // namespace stackmason
