#include "editor/packs/TexturePackLoader.h"

#include "common/BlockNames.h"
#include "common/Constants.h"
#include "common/TexturePackArchive.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/BuiltInPictures.h"

namespace stackmason {
namespace {

Image BlockPictureOf(TexturePackArchive& archive, int index) {
    std::optional<Image> decoded = archive.ReadEntryImage(index);
    if (!decoded || decoded->IsEmpty())
        return PlaceholderImage();
    return ScaleNearest(LeftmostFace(*decoded), kTileSize, kTileSize);
}

void AddBlock(Editor& editor, std::string text, Image picture, std::int32_t blockId) {
    editor.selector.Add(std::move(text), picture);
    editor.selector.SetData(editor.selector.Count() - 1, blockId);
    editor.blockImages.push_back(std::move(picture));
}

}  // namespace

void LoadTexturePack(Editor& editor) {
    editor.selector.Clear();
    editor.blockImages.clear();
    ++editor.blockImagesGeneration;
    AddBlock(editor, "Air", AirImage(), 0);

    std::optional<TexturePackArchive> archive = TexturePackArchive::Open(editor.texturePackName);
    if (!archive)
        return;
    for (int index = 0; index < archive->EntryCount(); ++index) {
        const PackEntry entry = archive->Entry(index);
        AddBlock(editor, ItemTextFromEntryName(entry.name), BlockPictureOf(*archive, index),
                 BlockIdFromEntryName(entry.name));
    }
}

void SelectTexturePack(Editor& editor) {
    if (!editor.dialogs.AskYesNo(" All unsaved data will be lost if you select another texturepack. Are you sure ?"))
        return;
    const FileRequest request{"Choose a ZIP-Archiv", {{"zip (*.zip)", "*.zip"}}, 0, ""};
    const std::optional<FileChoice> choice = editor.dialogs.AskOpenFile(request);
    if (!choice || choice->path.empty())
        return;
    editor.texturePackName = FileNamePart(choice->path);
    LoadTexturePack(editor);
    NewBuilding(editor);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace stackmason
