#include "editor/files/SchematicWriter.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace stackmason {
namespace {

enum TagType : std::uint8_t { kTagEnd = 0, kTagShort = 2, kTagByteArray = 7, kTagString = 8, kTagList = 9, kTagCompound = 10 };

// As for the text file: a group of layers at a time, so that the grid is read in its own
// order while the group's part of each array stays small.
constexpr int kLayerGroup = 16;

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
    // Hands the bytes so far to the sink and starts afresh.
    void FlushTo(ByteSink& sink) {
        sink.Write(bytes_);
        bytes_.clear();
    }

private:
    std::vector<std::uint8_t> bytes_;
};

std::uint32_t CellCount(const BlockGrid& grid) {
    return static_cast<std::uint32_t>(grid.Width()) * static_cast<std::uint32_t>(grid.Length()) *
           static_cast<std::uint32_t>(grid.Height());
}

// Fills the data values of layers first..first+count-1 into groupData (indexed from the
// group's first cell) and the ids into their place in the whole blocks array.
void EncodeLayerGroup(const BlockGrid& grid, const ExportedBlocks& blocks, int first, int count,
                      std::uint8_t* groupData, std::uint8_t* allIds) {
    const std::size_t layerCells = static_cast<std::size_t>(grid.Width()) * static_cast<std::size_t>(grid.Length());
    std::uint8_t* ids = allIds + static_cast<std::size_t>(first - 1) * layerCells;
    for (int x = 1; x <= grid.Width(); ++x) {
        for (int y = 1; y <= grid.Length(); ++y) {
            const BlockCode* cells = grid.Data() + grid.Index(x, y, first);
            const std::size_t at = static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(grid.Width()) +
                                   static_cast<std::size_t>(x - 1);
            for (int g = 0; g < count; ++g) {
                const std::size_t index = static_cast<std::size_t>(g) * layerCells + at;
                groupData[index] = blocks.DataValueOf(cells[g]);
                ids[index] = blocks.IdOf(cells[g]);
            }
        }
    }
}

}  // namespace

std::uint64_t SchematicFileSize(int width, int length, int height) {
    return 124 + 2 * std::uint64_t(width) * std::uint64_t(length) * std::uint64_t(height);
}

void WriteSchematic(const BlockGrid& grid, const ExportedBlocks& blocks, ByteSink& sink) {
    const std::uint32_t cellCount = CellCount(grid);
    TagWriter tags;
    tags.Header(kTagCompound, "Schematic");
    tags.Header(kTagShort, "Height");
    tags.Short(grid.Height());
    tags.Header(kTagShort, "Length");
    tags.Short(grid.Length());
    tags.Header(kTagShort, "Width");
    tags.Short(grid.Width());
    tags.EmptyList("Entities");
    tags.EmptyList("TileEntities");
    tags.Header(kTagString, "Materials");
    tags.Text("Alpha");
    tags.Header(kTagByteArray, "Data");
    tags.Int(cellCount);
    tags.FlushTo(sink);

    // The ids are kept whole, since their array follows the whole data array.
    const auto ids = std::make_unique_for_overwrite<std::uint8_t[]>(cellCount);
    const std::size_t layerCells = static_cast<std::size_t>(grid.Width()) * static_cast<std::size_t>(grid.Length());
    std::vector<std::uint8_t> groupData(layerCells * kLayerGroup);
    for (int first = 1; first <= grid.Height(); first += kLayerGroup) {
        const int count = std::min(kLayerGroup, grid.Height() - first + 1);
        EncodeLayerGroup(grid, blocks, first, count, groupData.data(), ids.get());
        sink.Write({groupData.data(), layerCells * static_cast<std::size_t>(count)});
    }

    tags.Header(kTagByteArray, "Blocks");
    tags.Int(cellCount);
    tags.FlushTo(sink);
    sink.Write({ids.get(), cellCount});
    tags.Byte(kTagEnd);
    tags.FlushTo(sink);
}

}  // namespace stackmason
