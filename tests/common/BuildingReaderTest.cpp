#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "common/BuildingReader.h"

namespace stackmason {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The small example building: 3 x 2 x 2, layer 1 row 1 holds 1, 0, 2 and layer 2 row 1
// holds 0, 3, 0; the other cells are air.
const std::string kExample =
    "3x2x2;stackmason.zip\r\n------\r\nlayer 1\r\n0/1\r\n///\r\n\r\nlayer 2\r\n/2/\r\n///\r\n\r\n";

Building ExampleGrid() {
    Building grid(3, 2, 2);
    grid.At(1, 1, 1) = 1;
    grid.At(3, 1, 1) = 2;
    grid.At(2, 1, 2) = 3;
    return grid;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Reads layers into a grid of the given sizes, as the editor does after its size fields
// have settled the sizes.
Building ReadWithSizes(const std::string& text, int width, int length, int height) {
    LineReader lines(Bytes(text));
    ReadHeader(lines);
    Building grid(width, length, height);
    ReadLayers(lines, grid);
    return grid;
}

TEST(LineReader, EndsLinesAtCrLfCrLfAndNul) {
    const std::string text = std::string("a\r\nb\nc\rd") + '\0' + "e\n\rf";
    LineReader lines(Bytes(text));
    for (const char* expected : {"a", "b", "c", "d", "e", "", "f"})
        EXPECT_EQ(lines.NextLine(), expected);
    EXPECT_TRUE(lines.AtEnd());
    EXPECT_EQ(lines.NextLine(), "");
    EXPECT_EQ(lines.NextLine(), "");
}

TEST(LineReader, FindsLineEndsInsideLongRuns) {
    std::string text(1000, 'z');
    text[517] = '\n';
    text[530] = '\0';
    LineReader lines(Bytes(text));
    EXPECT_EQ(lines.NextLine().size(), 517u);
    EXPECT_EQ(lines.NextLine().size(), 12u);
    EXPECT_EQ(lines.NextLine().size(), 469u);
    EXPECT_TRUE(lines.AtEnd());
}

// Lines of random lengths split by every kind of line end, some of them the expected
// length and some near it, with line-end bytes anywhere in them: the quick path gives the
// lines NextLine gives.
TEST(LineReader, ExpectingALengthGivesTheSameLines) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        const std::size_t expected = std::uniform_int_distribution<std::size_t>(0, 40)(random);
        std::string text;
        while (text.size() < 600) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(random);
            const std::size_t length = kind < 5 ? expected : expected + 1 - std::min<std::size_t>(expected + 1, kind % 3);
            for (std::size_t i = 0; i < length; ++i)
                text += static_cast<char>(std::uniform_int_distribution<int>(kind == 9 ? 0 : 14, 255)(random));
            text += kind % 4 == 0 ? "\r\n" : kind % 4 == 1 ? "\n" : kind % 4 == 2 ? "\r" : std::string(1, '\0');
        }
        text.resize(text.size() - std::uniform_int_distribution<std::size_t>(0, 3)(random));
        LineReader plain(Bytes(text));
        LineReader quick(Bytes(text));
        while (!plain.AtEnd()) {
            ASSERT_EQ(quick.NextLineExpecting(expected), plain.NextLine()) << "round " << round;
            ASSERT_EQ(quick.AtEnd(), plain.AtEnd());
        }
        EXPECT_TRUE(quick.AtEnd());
        EXPECT_EQ(quick.NextLineExpecting(expected), "");
    }
}

// A source that hands out the text in pieces of random sizes up to `most` bytes, as a
// file read a block at a time would, but with every boundary a line can meet.
ByteSource PiecesOf(const std::string& text, std::size_t most, unsigned seed) {
    return [&text, most, at = std::size_t{0}, random = std::mt19937(seed)](std::uint8_t* out,
                                                                          std::size_t size) mutable {
        const std::size_t piece = std::min({size, text.size() - at,
                                            std::uniform_int_distribution<std::size_t>(1, most)(random)});
        std::copy_n(text.data() + at, piece, out);
        at += piece;
        return piece;
    };
}

// Texts as above read from memory and read in blocks of 1 to 16 bytes, from pieces that
// split CR LF pairs, rows and lines longer than a block anywhere: every line and every end
// is the same, by either way of asking for the next line.
TEST(LineReader, ReadingInBlocksGivesTheSameLines) {
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        const std::size_t expected = std::uniform_int_distribution<std::size_t>(0, 40)(random);
        std::string text;
        while (text.size() < 300) {
            const int kind = std::uniform_int_distribution<int>(0, 9)(random);
            const std::size_t length = kind < 5 ? expected : std::uniform_int_distribution<std::size_t>(0, 60)(random);
            for (std::size_t i = 0; i < length; ++i)
                text += static_cast<char>(std::uniform_int_distribution<int>(kind == 9 ? 0 : 14, 255)(random));
            text += kind % 4 == 0 ? "\r\n" : kind % 4 == 1 ? "\n" : kind % 4 == 2 ? "\r" : std::string(1, '\0');
        }
        text.resize(text.size() - std::uniform_int_distribution<std::size_t>(0, 3)(random));
        const std::size_t block = std::uniform_int_distribution<std::size_t>(1, 16)(random);
        LineReader whole(Bytes(text));
        LineReader blocks(PiecesOf(text, block, static_cast<unsigned>(round)), block);
        while (!whole.AtEnd()) {
            const bool quick = random() % 2 == 0;
            const std::string expectedLine(quick ? whole.NextLineExpecting(expected) : whole.NextLine());
            ASSERT_EQ(quick ? blocks.NextLineExpecting(expected) : blocks.NextLine(), expectedLine)
                << "round " << round << ", blocks of " << block;
            ASSERT_EQ(blocks.AtEnd(), whole.AtEnd()) << "round " << round;
        }
        EXPECT_TRUE(blocks.AtEnd());
        EXPECT_EQ(blocks.NextLine(), "");
    }
}

TEST(BuildingReader, ReadingInBlocksGivesTheSameBuilding) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        const int width = std::uniform_int_distribution<int>(0, 20)(random);
        const int length = std::uniform_int_distribution<int>(0, 6)(random);
        const int height = std::uniform_int_distribution<int>(0, 5)(random);
        const char* ends[] = {"\r\n", "\n", "\r"};
        const std::string end = ends[random() % 3];
        std::string text = std::to_string(width) + "x" + std::to_string(length) + "x" + std::to_string(height) +
                           ";stackmason.zip" + end + "------" + end;
        for (int h = 1; h <= height; ++h) {
            text += "layer " + std::to_string(h) + end;
            // Now and then a row one short, which ends the layer early.
            for (int y = 1; y <= length; ++y) {
                const int cells = random() % 10 == 0 ? std::max(width - 1, 0) : width;
                for (int x = 0; x < cells; ++x)
                    text += static_cast<char>('/' + random() % 81);
                text += end;
            }
            text += end;
        }
        const BuildingFile whole = ReadBuildingFile(Bytes(text));
        const std::size_t block = std::uniform_int_distribution<std::size_t>(1, 40)(random);
        LineReader lines(PiecesOf(text, block, static_cast<unsigned>(round)), block);
        const BuildingFile blocks = ReadBuildingFile(lines);
        EXPECT_EQ(blocks.header.packName, whole.header.packName) << "round " << round;
        EXPECT_TRUE(blocks.grid == whole.grid) << "round " << round << ", blocks of " << block;
    }
}

TEST(BuildingHeader, TakesSizesAndPackName) {
    const BuildingHeader header = ParseHeaderLine("29x20x18;stackmason.zip");
    EXPECT_EQ(header.width, 29);
    EXPECT_EQ(header.length, 20);
    EXPECT_EQ(header.height, 18);
    EXPECT_EQ(header.packName, "stackmason.zip");
}

TEST(BuildingHeader, PackNameRules) {
    EXPECT_EQ(ParseHeaderLine("3x2x2").packName, "3x2x2");
    EXPECT_EQ(ParseHeaderLine("3x2x2;").packName, "");
    EXPECT_EQ(ParseHeaderLine("3x2x2;a;b.zip").packName, "a;b.zip");
    const BuildingHeader noSemicolon = ParseHeaderLine("3x2x2");
    EXPECT_EQ(noSemicolon.height, 2);
}

TEST(BuildingHeader, SizeFieldsAreLeadingDecimalNumbers) {
    const BuildingHeader spaced = ParseHeaderLine(" \t+4x-2x 7;box.zip");
    EXPECT_EQ(spaced.width, 4);
    EXPECT_EQ(spaced.length, -2);
    EXPECT_EQ(spaced.height, 7);

    const BuildingHeader broken = ParseHeaderLine("ax$10x");
    EXPECT_EQ(broken.width, 0);
    EXPECT_EQ(broken.length, 0);
    EXPECT_EQ(broken.height, 0);

    const BuildingHeader missing = ParseHeaderLine("12x5");
    EXPECT_EQ(missing.width, 12);
    EXPECT_EQ(missing.length, 5);
    EXPECT_EQ(missing.height, 0);

    // A pack name holding "x" does not disturb the sizes before it.
    EXPECT_EQ(ParseHeaderLine("3x2x2;xx.zip").height, 2);
}

TEST(BuildingReader, ReadsTheExample) {
    const BuildingFile file = ReadBuildingFile(Bytes(kExample));
    EXPECT_EQ(kExample.size(), 72u);
    EXPECT_EQ(file.header.packName, "stackmason.zip");
    EXPECT_EQ(file.grid, ExampleGrid());
}

TEST(BuildingReader, AnyLineEndGivesTheSameBuilding) {
    EXPECT_EQ(ReadBuildingFile(Bytes(Replace(kExample, "\r\n", "\n"))).grid, ExampleGrid());
    EXPECT_EQ(ReadBuildingFile(Bytes(Replace(kExample, "\r\n", "\r"))).grid, ExampleGrid());
    EXPECT_EQ(ReadBuildingFile(Bytes(Replace(kExample, "\r\n", std::string(1, '\0')))).grid, ExampleGrid());
}

TEST(BuildingReader, TitlesSeparatorAndTrailingContentAreNotRead) {
    std::string text = Replace(kExample, "layer 1", "layer 7");
    text = Replace(text, "------", "anything");
    text += "layer 3\r\n222\r\n";
    EXPECT_EQ(ReadBuildingFile(Bytes(text)).grid, ExampleGrid());
}

TEST(BuildingReader, CellBytesAreStoredUnchecked) {
    const std::string text = "3x1x1;p\r\n------\r\nlayer 1\r\n#\xFF/\r\n\r\n";
    const Building grid = ReadBuildingFile(Bytes(text)).grid;
    EXPECT_EQ(grid.At(1, 1, 1), 35 - 47);
    EXPECT_EQ(grid.At(2, 1, 1), 208);
    EXPECT_EQ(grid.At(3, 1, 1), 0);
}

TEST(BuildingReader, ShortFilesLeaveTheRestAir) {
    EXPECT_EQ(ReadBuildingFile(Bytes("")).grid, Building(0, 0, 0));
    EXPECT_EQ(ReadBuildingFile(Bytes("3x2x2;p")).grid, Building(3, 2, 2));
    Building firstRowOnly(3, 2, 2);
    firstRowOnly.At(1, 1, 1) = 1;
    firstRowOnly.At(3, 1, 1) = 2;
    EXPECT_EQ(ReadBuildingFile(Bytes("3x2x2;p\r\n------\r\nlayer 1\r\n0/1")).grid, firstRowOnly);
}

TEST(BuildingReader, RowOfWrongLengthShiftsTheRestIntoLaterLayers) {
    // Layer 1's second row is one byte short: it ends layer 1, the empty line after it is
    // taken as layer 2's title, and the line "layer 2" ends layer 2 at once. Layer 3 then
    // takes "111" as its title and "222" as its first row.
    const std::string text =
        "3x2x3;p\r\n------\r\nlayer 1\r\n000\r\n00\r\n\r\nlayer 2\r\n111\r\n222\r\n\r\n"
        "layer 3\r\n333\r\n333\r\n\r\n";
    const Building grid = ReadBuildingFile(Bytes(text)).grid;
    for (int x = 1; x <= 3; ++x) {
        EXPECT_EQ(grid.At(x, 1, 1), 1);
        EXPECT_EQ(grid.At(x, 2, 1), 0);
        EXPECT_EQ(grid.At(x, 1, 2), 0);
        EXPECT_EQ(grid.At(x, 2, 2), 0);
        EXPECT_EQ(grid.At(x, 1, 3), 3);
        EXPECT_EQ(grid.At(x, 2, 3), 0);
    }
}

TEST(BuildingReader, RowsBeyondTheLengthAreDroppedUpToTheLayerEnd) {
    const std::string text = "2x1x2;p\r\n------\r\nlayer 1\r\n00\r\n11\r\n22\r\n\r\nlayer 2\r\n33\r\n\r\n";
    const Building grid = ReadBuildingFile(Bytes(text)).grid;
    EXPECT_EQ(grid.At(1, 1, 1), 1);
    EXPECT_EQ(grid.At(2, 1, 1), 1);
    EXPECT_EQ(grid.At(1, 1, 2), 4);
    EXPECT_EQ(grid.At(2, 1, 2), 4);
}

TEST(BuildingReader, ZeroWidthEndsAtTheEndOfTheFile) {
    const BuildingFile file = ReadBuildingFile(Bytes("0x5x256;p\r\n------\r\nlayer 1\r\n\r\n\r\n"));
    EXPECT_EQ(file.grid, Building(0, 5, 256));
}

TEST(BuildingReader, WidthBeyondTheGridReadsAsAir) {
    // A 600-wide header read into a 30-wide grid: every row of 600 bytes ends its layer.
    const std::string text = "600x2x2;p.zip\r\n------\r\nlayer 1\r\n" + std::string(600, '0') + "\r\n" +
                             std::string(600, '0') + "\r\n\r\n";
    EXPECT_EQ(ReadWithSizes(text, 30, 2, 2), Building(30, 2, 2));
}

TEST(BuildingReader, HeaderSizesAreClampedIntoTheBuildingLimits) {
    const BuildingFile huge = ReadBuildingFile(Bytes("2000000000x-5x999999;p\r\n"));
    EXPECT_EQ(huge.header.width, 2000000000);
    EXPECT_EQ(huge.grid.Width(), 512);
    EXPECT_EQ(huge.grid.Length(), 0);
    EXPECT_EQ(huge.grid.Height(), 256);
}

// Read with the sizes as they stand, the grid has the header's shape whenever its cells,
// index-0 planes included, are no more than those of a 512 x 512 x 256 building
// (513 x 513 x 257); beyond that each size is clamped into the building limits.
TEST(BuildingReader, SizesAsTheyStandWithinTheCellsOfTheLargestBuilding) {
    struct Case {
        const char* header;
        int width, length, height;
    };
    for (const Case& c : {Case{"600x2x1;p", 600, 2, 1}, Case{"100000x1x1;p", 100000, 1, 1},
                          Case{"3x1000x20;p", 3, 1000, 20}, Case{"2x-7x3;p", 2, 0, 3},
                          Case{"512x512x0;p", 512, 512, 0},
                          // 513 x 1001 x 201 cells is more than 513 x 513 x 257.
                          Case{"512x1000x200;p", 512, 512, 200}, Case{"100000x1000x1;p", 512, 512, 1},
                          Case{"2000000000x2000000000x2000000000;p", 512, 512, 256}}) {
        const Building grid = GridAsItStands(ParseHeaderLine(c.header));
        EXPECT_EQ(grid.Width(), c.width) << c.header;
        EXPECT_EQ(grid.Length(), c.length) << c.header;
        EXPECT_EQ(grid.Height(), c.height) << c.header;
    }
}

// A header of 600 x 2 x 1, such as one written by hand: its 600-byte rows are read.
TEST(BuildingReader, ARowLongerThanABuildingIsReadAsItStands) {
    std::string first, second;
    for (int x = 0; x < 600; ++x) {
        first += static_cast<char>('/' + x % 7);
        second += static_cast<char>('/' + (x * 5) % 11);
    }
    const std::string text = "600x2x1;p.zip\r\n------\r\nlayer 1\r\n" + first + "\r\n" + second + "\r\n\r\n";
    LineReader lines(Bytes(text));
    const BuildingFile file = ReadBuildingFileAsItStands(lines);
    ASSERT_EQ(file.grid.Width(), 600);
    for (int x = 1; x <= 600; ++x) {
        ASSERT_EQ(file.grid.At(x, 1, 1), (x - 1) % 7) << x;
        ASSERT_EQ(file.grid.At(x, 2, 1), ((x - 1) * 5) % 11) << x;
    }
    // The editor's reading, with the sizes its fields allow, is unchanged: all air.
    EXPECT_EQ(ReadWithSizes(text, 30, 2, 1), Building(30, 2, 1));
}

// Reading ends after layer H, whatever follows: of a stream far longer than the building
// only the first block is pulled.
TEST(BuildingReader, ReadingEndsAfterTheLastLayer) {
    const std::string building = kExample;
    const std::uint64_t streamBytes = 1ull << 32;  // a 4 GB stream, made up as it is pulled
    std::uint64_t pulled = 0;
    LineReader lines(
        [&](std::uint8_t* out, std::size_t size) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(size, streamBytes - pulled));
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint64_t at = pulled + i;
                out[i] = at < building.size() ? static_cast<std::uint8_t>(building[at]) : (at % 100 == 99 ? '\n' : '0');
            }
            pulled += count;
            return count;
        },
        4096);
    const BuildingFile file = ReadBuildingFileAsItStands(lines);
    EXPECT_EQ(file.grid, ExampleGrid());
    EXPECT_LE(pulled, 4096u);
}

TEST(BuildingReader, NeverWritesTheIndexZeroPlanes) {
    Building grid = ReadWithSizes(Replace(kExample, "///", "000"), 3, 2, 2);
    for (int x = 0; x <= 3; ++x)
        for (int y = 0; y <= 2; ++y)
            for (int h = 0; h <= 2; ++h)
                if (x == 0 || y == 0 || h == 0) {
                    EXPECT_EQ(grid.At(x, y, h), 0) << x << "," << y << "," << h;
                }
    EXPECT_EQ(grid.At(2, 2, 2), 1);
}

}  // namespace
}  // namespace stackmason
