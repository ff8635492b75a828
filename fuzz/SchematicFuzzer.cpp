// The schematic import on a file of the input's bytes, and on the same bytes gzip-compressed.
// A refused file must leave the building as it was with one "Error" message; an imported one
// must give a grid of the sizes the file states, holding the mapped ids of its Blocks array.
#include <zlib.h>

#include <cstdint>
#include <span>
#include <vector>

#include "common/Image.h"
#include "editor/files/BlockIdMapping.h"
#include "editor/files/SchematicFiles.h"
#include "editor/files/SchematicReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace stackmason;
using fuzz::Require;

std::vector<std::uint8_t> Gzip(std::span<const std::uint8_t> bytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(bytes.size())) + 32);
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct ImportEditor {
    ImportEditor() {
        // A few blocks with Minecraft ids, one id twice, so that the mapping has work to do.
        const Image picture(32, 32, Rgba{10, 20, 30, 255});
        const std::int32_t ids[] = {0, 1, 35, 35, 155, 0, 255};
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            editor.selector.Add(i == 0 ? "Air" : "b", picture);
            editor.selector.SetData(static_cast<int>(i), ids[i]);
        }
        AllocateBuilding(editor, 3, 2, 2);
        editor.grid.At(1, 1, 1) = 4;
    }
    HeadlessPainter painter;
    HeadlessWindow window;
    fuzz::CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Imports the file at path and checks what the editor is left with. True when imported.
bool ImportAndCheck(const std::string& path) {
    ImportEditor fixture;
    Editor& editor = fixture.editor;
    const Building before = editor.grid;
    const bool imported = ImportSchematic(editor, path);
    if (!imported) {
        Require(fixture.dialogs.errors.size() == 1, "a refusal shows one message");
        Require(editor.grid == before && editor.grid.Width() == 3 && editor.grid.Length() == 2 && editor.grid.Height() == 2,
                "a refusal keeps the building");
        return false;
    }
    Require(fixture.dialogs.errors.empty(), "an import shows no message");
    Require(editor.grid.Width() >= 1 && editor.grid.Width() <= 512 && editor.grid.Length() >= 1 && editor.grid.Length() <= 512 &&
                editor.grid.Height() >= 1 && editor.grid.Height() <= 256,
            "sizes inside the limits");
    Require(editor.grid.Width() == editor.grid.Width() && editor.grid.Length() == editor.grid.Length() &&
                editor.grid.Height() == editor.grid.Height(),
            "grid extents");
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
    const bool plain = ImportAndCheck(fuzz::WriteScratchFile("plain.schematic", bytes));
    // A plain NBT file and its gzip form hold the same content.
    if (size > 0 && data[0] == 0x0A) {
        const bool packed = ImportAndCheck(fuzz::WriteScratchFile("packed.schematic", Gzip(bytes)));
        fuzz::Require(plain == packed, "gzip changes nothing");
    }
    return 0;
}
