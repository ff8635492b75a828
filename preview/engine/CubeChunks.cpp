#include "preview/engine/CubeChunks.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <stdexcept>

#include <glm/common.hpp>

#include "preview/engine/BuildProgress.h"
#include "preview/engine/WorkerPool.h"

namespace orbitscope {
namespace {

constexpr int kChunkShift = 4;  // kChunkSide = 1 << kChunkShift
static_assert(kChunkSide == 1 << kChunkShift);
constexpr int kChunkMask = kChunkSide - 1;
constexpr int kKeyBias = 1 << 20;

int CellIndex(const glm::ivec3& local) { return local.x + kChunkSide * (local.y + kChunkSide * local.z); }

std::uint64_t KeyOf(const glm::ivec3& chunk) {
    auto field = [](int value) { return static_cast<std::uint64_t>(value + kKeyBias) & 0x1FFFFF; };
    return field(chunk.y) << 42 | field(chunk.z) << 21 | field(chunk.x);
}

}  // namespace

QuadAxes AxesOf(int direction) {
    switch (direction / 2) {
    case 0: return {0, 2, 1};  // x faces: along z and y
    case 1: return {1, 0, 2};  // y faces: along x and z
    default: return {2, 0, 1};  // z faces: along x and y
    }
}

namespace {

constexpr std::uint32_t kCellBits = 6;  // up to kRegionSide
constexpr std::uint32_t kCellMask = (1u << kCellBits) - 1;
static_assert(kRegionSide <= 1 << kCellBits && kRegionSide % kChunkSide == 0);

}  // namespace

std::uint32_t PackQuad(const ChunkQuad& quad) {
    auto field = [](int value, std::uint32_t shift) { return (static_cast<std::uint32_t>(value) & kCellMask) << shift; };
    return field(quad.cell.x, 0) | field(quad.cell.y, 6) | field(quad.cell.z, 12) | field(quad.sizeA - 1, 18) |
           field(quad.sizeB - 1, 24);
}

std::uint32_t PackKind(int kind, int direction, int seams) {
    return (static_cast<std::uint32_t>(kind) & 0xFFu) | (static_cast<std::uint32_t>(direction) & 7u) << 8 |
           (static_cast<std::uint32_t>(seams) & 15u) << 11;
}

ChunkQuad UnpackQuad(std::uint32_t rectangle, std::uint32_t kindAndDirection) {
    auto field = [&](std::uint32_t shift) { return static_cast<int>((rectangle >> shift) & kCellMask); };
    return {{field(0), field(6), field(12)}, field(18) + 1, field(24) + 1, static_cast<int>((kindAndDirection >> 8) & 7u),
            static_cast<int>((kindAndDirection >> 11) & 15u)};
}

int KindOf(std::uint32_t kindAndDirection) { return static_cast<int>(kindAndDirection & 0xFFu); }

CubeChunkBuilder::CubeChunkBuilder(bool merge) : merge_(merge) {}

CubeChunkBuilder::~CubeChunkBuilder() {
    // Jobs still running write into the slots.
    if (pool_)
        pool_->Wait();
}

void CubeChunkBuilder::MeshOn(WorkerPool* pool, BuildProgress* progress, bool whileAdding) {
    pool_ = pool;
    progress_ = progress;
    meshWhileAdding_ = whileAdding;
}

CubeChunkBuilder::Slot& CubeChunkBuilder::SlotOf(const glm::ivec3& chunk) {
    const std::uint64_t key = KeyOf(chunk);
    if (key != lastKey_) {
        std::unique_ptr<Slot>& slot = chunks_[key];
        if (!slot) {
            slot = std::make_unique<Slot>();
            slot->chunk = chunk;
            slot->cells = std::make_unique<Cells>();
            waiting_.push_back(slot.get());
            if (progress_)
                progress_->RaiseTotal(static_cast<std::int64_t>(chunks_.size()));
        }
        last_ = slot.get();
        lastKey_ = key;
    }
    return *last_;
}

void CubeChunkBuilder::MeshSlot(Slot& slot) const {
    if (!(progress_ && progress_->Cancelled()))
        slot.meshed = Mesh(slot.chunk, *slot.cells);
    slot.cells.reset();  // the cells go as soon as their chunk is meshed
    if (progress_)
        progress_->Advance();
}

void CubeChunkBuilder::PostWaitingChunks() {
    for (Slot* slot : waiting_) {
        slot->posted = true;
        if (pool_)
            pool_->Post([this, slot] { MeshSlot(*slot); });
        else
            MeshSlot(*slot);
    }
    waiting_.clear();
}

void CubeChunkBuilder::Add(const glm::ivec3& cell, int kind, bool blended, CubeFaceMask faces) {
    if (kind < 0 || kind >= kMaxKinds)
        throw std::length_error("too many kinds of cube in one static geometry");
    constexpr int kLimit = (kKeyBias - 1) * kChunkSide;
    if (glm::any(glm::greaterThanEqual(glm::abs(cell), glm::ivec3(kLimit))))
        return;  // beyond any scene the lattice can hold; nothing real lies there
    const glm::ivec3 chunk(cell.x >> kChunkShift, cell.y >> kChunkShift, cell.z >> kChunkShift);
    if (meshWhileAdding_ && chunk.y > highestBand_) {
        // The adds have left the bands below: what they hold is whole.
        PostWaitingChunks();
        highestBand_ = chunk.y;
    }
    Slot& slot = SlotOf(chunk);
    if (slot.posted) {
        if (!late_) {
            late_ = std::make_unique<CubeChunkBuilder>(merge_);
            late_->MeshOn(nullptr, nullptr, true);
        }
        late_->Add(cell, kind, blended, faces);
        return;
    }
    // Written only when it changes, since meshing threads read the kinds seen before.
    auto& blendedKind = blended_[static_cast<std::size_t>(kind)];
    if (blendedKind != blended)
        blendedKind = blended;
    const glm::ivec3 local = cell & glm::ivec3(kChunkMask);
    Cells& cells = *slot.cells;
    const int index = CellIndex(local);
    if (cells.kind[static_cast<std::size_t>(index)] == 0)
        ++cubes_;
    cells.kind[static_cast<std::size_t>(index)] = static_cast<std::uint16_t>(kind + 1);
    cells.faces[static_cast<std::size_t>(index)] = faces;
    for (int direction = 0; direction < kCubeDirections; ++direction)
        if ((faces & (1u << direction)) != 0)
            cells.slices[static_cast<std::size_t>(direction)] |= 1u << local[AxesOf(direction).normal];
}

namespace {

// The region (kRegionSide cells a side) a chunk lies in.
glm::ivec3 RegionOf(const glm::ivec3& origin) {
    return glm::ivec3(origin.x >> 6, origin.y >> 6, origin.z >> 6);
}
static_assert(kRegionSide == 1 << 6);

// How far along a direction's normal a quad lies, counted so that the quads an eye facing
// them sees nearest come first for the opaque group and last for the blended one.
int DrawOrder(const ChunkQuad& quad, int group) {
    const int slice = quad.cell[AxesOf(quad.direction).normal];
    const bool descending = (quad.direction % 2 == 0) != (group == kBlendedGroup);
    return descending ? kRegionSide - 1 - slice : slice;
}

// The small chunks of one region as one chunk with the region's origin.
CubeChunkData Join(const std::vector<CubeChunkData*>& parts) {
    CubeChunkData joined;
    joined.origin = RegionOf(parts.front()->origin) * kRegionSide;
    joined.low = glm::ivec3(kRegionSide);
    joined.high = glm::ivec3(-1);
    for (int group = 0; group < kChunkGroups; ++group)
        for (int direction = 0; direction < kCubeDirections; ++direction) {
            const auto g = static_cast<std::size_t>(group);
            const auto d = static_cast<std::size_t>(direction);
            struct Moved {
                int order;
                std::uint32_t rectangle, kind;
            };
            std::vector<Moved> quads;
            for (const CubeChunkData* part : parts) {
                const glm::ivec3 offset = part->origin - joined.origin;
                for (int i = part->ranges.first[g][d]; i < part->ranges.first[g][d] + part->ranges.count[g][d]; ++i) {
                    const auto at = static_cast<std::size_t>(i * kWordsPerQuad);
                    ChunkQuad quad = UnpackQuad(part->quads[at], part->quads[at + 1]);
                    quad.cell += offset;
                    quads.push_back({DrawOrder(quad, group), PackQuad(quad), part->quads[at + 1]});
                }
            }
            std::stable_sort(quads.begin(), quads.end(), [](const Moved& l, const Moved& r) { return l.order < r.order; });
            joined.ranges.first[g][d] = static_cast<int>(joined.quads.size() / kWordsPerQuad);
            joined.ranges.count[g][d] = static_cast<int>(quads.size());
            for (const Moved& quad : quads) {
                joined.quads.push_back(quad.rectangle);
                joined.quads.push_back(quad.kind);
            }
        }
    for (const CubeChunkData* part : parts) {
        const glm::ivec3 offset = part->origin - joined.origin;
        joined.low = glm::min(joined.low, part->low + offset);
        joined.high = glm::max(joined.high, part->high + offset);
        joined.faces += part->faces;
    }
    return joined;
}

}  // namespace

std::vector<CubeChunkData> CubeChunkBuilder::TakeMeshes() {
    PostWaitingChunks();
    if (pool_)
        pool_->Wait();
    std::vector<std::uint64_t> keys;
    keys.reserve(chunks_.size());
    for (const auto& [key, slot] : chunks_)
        keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    std::vector<CubeChunkData> meshed;
    for (const std::uint64_t key : keys) {
        std::unique_ptr<Slot>& slot = chunks_[key];
        if (!slot->meshed.quads.empty())
            meshed.push_back(std::move(slot->meshed));
        slot.reset();
    }
    chunks_.clear();
    last_ = nullptr;
    lastKey_ = ~std::uint64_t{0};
    highestBand_ = INT32_MIN;
    cubes_ = 0;
    if (late_) {
        for (CubeChunkData& chunk : late_->TakeMeshes())
            meshed.push_back(std::move(chunk));
        late_.reset();
    }
    return meshed;
}

std::vector<CubeChunkData> CubeChunkBuilder::Build() {
    std::vector<CubeChunkData> meshed = TakeMeshes();
    if (!merge_)
        return meshed;  // every face its own quad, in chunks of their own
    // Large chunks stay as they are; the small ones of each region are joined, in the order
    // of the regions' first chunks.
    std::vector<CubeChunkData> built;
    std::map<std::uint64_t, std::vector<CubeChunkData*>> small;
    std::vector<std::uint64_t> regionOrder;
    for (CubeChunkData& chunk : meshed) {
        if (chunk.QuadCount() >= kSmallChunkQuads) {
            built.push_back(std::move(chunk));
            continue;
        }
        const std::uint64_t region = KeyOf(RegionOf(chunk.origin));
        std::vector<CubeChunkData*>& parts = small[region];
        if (parts.empty())
            regionOrder.push_back(region);
        parts.push_back(&chunk);
    }
    for (const std::uint64_t region : regionOrder) {
        const std::vector<CubeChunkData*>& parts = small[region];
        built.push_back(parts.size() == 1 ? std::move(*parts.front()) : Join(parts));
    }
    return built;
}

namespace {

// Takes the largest rectangle of one kind growing from (a, b) along a, then along b, and
// clears it from the mask. Without merging, the single cell.
ChunkQuad TakeRectangle(PlaneMask& mask, int a, int b, bool merge) {
    const std::uint16_t kind = mask[static_cast<std::size_t>(b * kChunkSide + a)];
    auto at = [&](int i, int j) -> std::uint16_t& { return mask[static_cast<std::size_t>(j * kChunkSide + i)]; };
    int width = 1;
    int height = 1;
    if (merge) {
        while (a + width < kChunkSide && at(a + width, b) == kind)
            ++width;
        for (bool grows = true; grows && b + height < kChunkSide;) {
            for (int i = a; i < a + width && grows; ++i)
                grows = at(i, b + height) == kind;
            height += grows ? 1 : 0;
        }
    }
    for (int j = b; j < b + height; ++j)
        std::fill_n(&at(a, j), width, std::uint16_t{0});
    ChunkQuad quad;
    quad.sizeA = width;
    quad.sizeB = height;
    return quad;
}

}  // namespace

std::array<int, kChunkGroups> CubeChunkBuilder::MaskSlice(const Cells& cells, int direction, int slice,
                                                          SliceMasks& masks) const {
    // CellIndex's strides along the axes of the direction's plane.
    constexpr int kStride[3] = {1, kChunkSide, kChunkSide * kChunkSide};
    const QuadAxes axes = AxesOf(direction);
    const int strideA = kStride[axes.a];
    const int strideB = kStride[axes.b];
    const auto bit = static_cast<CubeFaceMask>(1u << direction);
    std::array<int, kChunkGroups> faces{};
    PlaneMask& opaque = masks[kOpaqueGroup];
    PlaneMask& blended = masks[kBlendedGroup];
    for (int b = 0; b < kChunkSide; ++b) {
        int index = slice * kStride[axes.normal] + b * strideB;
        for (int a = 0; a < kChunkSide; ++a, index += strideA) {
            const auto at = static_cast<std::size_t>(index);
            const std::uint16_t kind = (cells.faces[at] & bit) != 0 ? cells.kind[at] : std::uint16_t{0};
            const bool isBlended = kind != 0 && blended_[static_cast<std::size_t>(kind - 1)];
            const auto cell = static_cast<std::size_t>(b * kChunkSide + a);
            opaque[cell] = isBlended ? 0 : kind;
            blended[cell] = isBlended ? kind : 0;
            faces[kBlendedGroup] += isBlended ? 1 : 0;
            faces[kOpaqueGroup] += kind != 0 && !isBlended ? 1 : 0;
        }
    }
    return faces;
}

namespace {

// The QuadEdge bits of the quad's edges whose every cell has the side beyond it hidden.
int SeamsOf(const ChunkQuad& quad, const std::array<CubeFaceMask, kChunkCells>& faces) {
    const QuadAxes axes = AxesOf(quad.direction);
    auto hidden = [&](int axis, int step, int side) {  // side 0: towards -axis, 1: towards +axis
        const int across = axis == axes.a ? axes.b : axes.a;
        const int length = axis == axes.a ? quad.sizeB : quad.sizeA;
        glm::ivec3 cell = quad.cell;
        cell[axis] += step;
        const auto bit = static_cast<CubeFaceMask>(1u << (2 * axis + (side == 0 ? 1 : 0)));
        for (int i = 0; i < length; ++i, ++cell[across])
            if ((faces[static_cast<std::size_t>(CellIndex(cell))] & bit) != 0)
                return false;
        return true;
    };
    // An edge one cell long has no point inside it where another quad's corner could lie.
    int seams = 0;
    if (quad.sizeB > 1) {
        seams |= hidden(axes.a, 0, 0) ? kEdgeLowA : 0;
        seams |= hidden(axes.a, quad.sizeA - 1, 1) ? kEdgeHighA : 0;
    }
    if (quad.sizeA > 1) {
        seams |= hidden(axes.b, 0, 0) ? kEdgeLowB : 0;
        seams |= hidden(axes.b, quad.sizeB - 1, 1) ? kEdgeHighB : 0;
    }
    return seams;
}

}  // namespace

void CubeChunkBuilder::EmitRectangles(const Cells& cells, PlaneMask& mask, int direction, int slice,
                                      CubeChunkData& data, std::vector<std::uint32_t>& quads) const {
    const QuadAxes axes = AxesOf(direction);
    for (int b = 0; b < kChunkSide; ++b)
        for (int a = 0; a < kChunkSide; ++a) {
            const std::uint16_t kind = mask[static_cast<std::size_t>(b * kChunkSide + a)];
            if (kind == 0)
                continue;
            ChunkQuad quad = TakeRectangle(mask, a, b, merge_);
            quad.direction = direction;
            quad.cell[axes.normal] = slice;
            quad.cell[axes.a] = a;
            quad.cell[axes.b] = b;
            glm::ivec3 far = quad.cell;
            far[axes.a] += quad.sizeA - 1;
            far[axes.b] += quad.sizeB - 1;
            data.low = glm::min(data.low, quad.cell);
            data.high = glm::max(data.high, far);
            quads.push_back(PackQuad(quad));
            quads.push_back(PackKind(kind - 1, direction, SeamsOf(quad, cells.faces)));
        }
}

namespace {

// The lattice of cell corners of one chunk, 0 to kChunkSide along each axis.
constexpr int kCornerSide = kChunkSide + 1;
using CornerSet = std::bitset<kCornerSide * kCornerSide * kCornerSide>;

std::size_t CornerIndex(const glm::ivec3& point) {
    return static_cast<std::size_t>(point.x + kCornerSide * (point.y + kCornerSide * point.z));
}

// The corner of a quad at (a, b) along its plane's axes, a and b counted from its low corner.
glm::ivec3 QuadCorner(const ChunkQuad& quad, int a, int b) {
    const QuadAxes axes = AxesOf(quad.direction);
    glm::ivec3 point = quad.cell;
    point[axes.normal] += quad.direction % 2 == 0 ? 1 : 0;  // a face towards +axis lies on the cell's far side
    point[axes.a] += a;
    point[axes.b] += b;
    return point;
}

// Keeps only the seams that need closing: those with another quad's corner inside the edge
// (a T-junction), where the two are rasterised from different end points. An edge whose
// neighbours end where it ends leaves no gap. Where the cells beyond the edge, or the wall
// rising from it, lie in another chunk, their corners are not known here and the seam stays.
void KeepSeamsWithJunctions(CubeChunkData& data) {
    // Only an edge longer than a cell can have a corner inside it; without one, the corners
    // are not needed (a random building's chunk holds thousands of single cells).
    bool longSeams = false;
    for (std::size_t at = 0; at < data.quads.size() && !longSeams; at += kWordsPerQuad) {
        const ChunkQuad quad = UnpackQuad(data.quads[at], data.quads[at + 1]);
        longSeams = quad.seams != 0 && (quad.sizeA > 1 || quad.sizeB > 1);
    }
    CornerSet corners;
    constexpr std::size_t kCornerStride[3] = {1, kCornerSide, kCornerSide * kCornerSide};
    for (std::size_t at = 0; longSeams && at < data.quads.size(); at += kWordsPerQuad) {
        const ChunkQuad quad = UnpackQuad(data.quads[at], data.quads[at + 1]);
        const QuadAxes axes = AxesOf(quad.direction);
        const std::size_t low = CornerIndex(QuadCorner(quad, 0, 0));
        const std::size_t alongA = kCornerStride[axes.a] * static_cast<std::size_t>(quad.sizeA);
        const std::size_t alongB = kCornerStride[axes.b] * static_cast<std::size_t>(quad.sizeB);
        corners.set(low);
        corners.set(low + alongA);
        corners.set(low + alongB);
        corners.set(low + alongA + alongB);
    }
    for (std::size_t at = 0; at < data.quads.size(); at += kWordsPerQuad) {
        const ChunkQuad quad = UnpackQuad(data.quads[at], data.quads[at + 1]);
        if (quad.seams == 0)
            continue;
        const QuadAxes axes = AxesOf(quad.direction);
        const int wallSlice = quad.cell[axes.normal] + (quad.direction % 2 == 0 ? 1 : -1);
        const bool wallInside = wallSlice >= 0 && wallSlice < kChunkSide;
        auto junction = [&](bool alongA, bool high) {
            // The edge at the low or high end of one axis, running along the other.
            const int across = alongA ? quad.sizeA : quad.sizeB;
            const int length = alongA ? quad.sizeB : quad.sizeA;
            const int start = quad.cell[alongA ? axes.a : axes.b];
            const int beyond = high ? start + across : start - 1;
            if (beyond < 0 || beyond >= kChunkSide || !wallInside)
                return true;
            for (int i = 1; i < length; ++i) {
                const glm::ivec3 point = alongA ? QuadCorner(quad, high ? across : 0, i) : QuadCorner(quad, i, high ? across : 0);
                if (corners.test(CornerIndex(point)))
                    return true;
            }
            return false;
        };
        int seams = 0;
        seams |= (quad.seams & kEdgeLowA) != 0 && junction(true, false) ? kEdgeLowA : 0;
        seams |= (quad.seams & kEdgeHighA) != 0 && junction(true, true) ? kEdgeHighA : 0;
        seams |= (quad.seams & kEdgeLowB) != 0 && junction(false, false) ? kEdgeLowB : 0;
        seams |= (quad.seams & kEdgeHighB) != 0 && junction(false, true) ? kEdgeHighB : 0;
        data.quads[at + 1] = PackKind(KindOf(data.quads[at + 1]), quad.direction, seams);
    }
}

}  // namespace

CubeChunkData CubeChunkBuilder::Mesh(const glm::ivec3& chunk, const Cells& cells) const {
    CubeChunkData data;
    data.origin = chunk * kChunkSide;
    data.low = glm::ivec3(kChunkSide);
    data.high = glm::ivec3(-1);
    // Each slice is masked once for both groups; the blended quads are gathered apart and
    // follow the opaque ones.
    std::array<std::vector<std::uint32_t>, kChunkGroups> quads;
    std::array<SliceMasks, kChunkSide> slices;
    std::array<std::array<int, kChunkGroups>, kChunkSide> faces{};
    for (int direction = 0; direction < kCubeDirections; ++direction) {
        const auto d = static_cast<std::size_t>(direction);
        for (int slice = 0; slice < kChunkSide; ++slice) {
            const auto s = static_cast<std::size_t>(slice);
            faces[s] = (cells.slices[d] & (1u << slice)) == 0 ? std::array<int, kChunkGroups>{}
                                                              : MaskSlice(cells, direction, slice, slices[s]);
        }
        for (int group = 0; group < kChunkGroups; ++group) {
            const auto g = static_cast<std::size_t>(group);
            std::vector<std::uint32_t>& list = quads[g];
            data.ranges.first[g][d] = static_cast<int>(list.size() / kWordsPerQuad);
            // A face looking along +y is seen from above, where the highest slice is the
            // nearest: opaque faces go nearest first, blended ones farthest first.
            const bool descending = (direction % 2 == 0) != (group == kBlendedGroup);
            for (int step = 0; step < kChunkSide; ++step) {
                const int slice = descending ? kChunkSide - 1 - step : step;
                const auto s = static_cast<std::size_t>(slice);
                data.faces += faces[s][g];
                if (faces[s][g] > 0)
                    EmitRectangles(cells, slices[s][g], direction, slice, data, list);
            }
            data.ranges.count[g][d] = static_cast<int>(list.size() / kWordsPerQuad) - data.ranges.first[g][d];
        }
    }
    const int opaqueQuads = static_cast<int>(quads[kOpaqueGroup].size() / kWordsPerQuad);
    for (int& first : data.ranges.first[kBlendedGroup])
        first += opaqueQuads;
    data.quads = std::move(quads[kOpaqueGroup]);
    data.quads.insert(data.quads.end(), quads[kBlendedGroup].begin(), quads[kBlendedGroup].end());
    KeepSeamsWithJunctions(data);
    return data;
}

}  // namespace orbitscope
