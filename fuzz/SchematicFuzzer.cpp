// The schematic load, as the Load button runs it, on a file of the input's bytes and on the
// same bytes gzip-compressed. A refused file must leave the building and the pack as they
// were with one "Error" message; a loaded one must give a grid of the sizes the file states,
// holding the mapped ids of its Blocks array, with the pack it was read with in place.
#include <zlib.h>

#include <array>
#include <cstdint>
#include <optional>
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

// The plain NBT of a file: inflated when it starts as gzip or zlib does, every gzip member
// in turn; as it stands otherwise. Nothing when it does not inflate.
std::optional<std::vector<std::uint8_t>> PlainBytes(std::span<const std::uint8_t> bytes) {
    const bool gzip = bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
    const bool zlib = bytes.size() >= 2 && (bytes[0] & 0x0F) == 8 && ((bytes[0] << 8) | bytes[1]) % 31 == 0;
    if (!gzip && !zlib)
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        z_stream stream{};
        if (inflateInit2(&stream, 15 + 32) != Z_OK)
            return std::nullopt;
        stream.next_in = const_cast<Bytef*>(bytes.data() + at);
        stream.avail_in = static_cast<uInt>(bytes.size() - at);
        int result = Z_OK;
        std::uint8_t chunk[1 << 14];
        while (result == Z_OK) {
            stream.next_out = chunk;
            stream.avail_out = sizeof chunk;
            result = inflate(&stream, Z_NO_FLUSH);
            out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
            if (out.size() > (std::size_t{300} << 20))
                result = Z_DATA_ERROR;
        }
        at = bytes.size() - stream.avail_in;
        inflateEnd(&stream);
        if (result != Z_STREAM_END)
            return std::nullopt;
    }
    return out;
}

// The Width, Length and Height a schematic states, read by a walk of the NBT of our own,
// apart from the reader that makes the cells: the last integer tag of each name among the
// root compound's own tags.
class StatedSizes {
public:
    static std::optional<std::array<std::int64_t, 3>> Of(std::span<const std::uint8_t> nbt) {
        StatedSizes walk(nbt);
        if (walk.Take(1) != 10 || !walk.SkipName() || !walk.Compound(0))
            return std::nullopt;
        if (walk.failed_ || !walk.sizes_[0] || !walk.sizes_[1] || !walk.sizes_[2])
            return std::nullopt;
        return std::array{*walk.sizes_[0], *walk.sizes_[1], *walk.sizes_[2]};
    }

private:
    explicit StatedSizes(std::span<const std::uint8_t> nbt) : nbt_(nbt) {}

    std::int64_t Take(int count) {
        std::int64_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (at_ >= nbt_.size()) {
                failed_ = true;
                return 0;
            }
            value = value << 8 | nbt_[at_++];
        }
        // Sign-extended from the width read.
        const int bits = 8 * count;
        return bits < 64 && (value >> (bits - 1)) ? value - (std::int64_t{1} << bits) : value;
    }
    bool Skip(std::int64_t count) {
        if (count < 0 || static_cast<std::uint64_t>(count) > nbt_.size() - at_)
            return !(failed_ = true);
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    bool SkipName() { return Skip(Take(2) & 0xFFFF); }
    std::string Name() {
        const std::int64_t length = Take(2) & 0xFFFF;
        if (!Skip(length))
            return {};
        return std::string(nbt_.begin() + static_cast<std::ptrdiff_t>(at_ - length), nbt_.begin() + static_cast<std::ptrdiff_t>(at_));
    }
    bool Compound(int depth) {
        while (!failed_) {
            const int type = static_cast<int>(Take(1) & 0xFF);
            if (type == 0)
                return !failed_;
            const std::string name = Name();
            const int width = type == 1 ? 1 : type == 2 ? 2 : type == 3 ? 4 : type == 4 ? 8 : 0;
            if (depth == 0 && width > 0 && (name == "Width" || name == "Length" || name == "Height")) {
                sizes_[name == "Width" ? 0 : name == "Length" ? 1 : 2] = Take(width);
                continue;
            }
            if (!Payload(type, depth + 1))
                return false;
        }
        return false;
    }
    bool Payload(int type, int depth) {
        if (depth > 600)
            return !(failed_ = true);
        switch (type) {
        case 1: case 2: case 3: case 4: case 5: case 6:
            return Skip(type == 1 ? 1 : type == 2 ? 2 : type == 3 || type == 5 ? 4 : 8);
        case 7: case 11: case 12:
            return Skip(Take(4) * (type == 7 ? 1 : type == 11 ? 4 : 8));
        case 8:
            return SkipName();
        case 9: {
            const int inner = static_cast<int>(Take(1) & 0xFF);
            const std::int64_t count = Take(4);
            for (std::int64_t i = 0; i < count && !failed_; ++i)
                if (!Payload(inner, depth + 1))
                    return false;
            return !failed_;
        }
        case 10:
            return Compound(depth);
        default:
            return !(failed_ = true);
        }
    }

    std::span<const std::uint8_t> nbt_;
    std::size_t at_ = 0;
    bool failed_ = false;
    std::array<std::optional<std::int64_t>, 3> sizes_;
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
    if (const auto plain = PlainBytes(bytes))
        if (const auto stated = StatedSizes::Of(*plain))
            Require((*stated)[0] == editor.grid.Width() && (*stated)[1] == editor.grid.Length() &&
                        (*stated)[2] == editor.grid.Height(),
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
        const std::vector<std::uint8_t> gzipped = Gzip(bytes);
        const bool packed = ImportAndCheck(fuzz::WriteScratchFile("packed.schematic", gzipped), gzipped);
        fuzz::Require(plain == packed, "gzip changes nothing");
    }
    return 0;
}
