#include "common/Building.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace stackmason {
namespace {

// From this size on the cells are mapped straight from the system: they arrive zeroed, so a
// new building costs no pass over its memory, and large pages can back them.
constexpr std::size_t kMappedBytes = std::size_t{1} << 20;

// Square blocks of cells moved together by the transpose, so that both the rows read and
// the rows written stay in the cache.
constexpr std::size_t kTransposeBlock = 32;

}  // namespace

void Building::Release::operator()(StoredCode* cells) const {
    if (bytes >= kMappedBytes)
        munmap(cells, bytes);
    else
        std::free(cells);
}

Building::Cells Building::ZeroedCells(std::size_t count) {
    const std::size_t bytes = count * sizeof(StoredCode);
    if (bytes < kMappedBytes) {
        void* cells = std::calloc(count, sizeof(StoredCode));
        if (cells == nullptr)
            throw std::bad_alloc();
        return Cells(static_cast<StoredCode*>(cells), Release{bytes});
    }
    void* cells = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (cells == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // Only advice: without large pages the cells work all the same.
    madvise(cells, bytes, MADV_HUGEPAGE);
#endif
    return Cells(static_cast<StoredCode*>(cells), Release{bytes});
}

Building::Building(int width, int length, int height)
    : width_(std::max(width, 0)), length_(std::max(length, 0)), height_(std::max(height, 0)),
      cells_(ZeroedCells(CellCount())) {}

Building::Building(const Building& other)
    : width_(other.width_), length_(other.length_), height_(other.height_), cells_(ZeroedCells(CellCount())) {
    std::memcpy(cells_.get(), other.cells_.get(), CellCount() * sizeof(StoredCode));
}

Building& Building::operator=(const Building& other) {
    if (this != &other)
        *this = Building(other);
    return *this;
}

Building::Building(Building&& other) noexcept
    : width_(std::exchange(other.width_, 0)), length_(std::exchange(other.length_, 0)),
      height_(std::exchange(other.height_, 0)), cells_(std::move(other.cells_)) {}

Building& Building::operator=(Building&& other) noexcept {
    // The old cells go before anything else happens to this building.
    cells_ = std::move(other.cells_);
    width_ = std::exchange(other.width_, 0);
    length_ = std::exchange(other.length_, 0);
    height_ = std::exchange(other.height_, 0);
    return *this;
}

void Building::Check(int x, int y, int h) const {
    if (!Contains(x, y, h))
        throw std::out_of_range("cell (" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(h) +
                                ") lies outside the building of " + std::to_string(width_) + " x " +
                                std::to_string(length_) + " x " + std::to_string(height_) + " cells");
}

BlockCode Building::At(int x, int y, int h) const {
    Check(x, y, h);
    return Cell(x, y, h);
}

void Building::Set(int x, int y, int h, BlockCode code) {
    Check(x, y, h);
    if (!Fits(code))
        throw std::out_of_range("block code " + std::to_string(code) + " does not fit a cell");
    SetCell(x, y, h, code);
}

void Building::Clear() { std::memset(cells_.get(), 0, CellCount() * sizeof(StoredCode)); }

void Building::ClearLayer(int h) { std::fill_n(Layer(h), LayerCells(), StoredCode{0}); }

void Building::CopyLayer(int from, int to) {
    if (from != to)
        std::copy_n(Layer(from), LayerCells(), Layer(to));
}

void Building::SwapLayers(int a, int b) {
    if (a != b)
        std::swap_ranges(Layer(a), Layer(a) + LayerCells(), Layer(b));
}

void Building::MergeLayer(int from, int to) {
    if (from == to)
        return;
    for (int y = 1; y <= length_; ++y) {
        const StoredCode* source = Row(y, from);
        StoredCode* target = Row(y, to);
        for (std::size_t x = 1; x < RowCells(); ++x)
            target[x] = source[x] != 0 ? source[x] : target[x];
    }
}

void Building::ClearSlice(int x) {
    for (int h = 0; h <= height_; ++h)
        for (int y = 0; y <= length_; ++y)
            Row(y, h)[x] = 0;
}

void Building::MergeSlice(int from, int to) {
    if (from == to)
        return;
    for (int h = 1; h <= height_; ++h)
        for (int y = 1; y <= length_; ++y) {
            StoredCode* row = Row(y, h);
            if (row[from] != 0)
                row[to] = row[from];
        }
}

void Building::FillRestackedLayer(const Building& source, int h, int sourceLayer) {
    if (h <= source.height_) {
        // The index-0 row and column stay with their layer.
        std::copy_n(source.Row(0, h), RowCells(), Row(0, h));
        for (int y = 1; y <= length_; ++y)
            Row(y, h)[0] = source.Row(y, h)[0];
    }
    if (sourceLayer < 0 || sourceLayer > source.height_)
        return;
    for (int y = 1; y <= length_; ++y)
        std::copy_n(source.Row(y, sourceLayer) + 1, RowCells() - 1, Row(y, h) + 1);
}

Building Building::WithLayerInserted(int after) const {
    // Layers up to `after` stay, the new one is air, the rest move up by one; the ground
    // layer 0 keeps its place.
    return Restacked(height_ + 1, [after](int h) { return h <= after ? h : h == after + 1 ? -1 : h - 1; });
}

Building Building::WithLayerRemoved(int layer) const {
    return Restacked(height_ - 1, [layer](int h) { return h < layer ? h : h + 1; });
}

void Building::Transpose() {
    const std::size_t rows = static_cast<std::size_t>(length_) + 1;
    const std::size_t columns = RowCells();
    std::vector<StoredCode> spare(LayerCells());
    for (int h = 0; h <= height_; ++h) {
        StoredCode* layer = Layer(h);
        std::copy_n(layer, spare.size(), spare.begin());
        // Cell (x, y) of the old layer, spare[y * columns + x], goes to layer[x * rows + y].
        for (std::size_t y0 = 0; y0 < rows; y0 += kTransposeBlock)
            for (std::size_t x0 = 0; x0 < columns; x0 += kTransposeBlock) {
                const std::size_t yEnd = std::min(rows, y0 + kTransposeBlock);
                const std::size_t xEnd = std::min(columns, x0 + kTransposeBlock);
                for (std::size_t x = x0; x < xEnd; ++x)
                    for (std::size_t y = y0; y < yEnd; ++y)
                        layer[x * rows + y] = spare[y * columns + x];
            }
    }
    std::swap(width_, length_);
}

void Building::TurnLayers() {
    const int centreX = width_ / 2 + 1;
    const int centreY = length_ / 2 + 1;
    std::vector<StoredCode> saved(LayerCells());
    for (int h = 1; h <= height_; ++h) {
        std::copy_n(Layer(h), saved.size(), saved.begin());
        // Cell (x, y) goes to (Cx - (y - Cy), Cy + (x - Cx)); so target (a, b) receives the
        // cell (Cx + (b - Cy), Cy - (a - Cx)), or air when that lies outside the layer.
        // Targets anywhere in the layer are written, the outer ring included, so four turns
        // of an odd square restore it.
        for (int b = 1; b <= length_; ++b) {
            StoredCode* target = Row(b, h);
            const int x = centreX + (b - centreY);
            const bool columnInside = x >= 1 && x <= width_;
            for (int a = 1; a <= width_; ++a) {
                const int y = centreY - (a - centreX);
                const bool inside = columnInside && y >= 1 && y <= length_;
                target[a] = inside ? saved[static_cast<std::size_t>(y) * RowCells() + static_cast<std::size_t>(x)]
                                   : StoredCode{0};
            }
        }
    }
}

bool operator==(const Building& a, const Building& b) {
    return a.width_ == b.width_ && a.length_ == b.length_ && a.height_ == b.height_ &&
           std::memcmp(a.cells_.get(), b.cells_.get(), a.CellCount() * sizeof(StoredCode)) == 0;
}

}  // namespace stackmason
