// The Litematica schematic load, as the Load button runs it, on a file of the input's bytes
// and on the same bytes gzip-compressed; each once with a pack the user gave, as the
// converter's --pack gives one, and once with the packs of the current folder: a small
// "gameblocks.zip" and a "mine.zip" that a file may name in its metadata. A refused file must
// leave everything as it was with one "Error" message; a loaded one must give a grid of the
// box that encloses the file's regions, with a pack it may be read with in place, and an
// "Info" box at most.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/BlockStates.h"
#include "editor/files/BlockStateMapping.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SpongeReader.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Editor.h"
#include "editor/model/History.h"
#include "editor/model/UserAction.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/StateFileFuzzing.h"
#include "tests/support/TestImages.h"

namespace {

using namespace stackmason;
using fuzz::Require;
using namespace stackmason::fuzz;

// What a Litematica file states of itself, found by a walk of our own apart from the reader:
// the Position and Size of each compound in a "Regions" compound of the root, and every
// string tagged kPackNameTag in a "Metadata" compound of the root.
class RegionWalk {
public:
    struct Vector {
        std::array<std::optional<std::int64_t>, 3> axes;
    };
    struct Region {
        Vector position;
        Vector size;
    };
    struct Stated {
        std::vector<Region> regions;
        std::vector<std::string> packNames;
    };

    explicit RegionWalk(std::span<const std::uint8_t> nbt) : nbt_(nbt) {}

    // Nothing when the walk cannot follow the data.
    std::optional<Stated> Run() {
        if (Take(1) != 10 || !SkipName() || !Root() || failed_)
            return std::nullopt;
        return stated_;
    }

private:
    std::int64_t Take(int bytes) {
        if (failed_ || nbt_.size() - at_ < static_cast<std::size_t>(bytes)) {
            failed_ = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | nbt_[at_++];
        const int unused = 64 - 8 * bytes;
        return unused == 0 ? static_cast<std::int64_t>(value)
                           : static_cast<std::int64_t>(value << unused) >> unused;
    }
    bool Skip(std::int64_t count) {
        if (count < 0 || static_cast<std::uint64_t>(count) > nbt_.size() - at_)
            return !(failed_ = true);
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    std::int64_t NameLength() { return Take(2) & 0xFFFF; }
    bool SkipName() { return Skip(NameLength()); }
    std::string Name() {
        const std::int64_t length = NameLength();
        if (!Skip(length))
            return {};
        return std::string(nbt_.begin() + static_cast<std::ptrdiff_t>(at_ - static_cast<std::size_t>(length)),
                           nbt_.begin() + static_cast<std::ptrdiff_t>(at_));
    }
    static int IntegerWidth(int type) { return type == 1 ? 1 : type == 2 ? 2 : type == 3 ? 4 : type == 4 ? 8 : 0; }

    // Calls `tag` with each entry's type and name, the entry's payload still to read; the
    // callback reads or skips it.
    template <typename OnTag>
    bool Compound(OnTag tag) {
        while (!failed_) {
            const int type = static_cast<int>(Take(1) & 0xFF);
            if (type == 0)
                return !failed_;
            const std::string name = Name();
            if (!tag(type, name))
                return false;
        }
        return false;
    }
    bool Root() {
        return Compound([this](int type, const std::string& name) {
            if (type == 10 && name == "Regions")
                return Regions();
            if (type == 10 && name == "Metadata")
                return Compound([this](int inner, const std::string& tag) {
                    if (inner == 8 && tag == kPackNameTag) {
                        stated_.packNames.push_back(Name());
                        return !failed_;
                    }
                    return Payload(inner, 2);
                });
            return Payload(type, 1);
        });
    }
    bool Regions() {
        return Compound([this](int type, const std::string&) {
            if (type != 10)
                return Payload(type, 2);
            Region& region = stated_.regions.emplace_back();
            return Compound([this, &region](int inner, const std::string& tag) {
                if (inner == 10 && (tag == "Position" || tag == "Size"))
                    return Axes(tag == "Position" ? region.position : region.size);
                return Payload(inner, 3);
            });
        });
    }
    bool Axes(Vector& vector) {
        return Compound([this, &vector](int type, const std::string& name) {
            const int width = IntegerWidth(type);
            if (width > 0 && (name == "x" || name == "y" || name == "z")) {
                vector.axes[name == "x" ? 0 : name == "y" ? 1 : 2] = Take(width);
                return !failed_;
            }
            return Payload(type, 4);
        });
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
            return Compound([this, depth](int inner, const std::string&) { return Payload(inner, depth + 1); });
        default:
            return !(failed_ = true);
        }
    }

    std::span<const std::uint8_t> nbt_;
    std::size_t at_ = 0;
    bool failed_ = false;
    Stated stated_;
};

// The box enclosing every region (width along x, length along z, height along y), a region
// of size s at p covering p .. p + s - 1, or p + s + 1 .. p where s is negative. Nothing when
// a region lacks a coordinate.
std::optional<std::array<std::int64_t, 3>> EnclosingSizes(const std::vector<RegionWalk::Region>& regions) {
    std::array<std::int64_t, 3> low{}, high{};
    for (std::size_t i = 0; i < regions.size(); ++i)
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const auto& position = regions[i].position.axes[axis];
            const auto& size = regions[i].size.axes[axis];
            if (!position || !size)
                return std::nullopt;
            const std::int64_t first = *size < 0 ? *position + *size + 1 : *position;
            const std::int64_t last = *size < 0 ? *position : *position + *size - 1;
            low[axis] = i == 0 ? first : std::min(low[axis], first);
            high[axis] = i == 0 ? last : std::max(high[axis], last);
        }
    if (regions.empty())
        return std::nullopt;
    return std::array{high[0] - low[0] + 1, high[2] - low[2] + 1, high[1] - low[1] + 1};
}

// Loads the file at path with the pack given, if any, and checks what the editor is left with.
Outcome ImportAndCheck(const std::string& path, std::span<const std::uint8_t> bytes, const std::string& packPath) {
    ImportEditor fixture;
    Editor& editor = fixture.editor;
    const Building before = editor.grid;
    const std::string packBefore = editor.texturePackName;
    const int itemsBefore = editor.selector.Count();
    const std::array spinsBefore{editor.widthSpin.Value(), editor.lengthSpin.Value(), editor.heightSpin.Value()};
    editor.history.EndStep(editor);
    const std::size_t stepsBefore = editor.history.UndoCount();
    // As the Load button runs it, inside the action's error boundary.
    RunUserAction(editor, "load", [&] { LoadBuildingFile(editor, FileChoice{path, kLitematicFilter}, packPath); });
    editor.history.EndStep(editor);
    Outcome outcome = OutcomeOf(editor, fixture.dialogs);
    if (!outcome.loaded) {
        Require(fixture.dialogs.errors.size() == 1 && fixture.dialogs.infos.empty(), "a refusal shows one message");
        Require(editor.grid == before && editor.grid.Width() == 3 && editor.grid.Length() == 2 && editor.grid.Height() == 2,
                "a refusal keeps the building");
        Require(std::array{editor.widthSpin.Value(), editor.lengthSpin.Value(), editor.heightSpin.Value()} == spinsBefore,
                "a refusal keeps the size fields");
        Require(editor.texturePackName == packBefore && editor.selector.Count() == itemsBefore &&
                    editor.history.UndoCount() == stepsBefore,
                "a refusal keeps the pack and history");
        return outcome;
    }
    Require(editor.history.UndoCount() == stepsBefore + 1, "a load is one step of the history");
    Require(editor.grid.Width() >= 1 && editor.grid.Width() <= 512 && editor.grid.Length() >= 1 && editor.grid.Length() <= 512 &&
                editor.grid.Height() >= 1 && editor.grid.Height() <= 256,
            "sizes inside the limits");
    Require(editor.frontPlane.HasExtents(editor.grid.Length(), editor.grid.Height()), "working plane extents");
    Require(fixture.dialogs.infos.size() <= 1, "one report at most");

    // A file the walk cannot follow (lists of ends, say) is checked by the rest alone.
    const std::optional<std::vector<std::uint8_t>> plain = fuzz::PlainBytes(bytes);
    const std::optional<RegionWalk::Stated> stated = plain ? RegionWalk(*plain).Run() : std::nullopt;
    if (stated) {
        const std::optional<std::array<std::int64_t, 3>> sizes = EnclosingSizes(stated->regions);
        Require(sizes.has_value(), "a loaded file places every region");
        Require((*sizes)[0] == editor.grid.Width() && (*sizes)[1] == editor.grid.Length() &&
                    (*sizes)[2] == editor.grid.Height(),
                "grid extents are the box enclosing the regions");
    }

    // The pack given; otherwise the folder's pack of the game's blocks, or the folder's pack
    // the file names by its bare name, never one it names by a path.
    if (!packPath.empty())
        Require(editor.texturePackName == kGivenPackName, "the pack given is in place");
    else
        Require(editor.texturePackName == kGameBlocksPackName || editor.texturePackName == kOwnPackName,
                "the pack in place is one of the folder's");
    Require(editor.selector.Count() == ItemsOfPack(editor.texturePackName), "the whole pack is in place");
    if (editor.texturePackName == kOwnPackName && stated)
        Require(std::find(stated->packNames.begin(), stated->packNames.end(), kOwnPackName) != stated->packNames.end(),
                "a pack of the folder other than the game's blocks is one the file names");

    // Air, an entry with a block state, or the one for unknown blocks, by code.
    std::vector<bool> mayHold{true};
    for (BlockCode code = 1; code < editor.selector.Count(); ++code) {
        const std::string& text = editor.selector.ItemAt(code).text;
        mayHold.push_back(BlockStateOfEntry(text, editor.selector.Data(code)).has_value() ||
                          BlockNameOfEntry(text) == kUnknownBlockName);
    }
    for (const int h : CheckedLayers(editor.grid))
        for (int y = 1; y <= editor.grid.Length(); ++y)
            for (int x = 1; x <= editor.grid.Width(); ++x) {
                const BlockCode code = editor.grid.At(x, y, h);
                Require(code >= 0 && code < editor.selector.Count() && mayHold[static_cast<std::size_t>(code)],
                        "cells hold air, a block of the pack or its entry for unknown blocks");
            }
    return outcome;
}

// The same file with a pack given and without: refused by both or by neither. Where both
// packs have an entry for unknown blocks, only the file's airs are air in either.
Outcome ImportBothWays(const std::string& path, std::span<const std::uint8_t> bytes) {
    const Outcome given = ImportAndCheck(path, bytes, fuzz::ScratchFolder() + "/" + kGivenPackPath);
    const Outcome folder = ImportAndCheck(path, bytes, {});
    Require(given.loaded == folder.loaded, "a pack given changes nothing on a refusal");
    if (given.loaded) {
        Require(given.sizes == folder.sizes, "a pack given changes no size");
        if (folder.packName == kGameBlocksPackName)
            Require(given.air == folder.air, "the same cells are air");
    }
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PreparePacks();
    const InScratchFolder inScratch;
    const std::span<const std::uint8_t> bytes(data, size);
    const Outcome plain = ImportBothWays(fuzz::WriteScratchFile("plain.litematic", bytes), bytes);
    // A plain NBT file and its gzip form hold the same content.
    if (size > 0 && data[0] == 0x0A) {
        const std::vector<std::uint8_t> gzipped = fuzz::Gzip(bytes);
        const Outcome packed = ImportBothWays(fuzz::WriteScratchFile("packed.litematic", gzipped), gzipped);
        fuzz::Require(plain.loaded == packed.loaded, "gzip changes nothing");
        if (plain.loaded)
            fuzz::Require(plain.sizes == packed.sizes && plain.cellsHash == packed.cellsHash &&
                              plain.packName == packed.packName && plain.infos == packed.infos,
                          "gzip gives the same building");
    }
    return 0;
}
