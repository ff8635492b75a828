#include "editor/packs/TexturePackLoader.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "common/BlockNames.h"
#include "common/Constants.h"
#include "common/TexturePackArchive.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Edit.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "editor/packs/BuiltInPictures.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;

// Nothing for a folder or for bytes that do not decode: such an entry is no block picture.
// An entry left out for the budget is one, whose picture is missing.
std::optional<Image> BlockPictureOf(TexturePackArchive& archive, int index) {
    const EntryPicture read = archive.ReadEntryPicture(index);
    if (read.leftOut)
        return MissingPicture(kTileSize);
    if (!read.image || read.image->IsEmpty())
        return std::nullopt;
    return ScaleNearest(LeftmostFace(*read.image), kTileSize, kTileSize);
}

void AddBlock(StagedPack& pack, std::string text, Image picture, std::int32_t blockId, bool isBlockPicture = true) {
    pack.selector.Add(std::move(text), picture, isBlockPicture);
    pack.selector.SetData(pack.selector.Count() - 1, blockId);
}

// The form of path the file system resolves it to; empty when it does not exist.
fs::path ResolvedOrEmpty(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::canonical(path, error);
    if (error == std::errc::not_enough_memory)
        throw std::bad_alloc();
    return error ? fs::path() : resolved;
}

// Packs are opened by their bare name from the current directory, so a pack in any other
// folder would not be found: the folders are compared as the file system resolves them.
bool LiesInCurrentDirectory(const std::string& path) {
    const fs::path folder = ResolvedOrEmpty(fs::absolute(fs::path(path)).parent_path());
    return !folder.empty() && folder == ResolvedOrEmpty(fs::current_path());
}

std::string PackFolderMessage() {
    std::error_code error;
    return "Texture packs must be in the folder Stackmason was started in:\n" + fs::current_path(error).string() +
           "\nCopy the pack there and select it again.";
}

}  // namespace

StagedPack StageTexturePack(const std::string& name) {
    StagedPack pack;
    pack.name = name;
    AddBlock(pack, "Air", AirImage(), 0);
    std::optional<TexturePackArchive> archive = TexturePackArchive::Open(name);
    if (!archive)
        return pack;
    for (int index = 0; index < archive->EntryCount(); ++index) {
        const PackEntry entry = archive->Entry(index);
        std::optional<Image> picture = BlockPictureOf(*archive, index);
        const bool isBlockPicture = picture.has_value();
        AddBlock(pack, ItemTextFromEntryName(entry.name), isBlockPicture ? std::move(*picture) : PlaceholderImage(),
                 BlockIdFromEntryName(entry.name), isBlockPicture);
    }
    pack.leftOutPictures = archive->LeftOutCount();
    return pack;
}

void TellOfLeftOutPictures(Editor& editor, const std::string& packName, int leftOutPictures) {
    if (leftOutPictures == 0)
        return;
    const std::string count = std::to_string(leftOutPictures);
    editor.dialogs.ShowInfo("The texture pack " + packName + " is too costly to decode whole for its size: " + count +
                            (leftOutPictures == 1 ? " picture was" : " pictures were") +
                            " left out and show as a magenta and black checkerboard.");
}

void PutPackInPlace(Editor& editor, StagedPack&& pack) {
    ApplyEdit(editor, edit::ReplacePack{std::move(pack.name), std::move(pack.selector)});
}

void LoadTexturePack(Editor& editor) {
    StagedPack pack = StageTexturePack(editor.texturePackName);
    const int leftOut = pack.leftOutPictures;
    PutPackInPlace(editor, std::move(pack));
    TellOfLeftOutPictures(editor, editor.texturePackName, leftOut);
}

void SelectTexturePack(Editor& editor) {
    if (!editor.dialogs.AskYesNo(" All unsaved data will be lost if you select another texturepack. Are you sure ?"))
        return;
    FileRequest request;
    request.title = "Choose a ZIP-Archiv";
    request.filters = {{"zip (*.zip)", "*.zip"}};
    const std::optional<FileChoice> choice = editor.dialogs.AskOpenFile(request);
    if (!choice || choice->path.empty())
        return;
    if (!LiesInCurrentDirectory(choice->path)) {
        editor.dialogs.ShowError(PackFolderMessage());
        return;
    }
    // The pack lies in the current directory, so its file name is all it needs.
    const std::string name = fs::path(choice->path).filename().string();
    NameRunningAction(editor, "select the texture pack " + name);
    const StepScope step(editor);
    // Pack and building are both had before either replaces the editor's.
    StagedPack pack = StageTexturePack(name);
    const int leftOut = pack.leftOutPictures;
    StagedBuilding building =
        StageBuilding(editor.widthSpin.Value(), editor.lengthSpin.Value(), editor.heightSpin.Value());
    ApplyEdit(editor, edit::ReplaceBuildingAndPack{{PackedBuilding(std::move(building.grid)), std::move(building.frontPlane)},
                                                   {std::move(pack.name), std::move(pack.selector)}});
    ShowEmptyBuilding(editor);
    TellOfLeftOutPictures(editor, name, leftOut);
}

}  // namespace stackmason
