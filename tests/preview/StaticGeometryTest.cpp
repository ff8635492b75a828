// The engine's merged static geometry, its view culling and its frame figures, headless.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include <glm/gtc/matrix_transform.hpp>

#include "preview/engine/BuildProgress.h"
#include "preview/engine/CubeChunks.h"
#include "preview/engine/FrameFigures.h"
#include "preview/engine/ViewCulling.h"
#include "preview/engine/WorkerPool.h"

namespace orbitscope {
namespace {

using Face = std::tuple<int, int, int, int>;  // lattice cell x, y, z and direction

// Every drawn face of the built chunks with the kind drawn there, quads spread back into cells.
std::map<Face, int> SpreadQuads(const std::vector<CubeChunkData>& chunks, std::int64_t& faces, std::size_t& quads,
                                const std::vector<bool>& blendedKinds) {
    std::map<Face, int> drawn;
    faces = 0;
    quads = 0;
    for (const CubeChunkData& chunk : chunks) {
        faces += chunk.faces;
        quads += static_cast<std::size_t>(chunk.QuadCount());
        EXPECT_EQ(chunk.origin % kChunkSide, glm::ivec3(0));
        std::size_t covered = 0;
        int next = 0;
        for (int group = 0; group < kChunkGroups; ++group)
            for (int direction = 0; direction < kCubeDirections; ++direction) {
                const auto g = static_cast<std::size_t>(group);
                const auto d = static_cast<std::size_t>(direction);
                EXPECT_EQ(chunk.ranges.first[g][d], next) << "ranges follow each other";
                next += chunk.ranges.count[g][d];
                covered += static_cast<std::size_t>(chunk.ranges.count[g][d]);
                int lastSlice = -1;
                for (int i = chunk.ranges.first[g][d]; i < chunk.ranges.first[g][d] + chunk.ranges.count[g][d]; ++i) {
                    const auto at = static_cast<std::size_t>(i * kWordsPerQuad);
                    const ChunkQuad quad = UnpackQuad(chunk.quads[at], chunk.quads[at + 1]);
                    const int kind = KindOf(chunk.quads[at + 1]);
                    EXPECT_EQ(quad.direction, direction);
                    EXPECT_EQ(blendedKinds[static_cast<std::size_t>(kind)], group == kBlendedGroup);
                    const QuadAxes axes = AxesOf(direction);
                    // Opaque faces nearest first to an eye that sees them, blended ones farthest first.
                    const bool descending = (direction % 2 == 0) != (group == kBlendedGroup);
                    const int order = descending ? kRegionSide - 1 - quad.cell[axes.normal] : quad.cell[axes.normal];
                    EXPECT_GE(order, lastSlice);
                    lastSlice = order;
                    // A quad stays inside one cell of the chunk grid, inside the chunk's region
                    // and inside the chunk's box of faces.
                    EXPECT_EQ(quad.cell[axes.a] / kChunkSide, (quad.cell[axes.a] + quad.sizeA - 1) / kChunkSide);
                    EXPECT_EQ(quad.cell[axes.b] / kChunkSide, (quad.cell[axes.b] + quad.sizeB - 1) / kChunkSide);
                    EXPECT_LE(quad.cell[axes.a] + quad.sizeA, kRegionSide);
                    EXPECT_LE(quad.cell[axes.b] + quad.sizeB, kRegionSide);
                    for (int a = 0; a < quad.sizeA; ++a)
                        for (int b = 0; b < quad.sizeB; ++b) {
                            glm::ivec3 local = quad.cell;
                            local[axes.a] += a;
                            local[axes.b] += b;
                            EXPECT_TRUE(glm::all(glm::greaterThanEqual(local, chunk.low)) &&
                                        glm::all(glm::lessThanEqual(local, chunk.high)));
                            const glm::ivec3 cell = chunk.origin + local;
                            const bool fresh = drawn.emplace(Face{cell.x, cell.y, cell.z, direction}, kind).second;
                            EXPECT_TRUE(fresh) << "a face drawn twice";
                        }
                }
            }
        EXPECT_EQ(covered * kWordsPerQuad, chunk.quads.size()) << "every record in exactly one range";
    }
    return drawn;
}

// A random building's cubes in the order the scene adds them: layer by layer (lattice y
// ascending), each layer in random order, on both sides of the lattice's origin.
struct AddedCube {
    glm::ivec3 cell;
    int kind;
    CubeFaceMask faces;
};
std::vector<AddedCube> LayeredCubes(std::mt19937& random, int extent, int lowest, int highest) {
    std::uniform_int_distribution<int> kind(0, 3);
    std::bernoulli_distribution filled(0.5);
    std::uniform_int_distribution<int> faces(1, 63);
    std::vector<AddedCube> cubes;
    for (int y = lowest; y <= highest; ++y) {
        std::vector<AddedCube> layer;
        for (int z = -extent; z <= extent; ++z)
            for (int x = -extent; x <= extent; ++x)
                if (filled(random))
                    layer.push_back({{x, y, z}, kind(random), static_cast<CubeFaceMask>(faces(random))});
        std::shuffle(layer.begin(), layer.end(), random);
        cubes.insert(cubes.end(), layer.begin(), layer.end());
    }
    return cubes;
}

const std::vector<bool> kGlassIsKind2 = {false, false, true, false};

std::map<Face, int> FacesOf(CubeChunkBuilder& builder, const std::vector<AddedCube>& cubes, std::int64_t& faces,
                            std::size_t& quads) {
    for (const AddedCube& cube : cubes)
        builder.Add(cube.cell, cube.kind, kGlassIsKind2[static_cast<std::size_t>(cube.kind)], cube.faces);
    return SpreadQuads(builder.Build(), faces, quads, kGlassIsKind2);
}

// Meshing on a pool, and band by band while the cubes go in, builds exactly the chunks that
// meshing everything at the end on one thread builds, and counts every chunk it meshes.
TEST(CubeChunks, MeshingOnThreadsWhileAddingBuildsTheSameChunks) {
    std::mt19937 random(41);
    WorkerPool pool(3);
    for (int round = 0; round < 6; ++round) {
        const std::vector<AddedCube> cubes = LayeredCubes(random, 5 + 4 * round, -20 - round, 25 + 3 * round);
        CubeChunkBuilder serial;
        std::vector<CubeChunkData> expected;
        for (const AddedCube& cube : cubes)
            serial.Add(cube.cell, cube.kind, kGlassIsKind2[static_cast<std::size_t>(cube.kind)], cube.faces);
        expected = serial.Build();
        for (const bool whileAdding : {false, true}) {
            BuildProgress progress;
            CubeChunkBuilder threaded;
            threaded.MeshOn(&pool, &progress, whileAdding);
            for (const AddedCube& cube : cubes)
                threaded.Add(cube.cell, cube.kind, kGlassIsKind2[static_cast<std::size_t>(cube.kind)], cube.faces);
            const std::vector<CubeChunkData> built = threaded.Build();
            ASSERT_EQ(built.size(), expected.size()) << "round " << round;
            for (std::size_t i = 0; i < built.size(); ++i) {
                EXPECT_EQ(built[i].origin, expected[i].origin);
                EXPECT_EQ(built[i].low, expected[i].low);
                EXPECT_EQ(built[i].high, expected[i].high);
                EXPECT_EQ(built[i].quads, expected[i].quads) << "round " << round << ", chunk " << i;
                EXPECT_EQ(built[i].ranges.first, expected[i].ranges.first);
                EXPECT_EQ(built[i].ranges.count, expected[i].ranges.count);
                EXPECT_EQ(built[i].faces, expected[i].faces);
            }
            const BuildProgress::Snapshot counted = progress.Now();
            EXPECT_GT(counted.done, 0);
            EXPECT_EQ(counted.done, counted.total) << "every chunk made is meshed and counted";
        }
    }
}

// While adding, a cube that comes after the adds have left its band is not lost: every face
// asked for is drawn, once, with its kind.
TEST(CubeChunks, CubesAddedBelowTheMeshedBandsStillShow) {
    std::mt19937 random(7);
    WorkerPool pool(2);
    std::vector<AddedCube> cubes = LayeredCubes(random, 12, 0, 40);
    // A quarter of the cubes go in after all the others, out of order.
    std::vector<AddedCube> late;
    std::vector<AddedCube> inOrder;
    for (std::size_t i = 0; i < cubes.size(); ++i)
        (i % 4 == 0 ? late : inOrder).push_back(cubes[i]);
    std::shuffle(late.begin(), late.end(), random);
    inOrder.insert(inOrder.end(), late.begin(), late.end());

    std::map<Face, int> expected;
    for (const AddedCube& cube : cubes)
        for (int d = 0; d < kCubeDirections; ++d)
            if ((cube.faces & (1u << d)) != 0)
                expected[{cube.cell.x, cube.cell.y, cube.cell.z, d}] = cube.kind;
    CubeChunkBuilder builder;
    builder.MeshOn(&pool, nullptr, true);
    std::int64_t faces = 0;
    std::size_t quads = 0;
    EXPECT_EQ(FacesOf(builder, inOrder, faces, quads), expected);
    EXPECT_EQ(faces, static_cast<std::int64_t>(expected.size()));
}

// A cancelled build stops meshing: the chunks still waiting are dropped, and Build returns
// what was meshed before.
TEST(CubeChunks, ACancelledBuildStopsMeshing) {
    std::mt19937 random(3);
    const std::vector<AddedCube> cubes = LayeredCubes(random, 30, 0, 63);
    WorkerPool pool(2);
    BuildProgress progress;
    CubeChunkBuilder builder;
    builder.MeshOn(&pool, &progress, true);
    std::size_t added = 0;
    for (; added < cubes.size() && cubes[added].cell.y < 20; ++added)
        builder.Add(cubes[added].cell, cubes[added].kind, false, cubes[added].faces);
    progress.Cancel();
    for (; added < cubes.size(); ++added)
        builder.Add(cubes[added].cell, cubes[added].kind, false, cubes[added].faces);
    const std::vector<CubeChunkData> built = builder.Build();
    // Chunks in bands 0 and 1 (y 0..31) were whole before the cancel; what was meshed of them
    // before it is all that can be there.
    for (const CubeChunkData& chunk : built)
        EXPECT_LT(chunk.origin.y, 2 * kChunkSide);
    const BuildProgress::Snapshot counted = progress.Now();
    EXPECT_EQ(counted.done, counted.total) << "a dropped chunk is counted as done";
    EXPECT_LT(static_cast<std::int64_t>(built.size()), counted.total);
}

using Cubes = std::map<std::tuple<int, int, int>, std::pair<int, CubeFaceMask>>;

// The lattice point of a quad's corner at (a, b) along its plane's axes, in lattice cells.
glm::ivec3 CornerOf(const CubeChunkData& chunk, const ChunkQuad& quad, int a, int b) {
    const QuadAxes axes = AxesOf(quad.direction);
    glm::ivec3 point = chunk.origin + quad.cell;
    point[axes.normal] += quad.direction % 2 == 0 ? 1 : 0;
    point[axes.a] += a;
    point[axes.b] += b;
    return point;
}

// A quad's seams lie only where every cell of the quad along the edge has the side across
// it hidden (the cubes' own masks say which sides are drawn), and every such edge with
// another quad's corner inside it (a T-junction, which leaves gaps) is a seam. Gives how
// many such T-junctions there are.
int CheckSeams(const std::vector<CubeChunkData>& chunks, const Cubes& cubes) {
    std::set<std::tuple<int, int, int>> corners;
    for (const CubeChunkData& chunk : chunks)
        for (std::size_t at = 0; at < chunk.quads.size(); at += kWordsPerQuad) {
            const ChunkQuad quad = UnpackQuad(chunk.quads[at], chunk.quads[at + 1]);
            for (const int a : {0, quad.sizeA})
                for (const int b : {0, quad.sizeB}) {
                    const glm::ivec3 point = CornerOf(chunk, quad, a, b);
                    corners.insert({point.x, point.y, point.z});
                }
        }
    int junctions = 0;
    for (const CubeChunkData& chunk : chunks)
        for (std::size_t at = 0; at < chunk.quads.size(); at += kWordsPerQuad) {
            const ChunkQuad quad = UnpackQuad(chunk.quads[at], chunk.quads[at + 1]);
            const QuadAxes axes = AxesOf(quad.direction);
            struct Edge {
                int bit, axis, side;  // side: the direction towards -axis (1) or +axis (0)
            };
            for (const Edge edge : {Edge{kEdgeLowA, axes.a, 1}, Edge{kEdgeHighA, axes.a, 0}, Edge{kEdgeLowB, axes.b, 1},
                                    Edge{kEdgeHighB, axes.b, 0}}) {
                const bool alongA = edge.axis == axes.a;
                const int across = alongA ? quad.sizeA : quad.sizeB;
                const int length = alongA ? quad.sizeB : quad.sizeA;
                const int at0 = edge.side == 1 ? 0 : across;
                bool allHidden = true;
                bool junction = false;
                for (int i = 0; i < length; ++i) {
                    glm::ivec3 cell = chunk.origin + quad.cell;
                    cell[edge.axis] += edge.side == 1 ? 0 : across - 1;
                    cell[alongA ? axes.b : axes.a] += i;
                    const auto& cube = cubes.at({cell.x, cell.y, cell.z});
                    allHidden = allHidden && (cube.second & (1u << (2 * edge.axis + edge.side))) == 0;
                    if (i > 0) {
                        const glm::ivec3 point = alongA ? CornerOf(chunk, quad, at0, i) : CornerOf(chunk, quad, i, at0);
                        junction = junction || corners.count({point.x, point.y, point.z}) > 0;
                    }
                }
                const bool seam = (quad.seams & edge.bit) != 0;
                if (seam) {
                    EXPECT_TRUE(allHidden) << "a seam on the outline, edge " << edge.bit;
                }
                if (allHidden && junction) {
                    EXPECT_TRUE(seam) << "a T-junction left open, edge " << edge.bit;
                    ++junctions;
                }
            }
        }
    return junctions;
}

// Random cubes, some in the same cell (the later one counts), across chunk borders and on
// both sides of the lattice's origin, of few kinds so that faces can merge: merged or not,
// exactly the faces asked for are drawn, each once, with its kind.
TEST(CubeChunks, MergedQuadsCoverExactlyTheDrawnFaces) {
    std::mt19937 random(16);
    int junctions = 0;
    for (int round = 0; round < 20; ++round) {
        // A blob of cubes about two thirds full, wide enough to span several chunks.
        const int extent = 6 + round * 2;
        std::uniform_int_distribution<int> across(-extent, extent);
        std::uniform_int_distribution<int> upwards(-3, 4);
        std::uniform_int_distribution<int> kind(0, round % 3 == 0 ? 0 : 3);
        const std::vector<bool> blendedKinds = {false, false, true, false};  // kind 2 is glass
        // Dense rounds draw most faces, so that large rectangles form; sparse ones draw few.
        std::bernoulli_distribution faceOn(round % 2 == 0 ? 0.97 : 0.4);
        Cubes cubes;
        const int count = (2 * extent + 1) * (2 * extent + 1) * 8;
        std::vector<std::pair<glm::ivec3, std::pair<int, CubeFaceMask>>> added;
        for (int i = 0; i < count; ++i) {
            const glm::ivec3 cell(across(random), upwards(random), across(random));
            CubeFaceMask faces = 0;
            for (int d = 0; d < kCubeDirections; ++d)
                if (faceOn(random))
                    faces = static_cast<CubeFaceMask>(faces | 1u << d);
            added.push_back({cell, {kind(random), faces}});
            cubes[{cell.x, cell.y, cell.z}] = added.back().second;
        }
        std::map<Face, int> expected;
        for (const auto& [cell, cube] : cubes)
            for (int d = 0; d < kCubeDirections; ++d)
                if ((cube.second & (1u << d)) != 0)
                    expected[{std::get<0>(cell), std::get<1>(cell), std::get<2>(cell), d}] = cube.first;

        std::size_t mergedQuads = 0;
        for (const bool merge : {false, true}) {
            CubeChunkBuilder builder(merge);
            for (const auto& [cell, cube] : added)
                builder.Add(cell, cube.first, blendedKinds[static_cast<std::size_t>(cube.first)], cube.second);
            EXPECT_EQ(builder.CubeCount(), static_cast<std::int64_t>(cubes.size()));
            std::int64_t faces = 0;
            std::size_t quads = 0;
            const std::vector<CubeChunkData> chunks = builder.Build();
            junctions += CheckSeams(chunks, cubes);
            const std::map<Face, int> drawn = SpreadQuads(chunks, faces, quads, blendedKinds);
            ASSERT_EQ(drawn, expected) << "round " << round << (merge ? " merged" : " unmerged");
            EXPECT_EQ(faces, static_cast<std::int64_t>(expected.size()));
            if (merge)
                mergedQuads = quads;
            else
                EXPECT_EQ(quads, expected.size());
        }
        EXPECT_LE(mergedQuads, expected.size());
        if (round % 6 == 0) {  // one kind, most faces drawn: merging must pay
            EXPECT_LT(mergedQuads * 2, expected.size()) << "round " << round;
        }
    }
    EXPECT_GT(junctions, 0) << "the cubes must make T-junctions to check";
}

// A slab of one kind becomes one quad per chunk, and chunks of few quads are joined into
// one for their region.
TEST(CubeChunks, ASlabOfOneKindIsOneQuadPerChunkInOneRegion) {
    CubeChunkBuilder builder;
    const int across = 2 * kChunkSide;
    const int along = kChunkSide + kChunkSide / 4;  // a chunk and a bit
    for (int x = 0; x < across; ++x)
        for (int z = 0; z < along; ++z)
            builder.Add({x, 0, z}, 2, false, kFacePlusY);
    // A second region's chunk, one cube, stays apart.
    builder.Add({kRegionSide, 0, 0}, 1, false, kAllCubeFaces);
    const std::vector<CubeChunkData> chunks = builder.Build();
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].QuadCount(), 4);  // 2 x 2 chunks' tops
    EXPECT_EQ(chunks[0].ranges.count[kOpaqueGroup][2], 4);
    EXPECT_EQ(KindOf(chunks[0].quads[1]), 2);
    EXPECT_EQ(chunks[0].low, glm::ivec3(0));
    EXPECT_EQ(chunks[0].high, glm::ivec3(across - 1, 0, along - 1));
    EXPECT_EQ(chunks[1].origin, glm::ivec3(kRegionSide, 0, 0));
    EXPECT_EQ(chunks[1].QuadCount(), 6);
    EXPECT_TRUE(builder.Build().empty()) << "the cells are let go after building";
}

TEST(ViewCulling, NeverDropsWhatTheViewShowsAndOnlyFacesThatCanFaceTheEye) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-200.0f, 200.0f);
    std::uniform_real_distribution<float> size(0.5f, 60.0f);
    std::uniform_real_distribution<float> share(0.0f, 1.0f);
    int shown = 0;
    int dropped = 0;
    for (int round = 0; round < 3000; ++round) {
        const glm::vec3 eye(place(random), place(random), place(random));
        const glm::vec3 target(place(random), place(random), place(random));
        if (glm::length(target - eye) < 1.0f)
            continue;
        const glm::mat4 viewProjection = glm::perspective(glm::radians(45.0f), 4.0f / 3.0f, 0.5f, 8000.0f) *
                                         glm::lookAt(eye, target, glm::vec3(0, 1, 0));
        const ViewFrustum frustum(viewProjection);
        WorldBox box;
        const glm::vec3 low(place(random), place(random), place(random));
        box.Add(low);
        box.Add(low + glm::vec3(size(random), size(random), size(random)));
        // A point of the box that lands on the screen keeps the box.
        const glm::vec3 point = box.low + (box.high - box.low) * glm::vec3(share(random), share(random), share(random));
        const glm::vec4 clip = viewProjection * glm::vec4(point, 1.0f);
        const bool onScreen = clip.w > 0 && glm::all(glm::lessThanEqual(glm::abs(glm::vec3(clip)), glm::vec3(clip.w)));
        const bool kept = frustum.MayShow(box);
        if (onScreen) {
            EXPECT_TRUE(kept) << "round " << round;
        }
        shown += onScreen ? 1 : 0;
        dropped += kept ? 0 : 1;
        // A face through that point is front-facing exactly when the eye lies beyond its
        // plane; such a face's direction is always kept.
        const CubeFaceMask directions = FacingDirections(box, eye);
        for (int d = 0; d < kCubeDirections; ++d) {
            glm::vec3 normal(0.0f);
            normal[d / 2] = d % 2 == 0 ? 1.0f : -1.0f;
            if (glm::dot(normal, eye - point) > 0.0f) {
                EXPECT_NE(directions & (1u << d), 0u) << "round " << round << " direction " << d;
            }
        }
    }
    EXPECT_GT(shown, 50);
    EXPECT_GT(dropped, 500);  // culling does cull
}

TEST(FrameFigures, MeanNearestRankPercentileAndTheLogLine) {
    FrameTimes times;
    EXPECT_EQ(FrameFiguresLine(times, {}), "frames: 0, mean ms: 0.00, p95 ms: 0.00, faces: 0, quads: 0, chunks: 0");
    for (int i = 100; i >= 1; --i)
        times.Add(static_cast<double>(i));
    EXPECT_DOUBLE_EQ(times.MeanMilliseconds(), 50.5);
    EXPECT_DOUBLE_EQ(times.P95Milliseconds(), 95.0);
    times.Add(1000.0);  // 101 frames: the 96th smallest
    EXPECT_DOUBLE_EQ(times.P95Milliseconds(), 96.0);
    FrameTimes one;
    one.Add(16.5);
    EXPECT_EQ(FrameFiguresLine(one, {1234, 56, 7.6}),
              "frames: 1, mean ms: 16.50, p95 ms: 16.50, faces: 1234, quads: 56, chunks: 8");
}

}  // namespace
}  // namespace orbitscope
