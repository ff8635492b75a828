#include "editor/files/SchematicWriter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>


namespace stackmason {
namespace {

enum TagType : std::uint8_t { kTagEnd = 0, kTagShort = 2, kTagByteArray = 7, kTagString = 8, kTagList = 9, kTagCompound = 10 };

class TagWriter {
public:
    void Byte(std::uint8_t value) { bytes_.push_back(value); }
    void Short(std::int32_t value) {
        Byte(static_cast<std::uint8_t>((value >> 8) & 0xFF));
        Byte(static_cast<std::uint8_t>(value & 0xFF));
    }
    void Int(std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            Byte(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
    void Text(std::string_view text) {
        Short(static_cast<std::int32_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void Header(TagType type, std::string_view name) {
        Byte(type);
        Text(name);
    }
    void EmptyList(std::string_view name) {
        Header(kTagList, name);
        Byte(kTagCompound);
        Int(0);
    }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

std::uint32_t CellCount(const Building& grid) {
    return static_cast<std::uint32_t>(grid.Width()) * static_cast<std::uint32_t>(grid.Length()) *
           static_cast<std::uint32_t>(grid.Height());
}

// Converts one row's cells into data values and ids. The tables are held in locals, since
// byte stores could alias them.
void ConvertRow(const StoredCode* cells, std::size_t count, const ExportedBlocks& blocks, std::uint8_t* dataValues,
                std::uint8_t* ids) {
    const std::uint8_t* const idTable = blocks.ids.data();
    const std::uint8_t* const dataTable = blocks.dataValues.data();
    const std::uint32_t tableSize = static_cast<std::uint32_t>(blocks.ids.size());
    for (std::size_t i = 0; i < count; ++i) {
        // Codes outside the pack, negative ones included, export as air.
        const std::uint32_t code = static_cast<std::uint32_t>(BlockCode{cells[i]});
        const bool inPack = code < tableSize;
        dataValues[i] = inPack ? dataTable[code] : 0;
        ids[i] = inPack ? idTable[code] : 0;
    }
}

// One of the arrays, whose cell (x, y, h) is at ((h - 1) * Y + (y - 1)) * X + (x - 1): the
// building's own rows in its own order. The array not wanted is written to scratch.
void WriteArray(const Building& grid, const ExportedBlocks& blocks, bool ids, BlockedOutput& out) {
    const std::size_t width = static_cast<std::size_t>(grid.Width());
    const auto scratch = std::make_unique_for_overwrite<std::uint8_t[]>(width);
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y) {
            std::uint8_t* row = out.Reserve(width);
            if (ids)
                ConvertRow(grid.Row(y, h) + 1, width, blocks, scratch.get(), row);
            else
                ConvertRow(grid.Row(y, h) + 1, width, blocks, row, scratch.get());
        }
}

void PutTags(const TagWriter& tags, BlockedOutput& out) {
    out.Put({reinterpret_cast<const char*>(tags.Bytes().data()), tags.Bytes().size()});
}

}  // namespace

std::uint64_t SchematicFileSize(int width, int length, int height) {
    return 124 + 2 * std::uint64_t(width) * std::uint64_t(length) * std::uint64_t(height);
}

void WriteSchematic(const Building& grid, const ExportedBlocks& blocks, const ByteSink& sink) {
    const std::uint32_t cellCount = CellCount(grid);
    TagWriter head;
    head.Header(kTagCompound, "Schematic");
    head.Header(kTagShort, "Height");
    head.Short(grid.Height());
    head.Header(kTagShort, "Length");
    head.Short(grid.Length());
    head.Header(kTagShort, "Width");
    head.Short(grid.Width());
    head.EmptyList("Entities");
    head.EmptyList("TileEntities");
    head.Header(kTagString, "Materials");
    head.Text("Alpha");
    head.Header(kTagByteArray, "Data");
    head.Int(cellCount);
    TagWriter middle;
    middle.Header(kTagByteArray, "Blocks");
    middle.Int(cellCount);
    TagWriter end;
    end.Byte(kTagEnd);

    BlockedOutput out(sink);
    PutTags(head, out);
    WriteArray(grid, blocks, false, out);
    PutTags(middle, out);
    WriteArray(grid, blocks, true, out);
    PutTags(end, out);
    out.Flush();
}

EncodedSchematic EncodeSchematic(const Building& grid, const ExportedBlocks& blocks) {
    EncodedSchematic encoded;
    encoded.size = static_cast<std::size_t>(SchematicFileSize(grid.Width(), grid.Length(), grid.Height()));
    encoded.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(encoded.size);
    std::uint8_t* at = encoded.bytes.get();
    WriteSchematic(grid, blocks, [&at](std::span<const std::uint8_t> block) {
        at = std::copy(block.begin(), block.end(), at);
    });
    return encoded;
}

}  // namespace stackmason
