// The building text format: read a block at a time with the pack its header names, written
// a block at a time through the safe writer.
#include <filesystem>
#include <system_error>
#include <utility>

#include "common/BuildingReader.h"
#include "common/Constants.h"
#include "common/FileBytes.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/FileFormats.h"
#include "editor/files/SavedFile.h"

namespace stackmason {
namespace {

// A size field takes a header value only when it lies in the field's range; otherwise the
// field keeps what it showed, and that becomes the size.
int SizeTaken(const SpinModel& field, std::int32_t value) {
    return value >= field.Minimum() && value <= field.Maximum() ? value : field.Value();
}

std::string UnreadableTextFileMessage(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxBuildingFileBytes)
        return "The file is too large to be a building file (" + std::to_string(size >> 20) +
               " MB). Nothing was loaded.";
    return "Could not open file!";
}

LoadedFile Unreadable(const std::string& path) { return LoadedFile{std::nullopt, {}, UnreadableTextFileMessage(path), {}}; }

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

LoadedFile LoadTextFile(const std::string& path, const LoadContext& context) {
    // Read a block at a time straight into the cells: the file is never held whole.
    std::optional<FileReader> file = FileReader::Open(path, kMaxBuildingFileBytes);
    if (!file)
        return Unreadable(path);
    LineReader lines([&file](std::uint8_t* out, std::size_t size) { return file->Read(out, size); });
    const BuildingHeader header = ReadHeader(lines);
    if (file->Failed())
        return Unreadable(path);
    LoadedFile loaded;
    loaded.pack = context.stagePack(header.packName);
    // The layers are read into an all-air building of the sizes the size fields take.
    const Editor& editor = context.editor;
    StagedBuilding building = StageBuilding(SizeTaken(editor.widthSpin, header.width),
                                            SizeTaken(editor.lengthSpin, header.length),
                                            SizeTaken(editor.heightSpin, header.height));
    ReadLayers(lines, building.grid);
    // Part of the file could not be read: the building so far is not the file's.
    if (file->Failed())
        return Unreadable(path);
    loaded.building = std::move(building);
    return loaded;
}

StreamedFile StreamTextFile(const std::string& path, const LoadContext& context) {
    std::optional<FileReader> file = FileReader::Open(path, kMaxBuildingFileBytes);
    if (!file)
        return StreamedFile{std::nullopt, {}, UnreadableTextFileMessage(path), {}};
    LineReader lines([&file](std::uint8_t* out, std::size_t size) { return file->Read(out, size); });
    const BuildingHeader header = ReadHeader(lines);
    if (file->Failed())
        return StreamedFile{std::nullopt, {}, UnreadableTextFileMessage(path), {}};
    StreamedFile streamed;
    streamed.pack = context.stagePack(header.packName);
    const Editor& editor = context.editor;
    const int width = SizeTaken(editor.widthSpin, header.width);
    const int length = SizeTaken(editor.lengthSpin, header.length);
    const int height = SizeTaken(editor.heightSpin, header.height);
    // Each pass reads the file from its start, into the one layer held, as LoadTextFile reads
    // it into the whole building: layers past the end of the data are air.
    streamed.layers = LayerSource{width, length, height, [path, width, length, height](const LayerVisitor& visit) {
        std::optional<FileReader> again = FileReader::Open(path, kMaxBuildingFileBytes);
        if (!again)
            throw LayerReadFailure(UnreadableTextFileMessage(path));
        LineReader layerLines([&again](std::uint8_t* out, std::size_t size) { return again->Read(out, size); });
        ReadHeader(layerLines);
        Building layer(width, length, 1);
        for (int h = 1; h <= height; ++h) {
            layer.ClearLayer(1);
            if (!layerLines.AtEnd())
                ReadLayer(layerLines, 1, layer);
            if (again->Failed())
                throw LayerReadFailure(UnreadableTextFileMessage(path));
            visit(h, LayerView(layer, 1));
        }
    }};
    return streamed;
}

bool SaveTextFile(const SavedBuilding& building, DialogPort& dialogs, const std::string& path) {
    if (!PackNameFitsHeader(building.packName)) {
        dialogs.ShowError("The building was not saved: the texture pack's name holds a line break. "
                          "Nothing was written.");
        return false;
    }
    // The file is written a block at a time, and only a file whose cells all load back the
    // same is committed: otherwise the writer removes it and an earlier file of that name
    // stays as it was, as it does when running short of memory part way.
    AtomicFileWriter file(path);
    const std::size_t unwritableCells =
        file.Created() ? WriteBuildingFile(building.layers, building.packName,
                                           [&file](std::span<const std::uint8_t> block) { file.Write(block); })
                       : CountUnwritableCells(building.layers);
    if (unwritableCells > 0) {
        dialogs.ShowError(UnwritableCellsMessage(unwritableCells));
        return false;
    }
    return CommitReporting(dialogs, file, path);
}

bool WriteBuildingToFile(Editor& editor, const std::string& path) {
    const LayerSource layers = LayersOf(editor.grid);
    const SavedBuilding building{layers, editor.selector, editor.texturePackName, SessionGameRelease(editor).dataVersion};
    return SaveTextFile(building, editor.dialogs, path);
}

}  // namespace stackmason
