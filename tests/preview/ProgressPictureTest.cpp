#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/Image.h"
#include "common/ImageDecoding.h"
#include "preview/app/PixelFont.h"
#include "preview/app/ProgressPicture.h"
#include "tests/support/TestImages.h"

namespace orbitscope {
namespace {

using stackmason::Image;
using stackmason::Rgba;

constexpr Rgba kBackground{35, 36, 56, 255};
constexpr Rgba kInk{255, 200, 0, 255};

// A few glyphs typed again from the font's drawing, 5 x 7 cells each, as the test's own
// reference for what the font must draw.
const std::map<char, std::vector<std::string>>& RetypedGlyphs() {
    static const std::map<char, std::vector<std::string>> glyphs{
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
        {'b', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####."}},
        {'g', {".....", ".....", ".####", "#...#", ".####", "....#", ".###."}},
        {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
        {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
        {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
        {'%', {"##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"}},
        {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
        {'?', {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"}},  // any unknown
    };
    return glyphs;
}

// The reference rendering: each character of text (from RetypedGlyphs, '?' standing for
// an unknown one) 6 * scale pixels right of the one before.
void DrawReference(Image& image, int x, int y, const std::string& characters, int scale, Rgba colour) {
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const auto& rows = RetypedGlyphs().at(characters[i]);
        const int left = x + static_cast<int>(i) * 6 * scale;
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                if (rows[row][column] != '#') continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        const int px = left + column * scale + dx;
                        const int py = y + row * scale + dy;
                        if (px >= 0 && py >= 0 && px < image.Width() && py < image.Height())
                            image.SetPixel(px, py, colour);
                    }
            }
    }
}

Image GlyphAlone(char c) {
    Image image(6, 9, kBackground);
    DrawPixelText(image, 0, 0, std::string(1, c), 1, kInk);
    return image;
}

TEST(GroupedNumberTest, GroupsDigitsByThreesWithASign) {
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1,000"},
        {1234, "1,234"},
        {16416, "16,416"},
        {100000, "100,000"},
        {1234567, "1,234,567"},
        {-1, "-1"},
        {-999, "-999"},
        {-1000, "-1,000"},
        {-16416, "-16,416"},
        {std::numeric_limits<std::int64_t>::max(), "9,223,372,036,854,775,807"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const auto& [n, expected] : cases) EXPECT_EQ(GroupedNumber(n), expected) << n;
}

TEST(GroupedNumberTest, AgreesWithThePlainDigitsAcrossMagnitudes) {
    std::vector<std::int64_t> values;
    // Every power of ten an int64 holds, 10^18 the last: one more step would overflow.
    std::int64_t power = 1;
    for (int exponent = 0; exponent <= 18; ++exponent) {
        for (const std::int64_t n : {power - 1, power, power + 1}) {
            values.push_back(n);
            values.push_back(-n);
        }
        if (exponent < 18)
            power *= 10;
    }
    std::uint64_t state = 12345;
    for (int i = 0; i < 200; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        values.push_back(static_cast<std::int64_t>(state) >> (i % 60));
    }
    for (const std::int64_t n : values) {
        const std::string grouped = GroupedNumber(n);
        std::string digits;
        std::vector<int> groupLengths{0};
        for (const char c : grouped) {
            if (c == ',') {
                groupLengths.push_back(0);
                continue;
            }
            digits.push_back(c);
            if (c != '-') ++groupLengths.back();
        }
        EXPECT_EQ(digits, std::to_string(n)) << grouped;
        EXPECT_GE(groupLengths.front(), 1) << grouped;
        EXPECT_LE(groupLengths.front(), 3) << grouped;
        for (std::size_t i = 1; i < groupLengths.size(); ++i) EXPECT_EQ(groupLengths[i], 3) << grouped;
    }
}

TEST(PixelFontTest, EveryPrintableCharacterHasAGlyphOfItsOwnInsideItsCell) {
    const Image unknown = GlyphAlone('\x01');
    std::map<std::string, char> seen;  // by the glyph's cells as '#' and '.'
    for (int code = 33; code <= 126; ++code) {
        const char c = static_cast<char>(code);
        const Image glyph = GlyphAlone(c);
        bool inked = false;
        std::string cells;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool ink = glyph.Pixel(x, y) == kInk;
                inked = inked || ink;
                cells.push_back(ink ? '#' : '.');
                if (x >= 5 || y >= 7) {
                    EXPECT_FALSE(ink) << "'" << c << "' draws outside its 5 x 7 cell at " << x << "," << y;
                }
            }
        EXPECT_TRUE(inked) << "'" << c << "' draws nothing";
        EXPECT_NE(glyph, unknown) << "'" << c << "' draws as an unknown character";
        const auto [where, added] = seen.emplace(cells, c);
        EXPECT_TRUE(added) << "'" << c << "' draws the same as '" << where->second << "'";
    }
    EXPECT_EQ(GlyphAlone(' '), Image(6, 9, kBackground));
}

TEST(PixelFontTest, DrawsItsGlyphsAtTheirAdvancesAndLeavesThePictureElseAsItWas) {
    for (const int scale : {1, 2, 3}) {
        for (const std::string text : {"Orb 1,2/4", "(%g", "24, 1/2"}) {
            Image drawn = stackmason::test::CoordinateImage(200, 40);
            Image expected = drawn;
            DrawPixelText(drawn, 3, 5, text, scale, kInk);
            DrawReference(expected, 3, 5, text, scale, kInk);
            EXPECT_EQ(drawn, expected) << text << " at scale " << scale;
        }
    }
}

TEST(PixelFontTest, DrawsAnyOtherCharacterAsOneHollowBox) {
    // Control characters, DEL, and one box per UTF-8 sequence of a non-ASCII character.
    const std::vector<std::pair<std::string, std::string>> cases{
        {"\x01", "?"},
        {"\x7f", "?"},
        {"\t", "?"},
        {"\xC3\xA9", "?"},                 // e with an accent
        {"\xE2\x82\xAC", "?"},             // the euro sign
        {"O\xC3\xA9r", "O?r"},
        {"1\xF0\x9F\x99\x82,2", "1?,2"},   // a four-byte sequence
        {"\xA9", "?"},                     // a continuation byte on its own
    };
    for (const auto& [text, reference] : cases) {
        Image drawn(80, 12, kBackground);
        Image expected = drawn;
        DrawPixelText(drawn, 1, 2, text, 1, kInk);
        DrawReference(expected, 1, 2, reference, 1, kInk);
        EXPECT_EQ(drawn, expected) << reference;
        EXPECT_EQ(PixelTextWidth(text, 1), static_cast<int>(reference.size()) * 6) << reference;
    }
}

TEST(PixelFontTest, DrawsWithinItsMeasuredBox) {
    std::string everything;
    for (int code = 32; code <= 126; ++code) everything.push_back(static_cast<char>(code));
    for (const int scale : {1, 2, 3}) {
        const int width = PixelTextWidth(everything, scale);
        const int height = PixelTextHeight(scale);
        EXPECT_EQ(width, 95 * 6 * scale);
        EXPECT_EQ(height, 9 * scale);
        Image image(width + 20, height + 20, kBackground);
        DrawPixelText(image, 10, 10, everything, scale, kInk);
        int inkLeft = INT_MAX, inkRight = -1, inkTop = INT_MAX, inkBottom = -1;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                if (image.Pixel(x, y) == kInk) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                    inkTop = std::min(inkTop, y);
                    inkBottom = std::max(inkBottom, y);
                }
        EXPECT_GE(inkLeft, 10);
        EXPECT_EQ(inkTop, 10);
        EXPECT_EQ(inkRight, 10 + width - scale - 1);  // '~' reaches its cell's right column
        EXPECT_EQ(inkBottom, 10 + 7 * scale - 1);  // glyphs are 7 cells high, the line 9
    }
    EXPECT_EQ(PixelTextWidth("", 3), 0);
    EXPECT_EQ(PixelTextWidth("abc", 0), 0);
    EXPECT_EQ(PixelTextHeight(0), 0);
}

TEST(PixelFontTest, ClipsAtEveryEdgeAsACutOfAnUnclippedDrawing) {
    const std::string text = "Orb 1,2/4\x01";
    constexpr int kWidth = 23, kHeight = 11, kMargin = 80;
    for (const int scale : {1, 2}) {
        for (const int x : {-70, -13, -1, 0, 5, 17, 22, 23, 40}) {
            for (const int y : {-20, -3, 0, 4, 10, 11}) {
                Image wide(kWidth + 2 * kMargin, kHeight + 2 * kMargin, kBackground);
                DrawPixelText(wide, x + kMargin, y + kMargin, text, scale, kInk);
                Image clipped(kWidth, kHeight, kBackground);
                DrawPixelText(clipped, x, y, text, scale, kInk);
                EXPECT_EQ(clipped, stackmason::CutRect(wide, kMargin, kMargin, kWidth, kHeight))
                    << "at " << x << "," << y << " scale " << scale;
            }
        }
    }
    // Far away, with arithmetic that would overflow int, nothing is drawn.
    Image far(8, 8, kBackground);
    for (const int x : {INT_MIN, INT_MIN + 5, INT_MAX - 5, INT_MAX})
        for (const int y : {INT_MIN, 0, INT_MAX - 5}) DrawPixelText(far, x, y, "1,234 / 16,416", 1000, kInk);
    EXPECT_EQ(far, Image(8, 8, kBackground));
}

// The picture's rows that hold anything but the background, as runs of adjacent rows from
// top to bottom, with the bounding box of what they hold.
struct RowRun {
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    int Height() const { return bottom - top + 1; }
};

std::vector<RowRun> RunsOfRows(const Image& image) {
    std::vector<RowRun> runs;
    bool inRun = false;
    for (int y = 0; y < image.Height(); ++y) {
        bool any = false;
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) == kBackground) continue;
            if (!any && !inRun) runs.emplace_back();
            any = true;
            RowRun& run = runs.back();
            run.top = std::min(run.top, y);
            run.bottom = y;
            run.left = std::min(run.left, x);
            run.right = std::max(run.right, x);
        }
        inRun = any;
    }
    return runs;
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, count = 0;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

// Where two pictures of one size differ.
Box Differences(const Image& a, const Image& b) {
    Box box;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

const std::string kBuildingText = "Building chunks 1,234 / 16,416";

TEST(ProgressPictureTest, IsOpaqueWithABarOfSixTenthsAcrossTheMiddle) {
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1024, 768}, {640, 480}, {333, 201}}) {
        const Image picture = DrawProgressPicture(width, height, {kBuildingText, 0.3});
        ASSERT_EQ(picture.Width(), width);
        ASSERT_EQ(picture.Height(), height);
        for (const Rgba& pixel : picture.Pixels()) ASSERT_EQ(pixel.a, 255);
        EXPECT_EQ(picture.Pixel(0, 0), kBackground);
        EXPECT_EQ(picture.Pixel(width - 1, height - 1), kBackground);

        const std::vector<RowRun> runs = RunsOfRows(picture);
        ASSERT_EQ(runs.size(), 3u) << "the name, the text and the bar, apart";
        const RowRun& bar = runs[2];
        EXPECT_EQ(bar.Height(), 24) << width;
        EXPECT_NEAR(bar.right - bar.left + 1, 0.6 * width, 2.0) << width;
        EXPECT_NEAR(bar.left, width - 1 - bar.right, 1) << width;
        EXPECT_NEAR(bar.top, height - 1 - bar.bottom, 1) << width;
    }
}

TEST(ProgressPictureTest, FillsTheBarFromTheLeftByTheFraction) {
    constexpr int kWidth = 640, kHeight = 480;
    const Image empty = DrawProgressPicture(kWidth, kHeight, {kBuildingText, 0.0});
    const Box full = Differences(empty, DrawProgressPicture(kWidth, kHeight, {kBuildingText, 1.0}));
    const RowRun bar = RunsOfRows(empty).back();
    ASSERT_GT(full.count, 0);
    EXPECT_EQ(full.count, full.Width() * full.Height()) << "the fill is a rectangle";
    EXPECT_GT(full.left, bar.left);
    EXPECT_LT(full.right, bar.right);
    EXPECT_GT(full.top, bar.top);
    EXPECT_LT(full.bottom, bar.bottom);
    EXPECT_GT(full.Width(), 0.55 * kWidth);
    EXPECT_EQ(full.left - bar.left, bar.right - full.right) << "full, the fill reaches both ends alike";
    EXPECT_EQ(full.top - bar.top, bar.bottom - full.bottom);
    for (int y = full.top; y <= full.bottom; ++y)
        for (int x = full.left; x <= full.right; ++x)
            ASSERT_EQ(empty.Pixel(x, y), kBackground) << "empty, the bar shows nothing at " << x << "," << y;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, double>> fractions{
        {0.0, 0.0}, {0.001, 0.001}, {0.25, 0.25}, {0.5, 0.5}, {0.999, 0.999}, {1.0, 1.0},
        {-0.5, 0.0}, {2.0, 1.0}, {nan, 0.0}, {infinity, 1.0}, {-infinity, 0.0}};
    for (const auto& [fraction, shown] : fractions) {
        const Box filled = Differences(empty, DrawProgressPicture(kWidth, kHeight, {kBuildingText, fraction}));
        const long expectedColumns = std::lround(shown * full.Width());
        if (expectedColumns == 0) {
            EXPECT_EQ(filled.count, 0) << fraction;
            continue;
        }
        EXPECT_EQ(filled.Width(), expectedColumns) << fraction;
        EXPECT_EQ(filled.count, filled.Width() * filled.Height()) << fraction;
        EXPECT_EQ(filled.left, full.left) << fraction;
        EXPECT_EQ(filled.top, full.top) << fraction;
        EXPECT_EQ(filled.bottom, full.bottom) << fraction;
    }
}

// Checks that run holds exactly the text drawn at scale, at the run's own left ink column,
// in the colour of its first ink, and gives that column.
int ExpectLineOfText(const Image& picture, const RowRun& run, const std::string& text, int scale) {
    EXPECT_EQ(run.Height(), 7 * scale) << text;
    Rgba colour{};
    for (int x = 0; x < picture.Width() && colour == Rgba{}; ++x)
        for (int y = run.top; y <= run.bottom; ++y)
            if (picture.Pixel(x, y) != kBackground) {
                colour = picture.Pixel(x, y);
                break;
            }
    Image expected(picture.Width(), picture.Height(), kBackground);
    DrawPixelText(expected, run.left, run.top, text, scale, colour);
    for (int y = run.top; y <= run.bottom; ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (picture.Pixel(x, y) != expected.Pixel(x, y)) {
                ADD_FAILURE() << text << " differs from its drawing at scale " << scale << " at " << x << "," << y;
                return run.left;
            }
    return run.left;
}

TEST(ProgressPictureTest, CentresTheTextAboveTheBarAtTheLargestScaleThatFits) {
    struct Case {
        int width;
        std::string text;
        int scale;
    };
    const std::vector<Case> cases{
        {1024, kBuildingText, 3}, {560, kBuildingText, 3}, {400, kBuildingText, 2},
        {250, kBuildingText, 1}, {1024, "Reading building", 3}, {1024, "Uploading", 3}};
    for (const Case& c : cases) {
        const Image picture = DrawProgressPicture(c.width, 300, {c.text, 0.5});
        const std::vector<RowRun> runs = RunsOfRows(picture);
        ASSERT_EQ(runs.size(), 3u) << c.width << " " << c.text;
        const RowRun &name = runs[0], &text = runs[1], &bar = runs[2];
        EXPECT_GT(bar.top, text.bottom + 1) << "a line of background between the text and the bar";
        EXPECT_GT(text.top, name.bottom + 1);

        const int textLeft = ExpectLineOfText(picture, text, c.text, c.scale);
        // The last glyph's right column is ink, the gap after it is not.
        EXPECT_NEAR(textLeft, c.width - 1 - text.right, c.scale + 1) << c.width << " " << c.text;
        const int nameScale = std::max(c.scale - 1, 1);
        const int nameLeft = ExpectLineOfText(picture, name, "Orbitscope", nameScale);
        EXPECT_NEAR(nameLeft, c.width - 1 - name.right, nameScale + 1);
    }
}

TEST(ProgressPictureTest, ShowsTheBeginningOfATextTooWideEvenAtTheSmallestScale) {
    std::string text;
    while (text.size() < 200) text += kBuildingText + " ";
    constexpr int kWidth = 320, kHeight = 240;
    for (const double fraction : {0.0, 1.0}) {
        const Image picture = DrawProgressPicture(kWidth, kHeight, {text, fraction});
        const std::vector<RowRun> runs = RunsOfRows(picture);
        ASSERT_EQ(runs.size(), 3u);
        const RowRun &name = runs[0], &line = runs[1], &bar = runs[2];
        EXPECT_EQ(bar.Height(), 24);
        EXPECT_GT(bar.top, line.bottom + 1);
        EXPECT_GT(line.top, name.bottom + 1);
        EXPECT_LE(line.left, 16) << "the text starts near the left side";
        EXPECT_GE(line.right, kWidth - 6) << "and runs off the right side";
        ExpectLineOfText(picture, line, text, 1);
        ExpectLineOfText(picture, name, "Orbitscope", 1);
    }
}

TEST(ProgressPictureTest, GivesAPictureOfAnySizeAndNoneForNoSize) {
    EXPECT_TRUE(DrawProgressPicture(0, 0, {kBuildingText, 0.5}).IsEmpty());
    EXPECT_TRUE(DrawProgressPicture(-4, 100, {kBuildingText, 0.5}).IsEmpty());
    EXPECT_TRUE(DrawProgressPicture(100, 0, {kBuildingText, 0.5}).IsEmpty());
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1, 1}, {7, 3}, {30, 20}, {2000, 10}}) {
        const Image picture = DrawProgressPicture(width, height, {kBuildingText, 0.5});
        ASSERT_EQ(picture.Width(), width);
        ASSERT_EQ(picture.Height(), height);
        for (const Rgba& pixel : picture.Pixels()) ASSERT_EQ(pixel.a, 255);
    }
}

// Set ORBITSCOPE_PICTURE_FOLDER to a folder to look at the progress screen and the font as
// PNG files there; each file is read back to check it holds the picture.
TEST(ProgressPictureTest, WritesItsPicturesForALookWhenAskedTo) {
    const char* folder = std::getenv("ORBITSCOPE_PICTURE_FOLDER");
    if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "ORBITSCOPE_PICTURE_FOLDER names no folder";

    std::string everything;
    for (int code = 32; code <= 126; ++code) everything.push_back(static_cast<char>(code));
    Image sheet(16 * 6 * 3 + 24, 6 * 9 * 3 + 24, kBackground);
    for (int line = 0; line * 16 < static_cast<int>(everything.size()); ++line)
        DrawPixelText(sheet, 12, 12 + line * 9 * 3, everything.substr(line * 16, 16), 3, Rgba{232, 233, 245, 255});

    std::string tooWide;
    while (tooWide.size() < 200) tooWide += kBuildingText + " ";
    const std::vector<std::pair<std::string, Image>> pictures{
        {"progress_1024x768.png", DrawProgressPicture(1024, 768, {kBuildingText, 1234.0 / 16416.0})},
        {"progress_reading_1024x768.png", DrawProgressPicture(1024, 768, {"Reading building", 0.0})},
        {"progress_400x300.png", DrawProgressPicture(400, 300, {kBuildingText, 0.62})},
        {"progress_too_wide_320x240.png", DrawProgressPicture(320, 240, {tooWide, 1.0})},
        {"pixel_font.png", sheet},
    };
    for (const auto& [name, picture] : pictures) {
        const auto bytes = stackmason::test::EncodePng(picture);
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> read{std::istreambuf_iterator<char>(in), {}};
        const std::optional<Image> decoded = stackmason::DecodePng(read);
        ASSERT_TRUE(decoded.has_value()) << path;
        EXPECT_EQ(*decoded, picture) << path;
    }
}

}  // namespace
}  // namespace orbitscope
