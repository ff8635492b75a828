#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <random>
#include <stdexcept>
#include <tuple>

#include "common/Building.h"

namespace stackmason {
namespace {

// The plain model of a building the class is checked against: a code per (x, y, h), air
// where none is noted.
struct Model {
    int width = 0;
    int length = 0;
    int height = 0;
    std::map<std::tuple<int, int, int>, BlockCode> codes;

    BlockCode Get(int x, int y, int h) const {
        const auto found = codes.find({x, y, h});
        return found == codes.end() ? 0 : found->second;
    }
    void Put(int x, int y, int h, BlockCode code) { codes[{x, y, h}] = code; }
};

void ExpectSame(const Building& building, const Model& model, const char* step) {
    ASSERT_EQ(building.Width(), model.width) << step;
    ASSERT_EQ(building.Length(), model.length) << step;
    ASSERT_EQ(building.Height(), model.height) << step;
    for (int h = 0; h <= model.height; ++h)
        for (int y = 0; y <= model.length; ++y)
            for (int x = 0; x <= model.width; ++x)
                ASSERT_EQ(building.At(x, y, h), model.Get(x, y, h)) << step << " at " << x << ", " << y << ", " << h;
}

// A building of random sizes whose every cell, the index-0 planes included, holds a random
// code from the whole range a cell keeps.
std::pair<Building, Model> RandomBuilding(std::mt19937& random, int width, int length, int height) {
    std::uniform_int_distribution<int> code(-47, 4200);
    std::bernoulli_distribution air(0.4);
    Building building(width, length, height);
    Model model{building.Width(), building.Length(), building.Height(), {}};
    for (int h = 0; h <= model.height; ++h)
        for (int y = 0; y <= model.length; ++y)
            for (int x = 0; x <= model.width; ++x) {
                const BlockCode value = air(random) ? 0 : code(random);
                building.At(x, y, h) = value;
                model.Put(x, y, h, value);
            }
    return {std::move(building), model};
}

std::pair<Building, Model> RandomBuilding(std::mt19937& random) {
    std::uniform_int_distribution<int> size(1, 9);
    return RandomBuilding(random, size(random), size(random), size(random));
}

TEST(BuildingTest, StoresTheCellsLayerByLayerWithTheIndexZeroPlanes) {
    Building building(3, 2, 4);
    EXPECT_EQ(building.CellCount(), 4u * 3u * 5u);
    EXPECT_EQ(building.Index(0, 0, 0), 0u);
    EXPECT_EQ(building.Index(1, 0, 0), 1u);
    EXPECT_EQ(building.Index(0, 1, 0), 4u);
    EXPECT_EQ(building.Index(0, 0, 1), 12u);
    building.At(2, 1, 3) = 208;
    EXPECT_EQ(building.Row(1, 3)[2], 208);
    EXPECT_EQ(building.Layer(3)[4 + 2], 208);
    EXPECT_EQ(Building(-2, 1, 1).Width(), 0);
    EXPECT_EQ(Building().CellCount(), 1u);
}

TEST(BuildingTest, NewCellsAreAirAtEverySize) {
    // Each size twice, the first building filled before it goes: a building of the same
    // size may be given the memory of the one before.
    for (const auto& [x, y, h] : {std::tuple{1, 1, 1}, std::tuple{29, 20, 18}, std::tuple{512, 512, 8},
                                  std::tuple{512, 512, 8}, std::tuple{300, 300, 10}, std::tuple{300, 300, 10}}) {
        Building building(x, y, h);
        StoredCode* cells = building.Layer(0);
        for (std::size_t i = 0; i < building.CellCount(); ++i)
            ASSERT_EQ(cells[i], 0) << x << " x " << y << " x " << h;
        std::fill_n(cells, building.CellCount(), StoredCode{7});
    }
}

TEST(BuildingTest, CheckedAccessRefusesCellsOutsideAndCodesThatDoNotFit) {
    Building building(2, 3, 4);
    EXPECT_THROW(building.At(3, 0, 0), std::out_of_range);
    EXPECT_THROW(building.At(0, -1, 0), std::out_of_range);
    EXPECT_THROW(std::as_const(building).At(0, 0, 5), std::out_of_range);
    EXPECT_THROW(building.Set(1, 1, 1, 40000), std::out_of_range);
    EXPECT_THROW(building.At(1, 1, 1) = -40000, std::out_of_range);
    building.Set(2, 3, 4, -47);
    EXPECT_EQ(building.At(2, 3, 4), -47);
    EXPECT_EQ(building, [] {
        Building other(2, 3, 4);
        other.SetCell(2, 3, 4, -47);
        return other;
    }());
}

// Every whole-plane operation on many random buildings, against the plain model.
TEST(BuildingTest, PlaneOperationsMatchTheCellByCellModel) {
    std::mt19937 random(13);
    for (int round = 0; round < 200; ++round) {
        auto [original, model] = RandomBuilding(random);
        const int width = model.width;
        const int length = model.length;
        const int height = model.height;
        std::uniform_int_distribution<int> layerOf(1, height);
        std::uniform_int_distribution<int> sliceOf(1, width);
        const int a = layerOf(random);
        const int b = layerOf(random);

        {
            Building building = original;
            Model expected = model;
            building.ClearLayer(a);
            building.CopyLayer(b, 0);
            building.SwapLayers(a, b);
            for (int y = 0; y <= length; ++y)
                for (int x = 0; x <= width; ++x) {
                    // With a == b the clear has emptied layer b before it is copied.
                    const BlockCode atB = a == b ? 0 : model.Get(x, y, b);
                    expected.Put(x, y, 0, atB);
                    expected.Put(x, y, b, 0);
                    expected.Put(x, y, a, atB);
                }
            ExpectSame(building, expected, "clear, copy and swap layers");
        }
        {
            Building building = original;
            Model expected = model;
            building.MergeLayer(a, b);
            for (int y = 1; y <= length; ++y)
                for (int x = 1; x <= width; ++x)
                    if (model.Get(x, y, a) != 0)
                        expected.Put(x, y, b, model.Get(x, y, a));
            ExpectSame(building, expected, "merge layer");
        }
        {
            Building building = original;
            Model expected = model;
            const int from = sliceOf(random);
            const int to = sliceOf(random);
            building.MergeSlice(from, to);
            building.ClearSlice(from == to ? 0 : from);
            for (int h = 1; h <= height; ++h)
                for (int y = 1; y <= length; ++y)
                    if (model.Get(from, y, h) != 0)
                        expected.Put(to, y, h, model.Get(from, y, h));
            for (int h = 0; h <= height; ++h)
                for (int y = 0; y <= length; ++y)
                    expected.Put(from == to ? 0 : from, y, h, 0);
            ExpectSame(building, expected, "merge and clear slices");
        }
        {
            Building building = original;
            building.Transpose();
            Model expected{length, width, height, {}};
            for (auto [cell, code] : model.codes)
                expected.Put(std::get<1>(cell), std::get<0>(cell), std::get<2>(cell), code);
            ExpectSame(building, expected, "transpose");
        }
        {
            Building building = original;
            building.TurnLayers();
            Model expected = model;
            const int cx = width / 2 + 1;
            const int cy = length / 2 + 1;
            for (int h = 1; h <= height; ++h)
                for (int b2 = 1; b2 <= length; ++b2)
                    for (int a2 = 1; a2 <= width; ++a2) {
                        const int x = cx + (b2 - cy);
                        const int y = cy - (a2 - cx);
                        const bool inside = x >= 1 && x <= width && y >= 1 && y <= length;
                        expected.Put(a2, b2, h, inside ? model.Get(x, y, h) : 0);
                    }
            ExpectSame(building, expected, "turn layers");
        }
        {
            const Building inserted = original.WithLayerInserted(a);
            Model expected{width, length, height + 1, {}};
            for (int h = 0; h <= height + 1; ++h)
                for (int y = 0; y <= length; ++y)
                    for (int x = 0; x <= width; ++x) {
                        const bool frame = x == 0 || y == 0;
                        const int source = frame ? h : h <= a ? h : h == a + 1 ? -1 : h - 1;
                        expected.Put(x, y, h, source >= 0 && source <= height ? model.Get(x, y, source) : 0);
                    }
            ExpectSame(inserted, expected, "insert layer");
            ExpectSame(original, model, "the building inserted into");
        }
        if (height > 1) {
            const Building removed = original.WithLayerRemoved(a);
            Model expected{width, length, height - 1, {}};
            for (int h = 0; h <= height - 1; ++h)
                for (int y = 0; y <= length; ++y)
                    for (int x = 0; x <= width; ++x) {
                        const bool frame = x == 0 || y == 0;
                        expected.Put(x, y, h, model.Get(x, y, frame || h < a ? h : h + 1));
                    }
            ExpectSame(removed, expected, "remove layer");
        }
    }
}

TEST(BuildingTest, FourTurnsOfAnOddSquareAndTwoTransposesRestoreIt) {
    std::mt19937 random(7);
    auto [building, model] = RandomBuilding(random);
    Building square(5, 5, 3);
    for (int h = 1; h <= 3; ++h)
        for (int y = 1; y <= 5; ++y)
            for (int x = 1; x <= 5; ++x)
                square.At(x, y, h) = x * 10 + y + h * 100;
    const Building before = square;
    for (int turn = 0; turn < 4; ++turn)
        square.TurnLayers();
    EXPECT_EQ(square, before);
    building.Transpose();
    building.Transpose();
    ExpectSame(building, model, "two transposes");
}

// Layers wide enough for the transpose's blocks of 8 x 8 and 32 x 32 cells, square ones
// (turned where they lie) and oblong ones (turned into the free layer beside them), several
// times in a row and through a copy.
TEST(BuildingTest, TransposesOfLargeLayersMatchTheModel) {
    std::mt19937 random(5);
    for (const auto& [x, y, h] : {std::tuple{47, 47, 2}, std::tuple{70, 23, 3}, std::tuple{8, 16, 1}}) {
        auto [building, model] = RandomBuilding(random, x, y, h);
        for (int turn = 1; turn <= 3; ++turn) {
            building.Transpose();
            Model expected{model.length, model.width, model.height, {}};
            for (auto [cell, code] : model.codes)
                expected.Put(std::get<1>(cell), std::get<0>(cell), std::get<2>(cell), code);
            model = expected;
            ExpectSame(building, model, "transpose");
            if (turn == 1)
                building = Building(building);
        }
    }
}

// Turning back restores every cell a turn kept in its layer and leaves the cells the turn lost
// (and only those) as air; the index-0 planes and the ground stay. Sizes odd and even, square
// and oblong, narrower and wider than the squares the turn back works in.
TEST(BuildingTest, TurningBackRestoresEveryCellTheTurnKept) {
    std::mt19937 random(11);
    for (const auto& [x, y, h] : {std::tuple{1, 1, 1}, std::tuple{5, 5, 2}, std::tuple{6, 4, 3}, std::tuple{4, 9, 2},
                                  std::tuple{47, 70, 2}, std::tuple{70, 33, 2}, std::tuple{64, 64, 1}}) {
        auto [building, model] = RandomBuilding(random, x, y, h);
        std::map<std::tuple<int, int, int>, bool> lost;
        building.ForEachCellTurnedOut([&](int cx, int cy, int ch) { lost[{cx, cy, ch}] = true; });
        Building turned = building;
        turned.TurnLayers();
        turned.TurnLayersBack();
        for (int ch = 0; ch <= h; ++ch)
            for (int cy = 0; cy <= y; ++cy)
                for (int cx = 0; cx <= x; ++cx) {
                    const bool gone = lost.count({cx, cy, ch}) > 0;
                    ASSERT_EQ(turned.At(cx, cy, ch), gone ? 0 : building.At(cx, cy, ch))
                        << x << "x" << y << "x" << h << " at " << cx << ", " << cy << ", " << ch;
                }
        // The lost cells are exactly those the turn moved out of the layer: a cell of layers
        // 1..H, x, y >= 1, whose target lies outside.
        for (const auto& [cell, flag] : lost) {
            const auto [cx, cy, ch] = cell;
            const int targetX = x / 2 + 1 - (cy - (y / 2 + 1)), targetY = y / 2 + 1 + (cx - (x / 2 + 1));
            EXPECT_TRUE(ch >= 1 && cx >= 1 && cy >= 1 && (targetX < 1 || targetX > x || targetY < 1 || targetY > y));
        }
    }
}

TEST(BuildingTest, CopiesAndMovesKeepTheCells) {
    Building large(512, 512, 4);
    large.At(512, 512, 4) = 77;
    const Building copy = large;
    EXPECT_EQ(copy, large);
    Building moved = std::move(large);
    EXPECT_EQ(moved.At(512, 512, 4), 77);
    moved = Building(2, 2, 2);
    EXPECT_EQ(moved.CellCount(), 27u);
    EXPECT_NE(moved, copy);
}

}  // namespace
}  // namespace stackmason
