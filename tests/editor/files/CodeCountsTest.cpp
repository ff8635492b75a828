#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "editor/files/CodeCounts.h"

namespace stackmason {
namespace {

using Tally = std::map<BlockCode, std::uint64_t>;

// The cells (x, y, h) with x in xs, y in ys and h in hs, counted one by one.
Tally TallyCells(const Building& grid, int x0, int x1, int y0, int y1, int h0, int h1) {
    Tally tally;
    for (int h = h0; h <= h1; ++h)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                ++tally[grid.At(x, y, h)];
    return tally;
}

void ExpectCounts(const CodeCounts& counts, const Tally& tally, const char* what) {
    std::vector<BlockCode> expected;
    for (const auto& [code, count] : tally) {
        expected.push_back(code);
        EXPECT_EQ(counts.Of(code), count) << what << ", code " << code;
    }
    EXPECT_EQ(counts.CodesPresent(), expected) << what;
}

// Buildings whose rows hold what makes counting go wrong: long runs of one code broken at
// every position, two codes alternating, random codes over the whole range a cell keeps, and
// the ground and index-0 planes filled, which are never counted.
Building PatternedBuilding(std::mt19937& random, int width, int length, int height) {
    Building grid(width, length, height);
    std::uniform_int_distribution<int> anyCode(-32768, 32767);
    std::uniform_int_distribution<int> pattern(0, 3);
    for (int h = 0; h <= height; ++h)
        for (int y = 0; y <= length; ++y) {
            const int kind = pattern(random);
            const BlockCode run = static_cast<BlockCode>(random() % 5);
            const int breakAt = static_cast<int>(random() % static_cast<unsigned>(width + 1));
            for (int x = 0; x <= width; ++x) {
                BlockCode code = 0;
                if (x == 0 || y == 0 || h == 0)
                    code = 99;
                else if (kind == 0)
                    code = x == breakAt ? run + 1 : run;
                else if (kind == 1)
                    code = x % 2 == 0 ? 0 : -47;
                else if (kind == 2)
                    code = anyCode(random);
                else
                    code = static_cast<BlockCode>(random() % 81);
                grid.SetCell(x, y, h, code);
            }
        }
    return grid;
}

TEST(CodeCountsTest, CountsEveryCellOfTheBuildingLayersAndSlices) {
    std::mt19937 random(9);
    std::uniform_int_distribution<int> size(1, 37);
    for (int i = 0; i < 25; ++i) {
        const Building grid = PatternedBuilding(random, size(random), size(random), size(random));
        const int X = grid.Width(), Y = grid.Length(), H = grid.Height();

        CodeCounts building;
        building.AddBuilding(grid);
        ExpectCounts(building, TallyCells(grid, 1, X, 1, Y, 1, H), "building");

        const int h = 1 + static_cast<int>(random() % static_cast<unsigned>(H));
        CodeCounts layer;
        layer.AddLayer(grid, h);
        ExpectCounts(layer, TallyCells(grid, 1, X, 1, Y, h, h), "layer");

        const int x = 1 + static_cast<int>(random() % static_cast<unsigned>(X));
        CodeCounts slice;
        slice.AddSlice(grid, x);
        ExpectCounts(slice, TallyCells(grid, x, x, 1, Y, 1, H), "slice");
    }
}

TEST(CodeCountsTest, AllAirAndCodesNoCellHolds) {
    const Building grid(64, 3, 2);
    CodeCounts counts;
    counts.AddBuilding(grid);
    counts.AddLayer(grid, 2);
    EXPECT_EQ(counts.Of(0), 64u * 3 * 2 + 64 * 3);
    EXPECT_EQ(counts.CodesPresent(), std::vector<BlockCode>{0});
    EXPECT_EQ(counts.Of(1), 0u);
    EXPECT_EQ(counts.Of(-32769), 0u);
    EXPECT_EQ(counts.Of(40000), 0u);
}

}  // namespace
}  // namespace stackmason
