#include <filesystem>
#include <system_error>
#include <utility>

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicReader.h"
#include "editor/files/SpongeFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {
namespace {

// A size field takes a header value only when it lies in the field's range; otherwise the
// field keeps what it showed, and that becomes the size.
int SizeTaken(const SpinModel& field, std::int32_t value) {
    return value >= field.Minimum() && value <= field.Maximum() ? value : field.Value();
}

// Everything a load puts in place is read and made off to the side first: a file that
// cannot be read, is refused or needs more memory than there is leaves the building, the
// sizes, the pack, the selector and the view as they were. Only then is it put in place,
// by swaps that cannot fail, and shown as a freshly loaded building.
void PutLoadedBuildingInPlace(Editor& editor, StagedBuilding&& building, StagedPack&& pack) {
    ApplyEdit(editor, edit::ReplaceBuildingAndPack{{std::move(building.grid), std::move(building.frontPlane)},
                                                   {std::move(pack.name), std::move(pack.selector)}});
    editor.widthSpin.SetValue(editor.grid.Width());
    editor.lengthSpin.SetValue(editor.grid.Length());
    editor.heightSpin.SetValue(editor.grid.Height());
    SelectFirstBlock(editor);
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

// The pack the file calls for, or the one the caller names instead, known by its file name
// as a header names it.
StagedPack StagePackFor(const std::string& calledFor, const std::string& packPath) {
    if (packPath.empty())
        return StageTexturePack(calledFor);
    StagedPack pack = StageTexturePack(packPath);
    pack.name = FileNamePart(packPath);
    return pack;
}

void LoadTextBuilding(Editor& editor, const std::string& path, const std::string& packPath) {
    // Read a block at a time straight into the cells: the file is never held whole.
    std::optional<FileReader> file = FileReader::Open(path, kMaxBuildingFileBytes);
    if (!file) {
        editor.dialogs.ShowError(UnreadableTextFileMessage(path));
        return;
    }
    LineReader lines([&file](std::uint8_t* out, std::size_t size) { return file->Read(out, size); });
    const BuildingHeader header = ReadHeader(lines);
    if (file->Failed()) {
        editor.dialogs.ShowError(UnreadableTextFileMessage(path));
        return;
    }
    StagedPack pack = StagePackFor(header.packName, packPath);
    // The layers are read into an all-air building of the sizes the size fields take.
    StagedBuilding building = StageBuilding(SizeTaken(editor.widthSpin, header.width),
                                            SizeTaken(editor.lengthSpin, header.length),
                                            SizeTaken(editor.heightSpin, header.height));
    ReadLayers(lines, building.grid);
    if (file->Failed()) {
        // Part of the file could not be read: the building so far is not the file's.
        editor.dialogs.ShowError(UnreadableTextFileMessage(path));
        return;
    }
    PutLoadedBuildingInPlace(editor, std::move(building), std::move(pack));
}

// The pack comes first, so that the ids can become its codes as they are read: the file's
// ids are never held beside the cells.
void LoadSchematicBuilding(Editor& editor, const std::string& path, const std::string& packPath) {
    StagedPack pack = StagePackFor(kSchematicPackName, packPath);
    SchematicReadResult read = ReadSchematicFile(path, ImportedCodesOf(pack.selector));
    if (!read.grid) {
        editor.dialogs.ShowError(read.problem);
        return;
    }
    PutLoadedBuildingInPlace(editor, StageSchematic(std::move(*read.grid)), std::move(pack));
}

// As a schematic: its block states are Minecraft's, so it is read with "minecraft.zip".
// The pack comes first, so that each palette state's code is known as the cells are decoded.
void LoadSpongeBuilding(Editor& editor, const std::string& path, const std::string& packPath) {
    StagedPack pack = StagePackFor(kSchematicPackName, packPath);
    const ImportedStateCodes codes(pack.selector);
    SpongeReadResult read = ReadSpongeFile(path, [&codes](const std::string& state) { return codes.CodeOf(state); });
    if (!read.grid) {
        editor.dialogs.ShowError(read.problem);
        return;
    }
    PutLoadedBuildingInPlace(editor, StageSponge(std::move(*read.grid)), std::move(pack));
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
    if (choice.filter == kSchematicFilter)
        LoadSchematicBuilding(editor, choice.path, packPath);
    else if (choice.filter == kSpongeFilter)
        LoadSpongeBuilding(editor, choice.path, packPath);
    else
        LoadTextBuilding(editor, choice.path, packPath);
}

}  // namespace stackmason
