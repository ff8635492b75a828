#include "preview/scene/LayerWalk.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <vector>

#include "preview/engine/CubeChunks.h"

namespace orbitscope {
namespace {

// Layers walked ahead of the adds: enough to keep every thread busy, few enough that the
// blocks waiting stay small (a layer of the largest building holds up to 262,144).
constexpr int kLayersAhead = 8;

// Waits for the pool's jobs however the walk ends, since they write into its frames.
class PoolDrain {
public:
    explicit PoolDrain(WorkerPool& pool) : pool_(pool) {}
    ~PoolDrain() { pool_.Wait(); }
    PoolDrain(const PoolDrain&) = delete;
    PoolDrain& operator=(const PoolDrain&) = delete;

private:
    WorkerPool& pool_;
};

}  // namespace

void WalkLayersOnPool(WorkerPool& pool, const stackmason::Building& grid, const BlockKinds& kinds,
                      const BuildProgress* progress, const std::function<void(std::span<const PlacedBlock>)>& addLayer) {
    const int height = grid.Height();
    auto cancelled = [progress] { return progress != nullptr && progress->Cancelled(); };
    std::vector<std::vector<PlacedBlock>> layers(static_cast<std::size_t>(kLayersAhead));
    std::vector<char> ready(static_cast<std::size_t>(height) + 1, 0);
    std::mutex mutex;
    std::condition_variable walked;
    PoolDrain drain(pool);
    // Ahead of the chunks waiting to be meshed, which this thread does not wait for.
    auto post = [&](int layer) {
        pool.PostFirst([&, layer] {
            std::vector<PlacedBlock>& blocks = layers[static_cast<std::size_t>(layer % kLayersAhead)];
            blocks.clear();
            if (!cancelled())
                ForEachBlockInstanceInLayers(grid, kinds, layer, layer,
                                             [&](stackmason::BlockCode code, const glm::vec3& position, CubeFaceMask faces) {
                                                 blocks.push_back({position, code, faces});
                                             });
            {
                std::lock_guard lock(mutex);
                ready[static_cast<std::size_t>(layer)] = 1;
            }
            walked.notify_all();
        });
    };
    for (int layer = 1; layer <= std::min(height, kLayersAhead); ++layer)
        post(layer);
    for (int layer = 1; layer <= height && !cancelled(); ++layer) {
        {
            std::unique_lock lock(mutex);
            walked.wait(lock, [&] { return ready[static_cast<std::size_t>(layer)] != 0; });
        }
        addLayer(layers[static_cast<std::size_t>(layer % kLayersAhead)]);
        // Its frame is free again: the layer kLayersAhead above takes it.
        if (layer + kLayersAhead <= height)
            post(layer + kLayersAhead);
    }
}

BuildingCensus TakeCensus(WorkerPool& pool, const stackmason::Building& grid, const BlockKinds& kinds) {
    const int across = (grid.Width() + kChunkSide - 1) / kChunkSide;
    const int along = (grid.Length() + kChunkSide - 1) / kChunkSide;
    const int bands = (grid.Height() + kChunkSide - 1) / kChunkSide;
    const auto codes = static_cast<std::size_t>(kinds.Count()) + 1;
    std::vector<std::int64_t> chunksPerBand(static_cast<std::size_t>(bands), 0);
    std::vector<std::vector<char>> codesPerBand(static_cast<std::size_t>(bands));
    {
        PoolDrain drain(pool);
        for (int band = 0; band < bands; ++band)
            pool.Post([&, band] {
                std::vector<char> occupied(static_cast<std::size_t>(across) * static_cast<std::size_t>(along), 0);
                std::vector<char>& used = codesPerBand[static_cast<std::size_t>(band)];
                used.assign(codes, 0);
                const int top = std::min(grid.Height(), (band + 1) * kChunkSide);
                for (int layer = band * kChunkSide + 1; layer <= top; ++layer)
                    for (int y = 1; y <= grid.Length(); ++y) {
                        const stackmason::StoredCode* row = grid.Row(y, layer);
                        char* chunks = occupied.data() + static_cast<std::size_t>((y - 1) / kChunkSide) * across;
                        for (int x = 1; x <= grid.Width(); ++x)
                            if (kinds.IsBlock(row[x])) {
                                chunks[(x - 1) / kChunkSide] = 1;
                                used[static_cast<std::size_t>(row[x])] = 1;
                            }
                    }
                chunksPerBand[static_cast<std::size_t>(band)] = std::count(occupied.begin(), occupied.end(), 1);
            });
    }
    BuildingCensus census;
    census.chunksWithBlocks = std::accumulate(chunksPerBand.begin(), chunksPerBand.end(), std::int64_t{0});
    census.codesInUse.assign(codes, false);
    for (const std::vector<char>& used : codesPerBand)
        for (std::size_t code = 1; code < codes; ++code)
            census.codesInUse[code] = census.codesInUse[code] || used[code] != 0;
    return census;
}

}  // namespace orbitscope
