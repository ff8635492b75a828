#include <gtest/gtest.h>

#include <new>
#include <random>
#include <utility>

#include "common/Constants.h"
#include "common/PackedBuilding.h"
#include "tests/editor/support/AllocationFaults.h"

namespace stackmason {
namespace {

// Every cell, the index-0 planes included, a random code of [lowest, highest], air with
// the odds given.
Building RandomCells(std::mt19937& random, int width, int length, int height, double airOdds, int lowest,
                     int highest) {
    std::uniform_int_distribution<int> code(lowest, highest);
    std::bernoulli_distribution air(airOdds);
    Building building(width, length, height);
    for (int h = 0; h <= height; ++h)
        for (int y = 0; y <= length; ++y)
            for (int x = 0; x <= width; ++x)
                building.SetCell(x, y, h, air(random) ? 0 : code(random));
    return building;
}

// What a builder makes: walls round the edge and a floor every few layers, the rest air.
Building WallsAndFloors(int width, int length, int height) {
    Building building(width, length, height);
    for (int h = 1; h <= height; ++h)
        for (int y = 1; y <= length; ++y)
            for (int x = 1; x <= width; ++x) {
                const bool wall = x == 1 || x == width || y == 1 || y == length;
                if (wall)
                    building.SetCell(x, y, h, 1 + (x + y) % 3);
                else if (h % 6 == 1)
                    building.SetCell(x, y, h, 7);
            }
    return building;
}

// Packs a copy of the building, unpacks it and compares it with the original: the same sizes
// and every cell the same.
void ExpectRoundTrip(const Building& original, const char* what) {
    PackedBuilding packed{Building(original)};
    packed.Pack();
    EXPECT_TRUE(packed.IsPacked()) << what;
    EXPECT_EQ(packed.Width(), original.Width()) << what;
    EXPECT_EQ(packed.Length(), original.Length()) << what;
    EXPECT_EQ(packed.Height(), original.Height()) << what;
    const Building unpacked = std::move(packed).Unpack();
    ASSERT_EQ(unpacked.Width(), original.Width()) << what;
    ASSERT_EQ(unpacked.Length(), original.Length()) << what;
    ASSERT_EQ(unpacked.Height(), original.Height()) << what;
    for (int h = 0; h <= original.Height(); ++h)
        for (int y = 0; y <= original.Length(); ++y)
            for (int x = 0; x <= original.Width(); ++x)
                ASSERT_EQ(unpacked.Cell(x, y, h), original.Cell(x, y, h)) << what << " at " << x << ", " << y << ", " << h;
}

TEST(PackedBuildingTest, UnpacksEveryCellOfSmallAndOddSizes) {
    std::mt19937 random(20);
    ExpectRoundTrip(Building(1, 1, 1), "1 x 1 x 1 of air");
    ExpectRoundTrip(RandomCells(random, 1, 1, 1, 0.0, 1, 3), "1 x 1 x 1 of blocks");
    ExpectRoundTrip(Building(0, 0, 0), "no cells but the corner");
    std::uniform_int_distribution<int> size(1, 40);
    for (int i = 0; i < 20; ++i) {
        const int width = size(random), length = size(random), height = size(random);
        ExpectRoundTrip(RandomCells(random, width, length, height, 0.5, 1, 80), "random blocks");
        ExpectRoundTrip(RandomCells(random, width, length, height, 0.99, -47, 208), "mostly air");
    }
}

TEST(PackedBuildingTest, UnpacksChunksOfEveryForm) {
    std::mt19937 random(21);
    // 100 x 100 x 30 holds several chunks, the last one ragged; between them they take every
    // form: all air, runs of a few codes, many codes (a byte each), negative codes among air
    // (a deflated palette), more codes than a palette holds, and codes up to the largest a
    // cell keeps.
    ExpectRoundTrip(Building(100, 100, 30), "all air");
    ExpectRoundTrip(WallsAndFloors(100, 100, 30), "walls and floors");
    ExpectRoundTrip(RandomCells(random, 100, 100, 30, 0.01, 1, 80), "80 blocks");
    ExpectRoundTrip(RandomCells(random, 100, 100, 30, 0.3, -47, 4200), "thousands of codes");
    ExpectRoundTrip(RandomCells(random, 100, 100, 30, 0.3, -32768, 32767), "every code a cell keeps");
    Building layered = WallsAndFloors(100, 100, 30);
    for (int y = 0; y <= 100; ++y)
        for (int x = 0; x <= 100; ++x)
            layered.SetCell(x, y, 12, static_cast<BlockCode>(random() % 600) - 300);
    ExpectRoundTrip(layered, "one layer of many codes in a mostly-air building");
}

TEST(PackedBuildingTest, LargestBuildingsRoundTripAndMostlyAirCostsLittle) {
    std::mt19937 random(22);
    const Building walls = WallsAndFloors(kMaxGridWidth, kMaxGridLength, kMaxGridHeight);
    ExpectRoundTrip(walls, "largest walls and floors");
    PackedBuilding packed{Building(walls)};
    const std::size_t plainBytes = packed.Bytes();
    packed.Pack();
    // A mostly-air building is a small fraction of its cells' memory.
    EXPECT_LT(packed.Bytes() * 20, plainBytes);

    const Building blocks = RandomCells(random, kMaxGridWidth, kMaxGridLength, kMaxGridHeight, 1.0 / 81, 1, 80);
    ExpectRoundTrip(blocks, "largest of random blocks");
    PackedBuilding packedBlocks{Building(blocks)};
    packedBlocks.Pack();
    // Random blocks keep a byte a cell: half of what the building held.
    EXPECT_LT(packedBlocks.Bytes(), plainBytes * 6 / 10);
}

TEST(PackedBuildingTest, PackingWithoutMemoryKeepsTheBuildingPlain) {
    std::mt19937 random(23);
    const Building original = RandomCells(random, 70, 60, 40, 0.6, 1, 80);
    // Every allocation the packing makes fails in turn; the building is then held plain.
    for (std::size_t n = 1;; ++n) {
        PackedBuilding packed{Building(original)};
        bool fired = false;
        {
            testing::AllocationFault fault(n);
            packed.Pack();
            fired = fault.Fired();
        }
        EXPECT_EQ(packed.IsPacked(), !fired) << "allocation " << n;
        EXPECT_TRUE(std::move(packed).Unpack() == original) << "allocation " << n;
        if (!fired)
            break;
    }
}

TEST(PackedBuildingTest, UnpackingWithoutMemoryLeavesThePackedBuilding) {
    std::mt19937 random(24);
    const Building original = WallsAndFloors(300, 200, 20);
    PackedBuilding packed{Building(original)};
    packed.Pack();
    ASSERT_TRUE(packed.IsPacked());
    for (std::size_t n = 1;; ++n) {
        bool fired = false;
        {
            testing::AllocationFault fault(n);
            try {
                const Building unpacked = std::move(packed).Unpack();
                EXPECT_FALSE(fault.Fired());
                EXPECT_TRUE(unpacked == original);
                return;
            } catch (const std::bad_alloc&) {
                fired = fault.Fired();
            }
        }
        ASSERT_TRUE(fired) << "allocation " << n;
        EXPECT_TRUE(packed.IsPacked()) << "allocation " << n;
    }
}

TEST(PackedBuildingTest, PlainBuildingIsMovedOutWithoutMemory) {
    const Building original = WallsAndFloors(30, 20, 10);
    PackedBuilding held{Building(original)};
    EXPECT_FALSE(held.IsPacked());
    EXPECT_EQ(held.Bytes(), (original.CellCount() + original.LayerCells()) * sizeof(StoredCode));
    const testing::AllocationLimit nothing(0);
    EXPECT_TRUE(std::move(held).Unpack() == original);
}

}  // namespace
}  // namespace stackmason
