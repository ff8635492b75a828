// The schematic load, as the Load button runs it, on a file of the input's bytes and on the
// same bytes gzip-compressed. A refused file must leave the building and the pack as they
// were with one "Error" message; a loaded one must give a grid of the sizes the file states,
// holding the mapped ids of its Blocks array, with the pack it was read with in place.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/Image.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/TestImages.h"

namespace {

using namespace stackmason;
using fuzz::Require;

// A pack of a few blocks with Minecraft ids, one id twice, so that the mapping has work to
// do; written once, and read by every load as the window reads "minecraft.zip".
const std::string& IdsPack() {
    static const std::string path = [] {
        const std::vector<std::uint8_t> picture = test::EncodePng(test::CoordinateImage(32, 32));
        std::vector<fuzz::ZipEntry> entries;
        for (const char* name : {"stone_001.png", "wool_035.png", "red_035.png", "quartz_155.png", "zero_000.png",
                                 "last_255.png"})
            entries.push_back({name, picture});
        return fuzz::WriteScratchFile("ids.zip", fuzz::StoredZip(entries));
    }();
    return path;
}

struct ImportEditor {
    ImportEditor() {
        AllocateBuilding(editor, 3, 2, 2);
        editor.grid.At(1, 1, 1) = 4;
    }
    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Loads the file at path and checks what the editor is left with. True when loaded.
bool ImportAndCheck(const std::string& path, std::span<const std::uint8_t> bytes) {
    ImportEditor fixture;
    Editor& editor = fixture.editor;
    const Building before = editor.grid;
    const std::string packBefore = editor.texturePackName;
    editor.history.EndStep(editor);
    const std::size_t stepsBefore = editor.history.UndoCount();
    // As the Load button runs it, inside the action's error boundary.
    RunUserAction(editor, "load", [&] { LoadBuildingFile(editor, FileChoice{path, kSchematicFilter}, IdsPack()); });
    editor.history.EndStep(editor);
    if (!fixture.dialogs.errors.empty()) {
        Require(fixture.dialogs.errors.size() == 1, "a refusal shows one message");
        Require(editor.grid == before && editor.grid.Width() == 3 && editor.grid.Length() == 2 && editor.grid.Height() == 2,
                "a refusal keeps the building");
        Require(editor.texturePackName == packBefore && editor.history.UndoCount() == stepsBefore,
                "a refusal keeps the pack and history");
        return false;
    }
    Require(editor.texturePackName == "ids.zip" && editor.selector.Count() == 7, "the pack read with is in place");
    Require(editor.history.UndoCount() == stepsBefore + 1, "a load is one step of the history");
    Require(editor.grid.Width() >= 1 && editor.grid.Width() <= 512 && editor.grid.Length() >= 1 && editor.grid.Length() <= 512 &&
                editor.grid.Height() >= 1 && editor.grid.Height() <= 256,
            "sizes inside the limits");
    // A file the walk cannot follow (lists of ends, say) is checked by the rest alone.
    if (const auto plain = fuzz::PlainBytes(bytes))
        if (const auto stated = fuzz::StatedTags::Of(*plain); stated && stated->sizes)
            Require((*stated->sizes)[0] == editor.grid.Width() && (*stated->sizes)[1] == editor.grid.Length() &&
                        (*stated->sizes)[2] == editor.grid.Height(),
                    "grid extents are the sizes the file states");
    Require(editor.frontPlane.HasExtents(editor.grid.Length(), editor.grid.Height()), "working plane extents");

    // Read again with every id kept as it stands, to see each cell holds its id's code.
    ImportedCodes sameIds{};
    for (std::size_t id = 0; id < sameIds.size(); ++id)
        sameIds[id] = static_cast<BlockCode>(id);
    const SchematicReadResult read = ReadSchematicFile(path, sameIds);
    Require(read.grid.has_value(), "the file reads again");
    const Building& ids = *read.grid;
    Require(ids.Width() == editor.grid.Width() && ids.Length() == editor.grid.Length() &&
                ids.Height() == editor.grid.Height(),
            "the sizes read again");
    const auto codes = ImportedCodesOf(editor.selector);
    for (int h = 1; h <= ids.Height(); ++h)
        for (int y = 1; y <= ids.Length(); ++y)
            for (int x = 1; x <= ids.Width(); ++x)
                Require(editor.grid.At(x, y, h) == codes[static_cast<std::size_t>(ids.At(x, y, h))], "cell holds its mapped id");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const bool plain = ImportAndCheck(fuzz::WriteScratchFile("plain.schematic", bytes), bytes);
    // A plain NBT file and its gzip form hold the same content.
    if (size > 0 && data[0] == 0x0A) {
        const std::vector<std::uint8_t> gzipped = fuzz::Gzip(bytes);
        const bool packed = ImportAndCheck(fuzz::WriteScratchFile("packed.schematic", gzipped), gzipped);
        fuzz::Require(plain == packed, "gzip changes nothing");
    }
    return 0;
}
