#include <filesystem>
#include <system_error>

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

// A size field takes a header value only when it lies in the field's range; otherwise the
// field keeps what it showed, and that becomes the size.
void TakeSize(SpinModel& field, std::int32_t value) {
    if (value >= field.Minimum() && value <= field.Maximum())
        field.SetValue(value);
}

void FinishLoading(Editor& editor) {
    ShowReplacedBuilding(editor);
    editor.window.DropPendingEvents();
}

std::string UnreadableTextFileMessage(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxBuildingFileBytes)
        return "The file is too large to be a building file (" + std::to_string(size >> 20) +
               " MB). Nothing was loaded.";
    return "Could not open file!";
}

void LoadTextBuilding(Editor& editor, const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kMaxBuildingFileBytes);
    if (!bytes) {
        editor.dialogs.ShowError(UnreadableTextFileMessage(path));
        return;
    }
    LineReader lines(*bytes);
    const BuildingHeader header = ReadHeader(lines);
    TakeSize(editor.widthSpin, header.width);
    TakeSize(editor.lengthSpin, header.length);
    TakeSize(editor.heightSpin, header.height);
    editor.texturePackName = header.packName;
    LoadTexturePack(editor);
    // A new building of the sizes in force, all air, is what the layers are read into.
    if (!NewBuilding(editor))
        return;
    ReadLayers(lines, editor.grid);
    FinishLoading(editor);
}

// The file is read and checked whole before the pack is switched, so that a file that is
// refused leaves pack and building as they were.
void LoadSchematicBuilding(Editor& editor, const std::string& path) {
    const SchematicReadResult read = ReadSchematicFile(path);
    if (!read.schematic) {
        editor.dialogs.ShowError(read.problem);
        return;
    }
    editor.texturePackName = kSchematicPackName;
    LoadTexturePack(editor);
    PlaceSchematic(editor, *read.schematic);
    editor.widthSpin.SetValue(editor.gridWidth);
    editor.lengthSpin.SetValue(editor.gridLength);
    editor.heightSpin.SetValue(editor.gridHeight);
    editor.selector.Select(editor.selector.Count() > 1 ? 1 : 0);
    FinishLoading(editor);
}

}  // namespace

void LoadBuilding(Editor& editor) {
    const std::optional<FileChoice> choice = editor.dialogs.AskOpenFile(LoadBuildingRequest());
    if (!choice)
        return;
    if (choice->filter == kSchematicFilter)
        LoadSchematicBuilding(editor, choice->path);
    else
        LoadTextBuilding(editor, choice->path);
}

}  // namespace stackmason
