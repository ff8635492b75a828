#include "common/Building.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "common/Constants.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace stackmason {
namespace {

static_assert(kMaxPackEntries <= std::numeric_limits<StoredCode>::max(), "every code of a pack fits a cell");

// Square blocks of cells moved together by the transpose, so that both the rows read and
// the rows written stay in the cache.
constexpr std::size_t kTransposeBlock = 32;

// Moves the cells of rows y0..yEnd - 1, columns x0..xEnd - 1 of `from` (a matrix of `columns`
// cells per row) to the rows x, columns y of `to` (`rows` cells per row).
void TransposeScalar(const StoredCode* from, StoredCode* to, std::size_t rows, std::size_t columns, std::size_t y0,
                     std::size_t yEnd, std::size_t x0, std::size_t xEnd) {
    for (std::size_t x = x0; x < xEnd; ++x)
        for (std::size_t y = y0; y < yEnd; ++y)
            to[x * rows + y] = from[y * columns + x];
}

#ifdef __SSE2__
// The same for an 8 x 8 square at (x0, y0), in registers.
void Transpose8x8(const StoredCode* from, StoredCode* to, std::size_t rows, std::size_t columns, std::size_t y0,
                  std::size_t x0) {
    __m128i a[8];
    for (std::size_t i = 0; i < 8; ++i)
        a[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + (y0 + i) * columns + x0));
    const __m128i t0 = _mm_unpacklo_epi16(a[0], a[1]), t1 = _mm_unpackhi_epi16(a[0], a[1]);
    const __m128i t2 = _mm_unpacklo_epi16(a[2], a[3]), t3 = _mm_unpackhi_epi16(a[2], a[3]);
    const __m128i t4 = _mm_unpacklo_epi16(a[4], a[5]), t5 = _mm_unpackhi_epi16(a[4], a[5]);
    const __m128i t6 = _mm_unpacklo_epi16(a[6], a[7]), t7 = _mm_unpackhi_epi16(a[6], a[7]);
    const __m128i u0 = _mm_unpacklo_epi32(t0, t2), u1 = _mm_unpackhi_epi32(t0, t2);
    const __m128i u2 = _mm_unpacklo_epi32(t1, t3), u3 = _mm_unpackhi_epi32(t1, t3);
    const __m128i u4 = _mm_unpacklo_epi32(t4, t6), u5 = _mm_unpackhi_epi32(t4, t6);
    const __m128i u6 = _mm_unpacklo_epi32(t5, t7), u7 = _mm_unpackhi_epi32(t5, t7);
    const __m128i r[8] = {_mm_unpacklo_epi64(u0, u4), _mm_unpackhi_epi64(u0, u4), _mm_unpacklo_epi64(u1, u5),
                          _mm_unpackhi_epi64(u1, u5), _mm_unpacklo_epi64(u2, u6), _mm_unpackhi_epi64(u2, u6),
                          _mm_unpacklo_epi64(u3, u7), _mm_unpackhi_epi64(u3, u7)};
    for (std::size_t i = 0; i < 8; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + (x0 + i) * rows + y0), r[i]);
}
#endif

// One block of the transpose: whole 8 x 8 squares in registers where the machine has them,
// the ragged edges cell by cell.
void TransposeBlock(const StoredCode* from, StoredCode* to, std::size_t rows, std::size_t columns, std::size_t y0,
                    std::size_t yEnd, std::size_t x0, std::size_t xEnd) {
#ifdef __SSE2__
    const std::size_t ySquares = y0 + (yEnd - y0) / 8 * 8;
    const std::size_t xSquares = x0 + (xEnd - x0) / 8 * 8;
    for (std::size_t y = y0; y < ySquares; y += 8)
        for (std::size_t x = x0; x < xSquares; x += 8)
            Transpose8x8(from, to, rows, columns, y, x);
    TransposeScalar(from, to, rows, columns, y0, ySquares, xSquares, xEnd);
    TransposeScalar(from, to, rows, columns, ySquares, yEnd, x0, xEnd);
#else
    TransposeScalar(from, to, rows, columns, y0, yEnd, x0, xEnd);
#endif
}

// Reads a layer front to back, one load per cache line, so that the transpose, which walks
// it by columns as well, finds it in the cache: a sequential walk is what the hardware
// fetches ahead best.
void BringIntoCache(const StoredCode* cells, std::size_t count) {
    constexpr std::size_t kLineCells = 64 / sizeof(StoredCode);
    StoredCode sum = 0;
    for (std::size_t i = 0; i < count; i += kLineCells)
        sum = static_cast<StoredCode>(sum | cells[i]);
    asm volatile("" : : "r"(sum));
}

// A square layer of n x n cells turned about its diagonal where it lies, which needs no
// copy of it: 8 x 8 squares trade places with their mirror images, the rest cell by cell.
void TransposeSquareInPlace(StoredCode* layer, std::size_t n) {
    std::size_t whole = 0;
#ifdef __SSE2__
    whole = n / 8 * 8;
    StoredCode mirror[64];
    for (std::size_t y = 0; y < whole; y += 8) {
        Transpose8x8(layer, layer, n, n, y, y);
        for (std::size_t x = y + 8; x < whole; x += 8) {
            for (std::size_t i = 0; i < 8; ++i)
                std::copy_n(layer + (x + i) * n + y, 8, mirror + i * 8);
            Transpose8x8(layer, layer, n, n, y, x);
            Transpose8x8(mirror, layer + y * n + x, n, 8, 0, 0);
        }
    }
#endif
    for (std::size_t y = 0; y < n; ++y)
        for (std::size_t x = std::max(y + 1, whole); x < n; ++x)
            std::swap(layer[y * n + x], layer[x * n + y]);
}

}  // namespace

Building::Building(int width, int length, int height)
    : width_(std::max(width, 0)), length_(std::max(length, 0)), height_(std::max(height, 0)),
      storage_((CellCount() + LayerCells()) * sizeof(StoredCode)), cells_(static_cast<StoredCode*>(storage_.Data())) {}

Building::Building(const Building& other)
    : width_(other.width_), length_(other.length_), height_(other.height_),
      storage_((CellCount() + LayerCells()) * sizeof(StoredCode)), cells_(static_cast<StoredCode*>(storage_.Data())) {
    std::memcpy(cells_, other.cells_, CellCount() * sizeof(StoredCode));
}

Building& Building::operator=(const Building& other) {
    if (this != &other)
        *this = Building(other);
    return *this;
}

Building::Building(Building&& other) noexcept
    : width_(std::exchange(other.width_, 0)), length_(std::exchange(other.length_, 0)),
      height_(std::exchange(other.height_, 0)), storage_(std::move(other.storage_)),
      cells_(std::exchange(other.cells_, nullptr)) {}

Building& Building::operator=(Building&& other) noexcept {
    // The old cells go before anything else happens to this building.
    storage_ = std::move(other.storage_);
    cells_ = std::exchange(other.cells_, nullptr);
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

void Building::Clear() { std::memset(cells_, 0, CellCount() * sizeof(StoredCode)); }

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

void Building::Transpose() noexcept {
    const std::size_t rows = static_cast<std::size_t>(length_) + 1;
    const std::size_t columns = RowCells();
    const std::size_t layerCells = LayerCells();
    StoredCode* const slots = static_cast<StoredCode*>(storage_.Data());
    // Cell (x, y) of a layer, from[y * columns + x], goes to to[x * rows + y]; the layer
    // turned lands in the free slot beside it, and its own slot is the next layer's free one.
    const auto transposeLayer = [&](std::size_t fromSlot, std::size_t toSlot) {
        const StoredCode* from = slots + fromSlot * layerCells;
        StoredCode* to = slots + toSlot * layerCells;
        BringIntoCache(from, layerCells);
        for (std::size_t y0 = 0; y0 < rows; y0 += kTransposeBlock)
            for (std::size_t x0 = 0; x0 < columns; x0 += kTransposeBlock)
                TransposeBlock(from, to, rows, columns, y0, std::min(rows, y0 + kTransposeBlock), x0,
                               std::min(columns, x0 + kTransposeBlock));
    };
    const std::size_t layers = static_cast<std::size_t>(height_) + 1;
    if (rows == columns) {
        // A square layer is turned where it lies, which moves the least memory.
        for (std::size_t h = 0; h < layers; ++h) {
            StoredCode* layer = cells_ + h * layerCells;
            BringIntoCache(layer, layerCells);
            TransposeSquareInPlace(layer, rows);
        }
    } else if (cells_ == slots) {
        // The free slot lies above the top layer: each layer moves up one slot, top first.
        for (std::size_t h = layers; h-- > 0;)
            transposeLayer(h, h + 1);
        cells_ = slots + layerCells;
    } else {
        for (std::size_t h = 0; h < layers; ++h)
            transposeLayer(h + 1, h);
        cells_ = slots;
    }
    std::swap(width_, length_);
}

void Building::TurnLayers(std::vector<StoredCode>& saved) {
    assert(saved.size() == LayerCells());
    const int centreX = width_ / 2 + 1;
    const int centreY = length_ / 2 + 1;
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

void Building::TurnLayersBack(std::vector<StoredCode>& saved) {
    assert(saved.size() == LayerCells());
    const int centreX = width_ / 2 + 1;
    const int centreY = length_ / 2 + 1;
    const std::size_t rowCells = RowCells();
    // Cell (x, y) reads the saved cell (a, b) = (Cx - (y - Cy), Cy + (x - Cx)), a column of the
    // saved layer per row; b lies inside for x in firstX..lastX. Squares of cells are done
    // together, so that the saved rows they read stay in the cache from one row to the next.
    const int firstX = centreX - centreY + 1, lastX = centreX - centreY + length_;
    constexpr int kSquare = 32;
    const StoredCode* const savedCells = saved.data();
    for (int h = 1; h <= height_; ++h) {
        std::copy_n(Layer(h), saved.size(), saved.begin());
        for (int y0 = 1; y0 <= length_; y0 += kSquare)
            for (int x0 = 1; x0 <= width_; x0 += kSquare) {
                const int xEnd = std::min(width_, x0 + kSquare - 1);
                const int from = std::max(x0, firstX), to = std::min(xEnd, lastX);
                for (int y = y0; y <= std::min(length_, y0 + kSquare - 1); ++y) {
                    StoredCode* const cells = Row(y, h);
                    const int a = centreX - (y - centreY);
                    if (a < 1 || a > width_ || from > to) {
                        std::fill(cells + x0, cells + xEnd + 1, StoredCode{0});
                        continue;
                    }
                    std::fill(cells + x0, cells + from, StoredCode{0});
                    const StoredCode* source =
                        savedCells + static_cast<std::size_t>(centreY - centreX + from) * rowCells +
                        static_cast<std::size_t>(a);
                    for (int x = from; x <= to; ++x, source += rowCells)
                        cells[x] = *source;
                    std::fill(cells + to + 1, cells + xEnd + 1, StoredCode{0});
                }
            }
    }
}

bool operator==(const Building& a, const Building& b) {
    return a.width_ == b.width_ && a.length_ == b.length_ && a.height_ == b.height_ &&
           std::memcmp(a.cells_, b.cells_, a.CellCount() * sizeof(StoredCode)) == 0;
}

}  // namespace stackmason
