#include <utility>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

// Everything a load puts in place is read and made off to the side first: a file that
// cannot be read, is refused or needs more memory than there is leaves the building, the
// sizes, the pack, the selector and the view as they were. Only then is it put in place,
// by swaps that cannot fail, and shown as a freshly loaded building.
void PutLoadedBuildingInPlace(Editor& editor, StagedBuilding&& building, StagedPack&& pack) {
    const int leftOutPictures = pack.leftOutPictures;
    ApplyEdit(editor, edit::ReplaceBuildingAndPack{{PackedBuilding(std::move(building.grid)), std::move(building.frontPlane)},
                                                   {std::move(pack.name), std::move(pack.selector)}});
    editor.widthSpin.SetValue(editor.grid.Width());
    editor.lengthSpin.SetValue(editor.grid.Length());
    editor.heightSpin.SetValue(editor.grid.Height());
    SelectFirstBlock(editor);
    ShowReplacedBuilding(editor);
    editor.window.DropPendingEvents();
    TellOfLeftOutPictures(editor, editor.texturePackName, leftOutPictures);
}

}  // namespace

void LoadBuilding(Editor& editor) {
    const std::optional<FileChoice> choice = editor.dialogs.AskOpenFile(LoadBuildingRequest());
    if (!choice)
        return;
    LoadBuildingFile(editor, *choice);
}

void LoadBuildingFile(Editor& editor, const FileChoice& choice, const std::string& packPath) {
    NameRunningAction(editor, "load " + FileNamePart(choice.path));
    // A load that is refused changes nothing and so adds no step.
    const StepScope step(editor);
    const FileFormat& format = FormatOfFilter(choice.filter);
    LoadedFile loaded = format.load(choice.path, LoadContextFor(editor, format, packPath));
    if (!loaded.building) {
        editor.dialogs.ShowError(loaded.problem);
        return;
    }
    PutLoadedBuildingInPlace(editor, std::move(*loaded.building), std::move(loaded.pack));
    if (!loaded.notice.empty())
        editor.dialogs.ShowInfo(loaded.notice);
}

}  // namespace stackmason
