#include "editor/files/BuildingWriter.h"

#include <algorithm>
#include <vector>

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSeparator = "------\r\n";

// The grid keeps the layers of one column next to each other, the file keeps rows of one
// layer together. Encoding a group of layers at once, column by column, reads every cache
// line of the grid once while the group's text stays small enough for the caches.
constexpr int kLayerGroup = 16;

std::uint8_t CellByte(BlockCode code) { return static_cast<std::uint8_t>(code + kCellByteOffset); }

std::string LayerTitle(int layer) { return "layer " + std::to_string(layer) + "\r\n"; }

std::uint64_t LayerTextSize(int width, int length, int layer) {
    return LayerTitle(layer).size() + std::uint64_t(length) * (std::uint64_t(width) + 2) + kLineEnd.size();
}

void Append(std::vector<std::uint8_t>& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

// Lays out the text of layers first..first+count-1 with every row's CR LF in place and
// returns, per layer, the offset of its first row.
std::vector<std::size_t> LayOutLayerGroup(int width, int length, int first, int count, std::vector<std::uint8_t>& text) {
    text.clear();
    std::vector<std::size_t> rowStarts;
    const std::string row = std::string(static_cast<std::size_t>(width), '/') + "\r\n";
    for (int layer = first; layer < first + count; ++layer) {
        Append(text, LayerTitle(layer));
        rowStarts.push_back(text.size());
        for (int y = 1; y <= length; ++y)
            Append(text, row);
        Append(text, kLineEnd);
    }
    return rowStarts;
}

void FillLayerGroup(const BlockGrid& grid, int first, const std::vector<std::size_t>& rowStarts,
                    std::vector<std::uint8_t>& text) {
    const int count = static_cast<int>(rowStarts.size());
    const std::size_t rowStride = static_cast<std::size_t>(grid.Width()) + 2;
    std::uint8_t* starts[kLayerGroup];
    for (int g = 0; g < count; ++g)
        starts[g] = text.data() + rowStarts[static_cast<std::size_t>(g)];
    for (int x = 1; x <= grid.Width(); ++x) {
        for (int y = 1; y <= grid.Length(); ++y) {
            const BlockCode* cells = grid.Data() + grid.Index(x, y, first);
            const std::size_t at = static_cast<std::size_t>(y - 1) * rowStride + static_cast<std::size_t>(x - 1);
            for (int g = 0; g < count; ++g)
                starts[g][at] = CellByte(cells[g]);
        }
    }
}

}  // namespace

std::size_t CountUnwritableCells(const BlockGrid& grid) {
    std::size_t count = 0;
    const int height = grid.Height();
    for (int x = 1; x <= grid.Width(); ++x) {
        for (int y = 1; y <= grid.Length(); ++y) {
            const BlockCode* cells = grid.Data() + grid.Index(x, y, 1);
            for (int h = 0; h < height; ++h)
                count += CellCodeRoundTrips(cells[h]) ? 0 : 1;
        }
    }
    return count;
}

std::string BuildingHeaderLine(int width, int length, int height, std::string_view packName) {
    return std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) + ";" +
           std::string(packName);
}

std::uint64_t BuildingFileSize(int width, int length, int height, std::size_t headerLength) {
    std::uint64_t size = headerLength + kLineEnd.size() + kSeparator.size();
    for (int layer = 1; layer <= height; ++layer)
        size += LayerTextSize(width, length, layer);
    return size;
}

void WriteBuildingFile(const BlockGrid& grid, std::string_view packName, ByteSink& sink) {
    std::vector<std::uint8_t> text;
    Append(text, BuildingHeaderLine(grid.Width(), grid.Length(), grid.Height(), packName));
    Append(text, kLineEnd);
    Append(text, kSeparator);
    sink.Write(text);
    for (int first = 1; first <= grid.Height(); first += kLayerGroup) {
        const int count = std::min(kLayerGroup, grid.Height() - first + 1);
        const std::vector<std::size_t> rowStarts = LayOutLayerGroup(grid.Width(), grid.Length(), first, count, text);
        FillLayerGroup(grid, first, rowStarts, text);
        sink.Write(text);
    }
}

}  // namespace stackmason
