#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/files/BuildingLayers.h"
#include "editor/files/GameVersions.h"
#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason {

// What a format's load made of a file, off to the side: the building and the pack it was
// read with, or, when the file is refused, the text of the "Error" box and no building.
struct LoadedFile {
    std::optional<StagedBuilding> building;
    StagedPack pack;
    std::string problem;
    // What the user is told in an "Info" box once the building is in place (how blocks the
    // pack lacks came in); empty for nothing.
    std::string notice;
};

struct FileFormat;

// What a format's load may look at besides the file.
struct LoadContext {
    // The size fields, which decide the sizes a text header may give.
    const Editor& editor;
    // Stages the pack the file is read with: the one the file names (a text file's header
    // does), or else the one its format's row names.
    std::function<StagedPack(const std::string& namedPack)> stagePack;
    // Whether the user chose the pack: stagePack then gives that one whatever is named.
    bool packGiven = false;
};

// The context of a load in this editor of a file of this format: the pack staged is the one
// the format or the file's header calls for, unless packPath names another archive, which
// the building then names by its file name.
LoadContext LoadContextFor(const Editor& editor, const FileFormat& format, const std::string& packPath);

using FormatLoad = LoadedFile (*)(const std::string& path, const LoadContext& context);

// What a save writes: a building's layers, the pack that names its blocks, and the game
// release whose block names and data version a file for the game is written with.
struct SavedBuilding {
    const LayerSource& layers;
    const SelectorModel& selector;
    const std::string& packName;
    std::int64_t dataVersion = DefaultGameRelease().dataVersion;
};

// Writes the building to exactly this path, a layer at a time, reporting failures in boxes;
// true when written. A failure to get the layers is thrown on, leaving no file written.
using FormatSave = bool (*)(const SavedBuilding& building, DialogPort& dialogs, const std::string& path);

struct StreamedFile;

// Opens a file as its load would read it, to be read a layer at a time for each pass a
// writer makes (StreamedFile).
using FormatStream = StreamedFile (*)(const std::string& path, const LoadContext& context);

// One type of building file, as the requesters offer it and the Load and Save buttons and
// the converter read and write it.
struct FileFormat {
    // The requesters' filter: its label and pattern.
    std::string_view label;
    std::string_view pattern;
    // What the Save button appends, and what a converter's file name ends in.
    std::string_view extension;
    // The pack whose blocks the file's ids or states name; empty where its header names it.
    std::string_view packName;
    FormatLoad load;
    FormatSave save;
    // How the converter reads it a layer at a time; null where it reads the building whole.
    FormatStream stream;
};

// Every format, in the order of the requesters' filters: a format's filter is its index.
std::span<const FileFormat> FileFormats();

// The format of a requester's filter; the text format for a filter beyond the list.
const FileFormat& FormatOfFilter(int filter);

// The filter of the format whose extension is exactly the text after the file name's last
// "."; nothing when no format has it.
std::optional<int> FilterOfFileName(const std::string& path);

// A file's layers could not be read on a pass over them; what() is the text for the user.
class LayerReadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file opened to be read a layer at a time: its layers, read again for each pass a writer
// makes and held one at a time, and the pack it is read with; or, when it cannot be, the
// problem and no layers. A pass that fails throws LayerReadFailure.
struct StreamedFile {
    std::optional<LayerSource> layers;
    StagedPack pack;
    std::string problem;
    // As for LoadedFile.
    std::string notice;
};

// Cells decoded and dropped, a row at a time, to check a file and learn its sizes; counts
// how often a reader started handing cells over.
class DroppedRows final : public CellRows {
public:
    void Start(int width, int, int) override {
        row_.assign(static_cast<std::size_t>(width), 0);
        ++starts;
    }
    StoredCode* Row(int, int) override { return row_.data(); }

    int starts = 0;

private:
    std::vector<StoredCode> row_;
};

// Cells gathered one layer at a time and handed on to the visitor as each layer is
// complete; HandOn hands on the last. Throws LayerReadFailure when the cells are not of the
// sizes a first pass found, since the file changed between the passes.
class LayerRows final : public CellRows {
public:
    LayerRows(const std::array<int, 3>& sizes, const LayerVisitor& visit)
        : sizes_(sizes), visit_(visit), layer_(sizes[0], sizes[1], 1) {}

    void Start(int width, int length, int height) override;
    StoredCode* Row(int y, int h) override;
    void HandOn();

private:
    std::array<int, 3> sizes_;
    const LayerVisitor& visit_;
    Building layer_;
    int current_ = 0;
    bool started_ = false;
};

// A file its load read whole, handed out a layer at a time from the building it gave, with
// the pack it was read with; or its problem. For files a streaming reader cannot take a pass
// at a time.
StreamedFile StreamOfWholeFile(LoadedFile&& whole);

// A building read whole as the cells of a file, with its working plane, ready to be put in
// place. Throws std::bad_alloc when the memory cannot be had.
StagedBuilding StageReadBuilding(Building&& grid);

}  // namespace stackmason
