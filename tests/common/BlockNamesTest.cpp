#include <gtest/gtest.h>

#include <limits>

#include "common/BlockNames.h"
#include "common/NumberParser.h"

namespace stackmason {
namespace {

TEST(NumberParser, ReadsDecimalHexadecimalAndBinary) {
    EXPECT_EQ(ParseNumber("42"), 42);
    EXPECT_EQ(ParseNumber(" \t-12abc"), -12);
    EXPECT_EQ(ParseNumber("+7"), 7);
    EXPECT_EQ(ParseNumber("$1F"), 31);
    EXPECT_EQ(ParseNumber("$ff"), 255);
    EXPECT_EQ(ParseNumber("-$10"), -16);
    EXPECT_EQ(ParseNumber("%101"), 5);
    EXPECT_EQ(ParseNumber("%102"), 2);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("- 5"), 0);
}

TEST(NumberParser, SaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(ParseNumber("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ParseNumber("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ParseNumber("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberParser, DecimalOnlyIgnoresPrefixes) {
    EXPECT_EQ(ParseDecimal("$1F"), 0);
    EXPECT_EQ(ParseDecimal("%1"), 0);
    EXPECT_EQ(ParseDecimal(" -3;x"), -3);
}

TEST(BlockNames, BlockIdIsTheNumberBeforePng) {
    EXPECT_EQ(BlockIdFromEntryName("stone_001.png"), 1);
    EXPECT_EQ(BlockIdFromEntryName("t.glass_020.png"), 20);
    EXPECT_EQ(BlockIdFromEntryName("t.water_009.png"), 9);
    EXPECT_EQ(BlockIdFromEntryName("wool_light_gray_035.png"), 35);
    EXPECT_EQ(BlockIdFromEntryName("grass.png"), 0);
    EXPECT_EQ(BlockIdFromEntryName("x12.png"), 0);
    EXPECT_EQ(BlockIdFromEntryName("155.png"), 155);
    EXPECT_EQ(BlockIdFromEntryName(""), 0);
}

TEST(BlockNames, BlockIdLooksOnlyAtTheLastPathComponent) {
    EXPECT_EQ(BlockIdFromEntryName("blocks/bricks_045.png"), 45);
    EXPECT_EQ(BlockIdFromEntryName("blocks\\bricks_045.png"), 45);
    EXPECT_EQ(BlockIdFromEntryName("123/ab.png"), 0);
}

TEST(BlockNames, PngRemovalIsCaseSensitive) {
    EXPECT_EQ(ItemTextFromEntryName("t.glass_020.png"), "t.glass_020");
    EXPECT_EQ(ItemTextFromEntryName("a.png.png"), "a");
    EXPECT_EQ(ItemTextFromEntryName("a.pngb.png"), "ab");
    EXPECT_EQ(ItemTextFromEntryName("stone_001.PNG"), "stone_001.PNG");
    EXPECT_EQ(BlockIdFromEntryName("stone_001.PNG"), 1);
    // Only the last seven characters count, with ".png" removed from them.
    EXPECT_EQ(BlockIdFromEntryName("x_0.png45"), 45);
    EXPECT_EQ(BlockIdFromEntryName("ab_1234.png"), 234);
    EXPECT_EQ(BlockIdFromEntryName("stone_12.png"), 0);
}

TEST(BlockNames, OnlyALowerCaseTPrefixMeansBlended) {
    EXPECT_TRUE(IsBlendedEntryName("t.glass_020.png"));
    EXPECT_FALSE(IsBlendedEntryName("T.glass_020.png"));
    EXPECT_FALSE(IsBlendedEntryName("blocks/t.glass_020.png"));
    EXPECT_FALSE(IsBlendedEntryName("t"));
}

}  // namespace
}  // namespace stackmason
