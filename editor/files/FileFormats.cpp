#include "editor/files/FileFormats.h"

#include <array>
#include <memory>
#include <utility>

#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/LitematicFiles.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SpongeFiles.h"

namespace stackmason {
namespace {

// A new format is one more row here, with its load and save in a file of its own.
constexpr std::array kFormats{
    FileFormat{"txt(*.txt)", "*.txt", "txt", "", LoadTextFile, SaveTextFile, StreamTextFile},
    FileFormat{"schematic(*.schematic)", "*.schematic", "schematic", kSchematicPackName, LoadSchematicFile,
               SaveSchematicFile, StreamSchematicLayers},
    FileFormat{"schem(*.schem)", "*.schem", "schem", kGameBlocksPackName, LoadSpongeFile, SaveSpongeFile,
               StreamSpongeLayers},
    FileFormat{"litematic(*.litematic)", "*.litematic", "litematic", kGameBlocksPackName, LoadLitematicFile,
               SaveLitematicFile, nullptr},
};

static_assert(kFormats[kTextFilter].extension == "txt");
static_assert(kFormats[kSchematicFilter].extension == "schematic");
static_assert(kFormats[kSpongeFilter].extension == "schem");
static_assert(kFormats[kLitematicFilter].extension == "litematic");

// The pack the file calls for, or the one the caller names instead, known by its file name
// as a header names it.
StagedPack StagePackFor(const std::string& calledFor, const std::string& packPath) {
    if (packPath.empty())
        return StageTexturePack(calledFor);
    StagedPack pack = StageTexturePack(packPath);
    pack.name = FileNamePart(packPath);
    return pack;
}

}  // namespace

LoadContext LoadContextFor(const Editor& editor, const FileFormat& format, const std::string& packPath) {
    return LoadContext{editor,
                       [&format, packPath](const std::string& namedPack) {
                           const std::string calledFor = namedPack.empty() ? std::string(format.packName) : namedPack;
                           return StagePackFor(calledFor, packPath);
                       },
                       !packPath.empty()};
}

std::span<const FileFormat> FileFormats() { return kFormats; }

const FileFormat& FormatOfFilter(int filter) {
    if (filter < 0 || static_cast<std::size_t>(filter) >= kFormats.size())
        return kFormats[kTextFilter];
    return kFormats[static_cast<std::size_t>(filter)];
}

std::optional<int> FilterOfFileName(const std::string& path) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return std::nullopt;
    const std::string_view extension = std::string_view(name).substr(dot + 1);
    for (std::size_t index = 0; index < kFormats.size(); ++index)
        if (kFormats[index].extension == extension)
            return static_cast<int>(index);
    return std::nullopt;
}

void LayerRows::Start(int width, int length, int height) {
    if (std::array{width, length, height} != sizes_ || started_)
        throw LayerReadFailure("The file changed while it was read.");
    started_ = true;
}

StoredCode* LayerRows::Row(int y, int h) {
    if (h != current_) {
        HandOn();
        current_ = h;
    }
    return layer_.Row(y, 1) + 1;
}

void LayerRows::HandOn() {
    if (current_ != 0)
        visit_(current_, LayerView(layer_, 1));
}

StreamedFile StreamOfWholeFile(LoadedFile&& whole) {
    if (!whole.building)
        return StreamedFile{std::nullopt, std::move(whole.pack), std::move(whole.problem), {}};
    auto grid = std::make_shared<Building>(std::move(whole.building->grid));
    LayerSource layers{grid->Width(), grid->Length(), grid->Height(),
                       [grid](const LayerVisitor& visit) { LayersOf(*grid).forEachLayer(visit); }};
    return StreamedFile{std::move(layers), std::move(whole.pack), {}, std::move(whole.notice)};
}

StagedBuilding StageReadBuilding(Building&& grid) {
    FrontPlane frontPlane(grid.Length(), grid.Height());
    return StagedBuilding{std::move(grid), std::move(frontPlane)};
}

}  // namespace stackmason
