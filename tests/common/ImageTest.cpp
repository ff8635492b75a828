#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>

#include "common/ImageDecoding.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TestImages.h"

namespace stackmason {
namespace {

using test::CoordinateImage;

TEST(Image, CutKeepsPixelsAndLeavesOutsideTransparent) {
    const Image source = CoordinateImage(4, 3);
    const Image cut = CutRect(source, 2, 1, 3, 3);
    EXPECT_EQ(cut.Width(), 3);
    EXPECT_EQ(cut.Pixel(0, 0), source.Pixel(2, 1));
    EXPECT_EQ(cut.Pixel(1, 1), source.Pixel(3, 2));
    EXPECT_EQ(cut.Pixel(2, 0), Rgba{});
    EXPECT_EQ(cut.Pixel(0, 2), Rgba{});
}

TEST(Image, NearestScalingDoublesPixels) {
    const Image source = CoordinateImage(16, 16);
    const Image scaled = ScaleNearest(source, 32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(scaled.Pixel(x, y), source.Pixel(x / 2, y / 2)) << x << "," << y;
}

TEST(Image, NearestScalingShrinksWithoutMixing) {
    const Image scaled = ScaleNearest(CoordinateImage(64, 96), 32, 32);
    EXPECT_EQ(scaled.Pixel(31, 31), (Rgba{62, 93, 7, 255}));
    EXPECT_EQ(ScaleNearest(Image(), 32, 32), Image(32, 32));
}

TEST(Image, StripShowsItsLeftmostFace) {
    const Image face = ScaleNearest(LeftmostFace(CoordinateImage(96, 16)), 32, 32);
    EXPECT_EQ(face, ScaleNearest(CoordinateImage(16, 16), 32, 32));
}

TEST(Image, NonStripIsSqueezedWhole) {
    const Image source = CoordinateImage(32, 16);
    EXPECT_EQ(LeftmostFace(source), source);
    const Image squeezed = ScaleNearest(source, 32, 32);
    EXPECT_EQ(squeezed.Pixel(31, 0), source.Pixel(31, 0));
    EXPECT_EQ(squeezed.Pixel(31, 31), source.Pixel(31, 15));
    EXPECT_EQ(LeftmostFace(CoordinateImage(72, 12)).Width(), 12);
    EXPECT_EQ(LeftmostFace(Image()).Width(), 0);
}

TEST(ImageDecoding, PngKeepsEveryPixelAndItsAlpha) {
    Image source = CoordinateImage(20, 10);
    source.SetPixel(3, 4, Rgba{1, 2, 3, 0});
    source.SetPixel(5, 6, Rgba{9, 8, 7, 100});
    EXPECT_EQ(DecodeImage(test::EncodePng(source)), source);
}

TEST(ImageDecoding, JpegDecodesOpaque) {
    const Image source(16, 8, Rgba{200, 40, 40, 255});
    const std::optional<Image> decoded = DecodeImage(test::EncodeJpeg(source));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->Width(), 16);
    ASSERT_EQ(decoded->Height(), 8);
    const Rgba pixel = decoded->Pixel(7, 3);
    EXPECT_NEAR(pixel.r, 200, 4);
    EXPECT_NEAR(pixel.g, 40, 4);
    EXPECT_EQ(pixel.a, 255);
}

TEST(ImageDecoding, RefusesWhatIsNotAPicture) {
    EXPECT_FALSE(DecodeImage({}));
    const std::vector<std::uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(DecodeImage(text));
    std::vector<std::uint8_t> png = test::EncodePng(CoordinateImage(8, 8));
    png.resize(png.size() / 2);
    EXPECT_FALSE(DecodeImage(png));
    std::vector<std::uint8_t> jpeg = test::EncodeJpeg(CoordinateImage(8, 8));
    jpeg.resize(20);
    EXPECT_FALSE(DecodeImage(jpeg));
}

TEST(ImageDecoding, RefusesPicturesLargerThanTheSideLimit) {
    EXPECT_TRUE(DecodeImage(test::EncodePng(Image(8192, 1))));
    EXPECT_FALSE(DecodeImage(test::EncodePng(Image(8193, 1))));
    EXPECT_FALSE(DecodeImage(test::EncodePng(Image(1, 8193))));
    EXPECT_FALSE(DecodeImage(test::EncodeJpeg(Image(8200, 8))));
}

TEST(ImageDecoding, SurvivesEveryFlippedByte) {
    const Image source = CoordinateImage(12, 12);
    for (const std::vector<std::uint8_t>& good : {test::EncodePng(source), test::EncodeJpeg(source)}) {
        for (std::size_t at = 0; at < good.size(); ++at) {
            std::vector<std::uint8_t> damaged = good;
            damaged[at] = static_cast<std::uint8_t>(damaged[at] ^ 0xA5);
            const std::optional<Image> decoded = DecodeImage(damaged);
            if (decoded) {
                EXPECT_LE(decoded->Width() * decoded->Height(), 8192 * 8192);
            }
        }
    }
}

// A 16-bit RGBA PNG of the picture's colours.
std::vector<std::uint8_t> EncodePng16(const Image& image) {
    std::vector<std::uint16_t> samples;
    for (const Rgba& pixel : image.Pixels())
        for (std::uint8_t value : {pixel.r, pixel.g, pixel.b, pixel.a})
            samples.push_back(static_cast<std::uint16_t>(value * 257));
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, samples.data(), 0, nullptr);
    std::vector<std::uint8_t> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&png, bytes.data(), &size, 0, samples.data(), 0, nullptr));
    bytes.resize(size);
    return bytes;
}

TEST(ImageDecoding, PicturesSpendTheAllowanceTheirHeadersClaim) {
    std::uint64_t allowance = 1000;
    const std::optional<Image> first = DecodeImage(test::EncodePng(CoordinateImage(20, 10)), allowance);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, CoordinateImage(20, 10));
    EXPECT_EQ(allowance, 800u);

    // Claiming more than is left: refused, and nothing spent.
    EXPECT_FALSE(DecodeImage(test::EncodePng(CoordinateImage(40, 40)), allowance));
    EXPECT_FALSE(DecodeImage(test::EncodeJpeg(CoordinateImage(40, 40)), allowance));
    EXPECT_EQ(allowance, 800u);

    // A picture cut short has cost its decoding all the same.
    std::vector<std::uint8_t> cut = test::EncodePng(CoordinateImage(16, 16));
    cut.resize(cut.size() - 30);
    EXPECT_FALSE(DecodeImage(cut, allowance));
    EXPECT_EQ(allowance, 544u);

    EXPECT_TRUE(DecodeImage(test::EncodeJpeg(CoordinateImage(16, 16)), allowance));
    EXPECT_EQ(allowance, 288u);
    // 16 bits a channel count four times: 8 x 8 takes 256.
    const std::optional<Image> deep = DecodeImage(EncodePng16(CoordinateImage(8, 8)), allowance);
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->Width(), 8);
    EXPECT_EQ(allowance, 32u);
    EXPECT_FALSE(DecodeImage(EncodePng16(CoordinateImage(3, 3)), allowance));
    EXPECT_TRUE(DecodeImage(test::EncodePng(CoordinateImage(4, 8)), allowance));
    EXPECT_EQ(allowance, 0u);
    EXPECT_FALSE(DecodeImage(test::EncodePng(CoordinateImage(1, 1)), allowance));
}

void PutChunk(std::vector<std::uint8_t>& png, std::size_t at, const char* type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> chunk;
    for (int shift : {24, 16, 8, 0})
        chunk.push_back(static_cast<std::uint8_t>(data.size() >> shift));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    for (int shift : {24, 16, 8, 0})
        chunk.push_back(static_cast<std::uint8_t>(crc >> shift));
    png.insert(png.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
}

// libpng's own reading of the picture, with every chunk it holds.
Image DecodedByLibpng(const std::vector<std::uint8_t>& bytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()));
    png.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    EXPECT_TRUE(png_image_finish_read(&png, nullptr, image.Pixels().data(), 0, nullptr));
    png_image_free(&png);
    return image;
}

// Text and colour profiles are left out before decoding (libpng would inflate every one of
// them); the chunks that shape the pixels must stay: a palette with its transparency, and a
// file gamma that changes every colour.
TEST(ImageDecoding, TextAndProfileChunksChangeNoPixel) {
    std::vector<std::uint8_t> palette = [] {
        Image source = CoordinateImage(8, 4);
        source.SetPixel(1, 1, Rgba{1, 2, 3, 0});
        source.SetPixel(2, 1, Rgba{200, 100, 50, 77});
        std::vector<std::uint8_t> colours;
        std::vector<std::uint8_t> indices;
        for (const Rgba& pixel : source.Pixels()) {
            indices.push_back(static_cast<std::uint8_t>(colours.size() / 4));
            colours.insert(colours.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        png.width = 8;
        png.height = 4;
        png.format = PNG_FORMAT_RGBA_COLORMAP;
        png.colormap_entries = 32;
        png_alloc_size_t size = 0;
        png_image_write_to_memory(&png, nullptr, &size, 0, indices.data(), 0, colours.data());
        std::vector<std::uint8_t> bytes(size);
        EXPECT_TRUE(png_image_write_to_memory(&png, bytes.data(), &size, 0, indices.data(), 0, colours.data()));
        bytes.resize(size);
        return bytes;
    }();
    // Our encoder writes an sRGB chunk (13 bytes) right after the header; a gamma of 1.0
    // in its place.
    std::vector<std::uint8_t> gamma = test::EncodePng(CoordinateImage(9, 9));
    ASSERT_EQ(std::memcmp(&gamma[37], "sRGB", 4), 0);
    gamma.erase(gamma.begin() + 33, gamma.begin() + 46);
    PutChunk(gamma, 33, "gAMA", {0, 1, 0x86, 0xA0});
    ASSERT_NE(DecodedByLibpng(gamma), CoordinateImage(9, 9));

    for (const std::vector<std::uint8_t>& plain : {palette, gamma, test::EncodePng(CoordinateImage(5, 7))}) {
        const Image expected = DecodedByLibpng(plain);
        std::vector<std::uint8_t> busy = test::WithTextChunks(plain, 3, 5000);
        PutChunk(busy, 33, "tEXt", {'T', 'i', 't', 'l', 'e', 0, 'x'});
        PutChunk(busy, 33, "iCCP", {'p', 0, 0, 0x78, 0x9C, 0x03, 0, 0, 0, 0, 1});
        const std::optional<Image> decoded = DecodeImage(busy);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, expected);
        // Whatever follows the end of the picture is not looked at.
        busy.insert(busy.end(), 5000, 0);
        EXPECT_EQ(DecodeImage(busy), expected);
    }
}

// Every scan of a progressive picture passes over all of it, and a scan can be repeated at
// the cost of a few dozen bytes: more than 64 scans are refused.
TEST(ImageDecoding, ProgressiveJpegOfTooManyScansIsRefused) {
    const Rgba colour{40, 90, 200, 255};
    for (int extra : {0, 54}) {
        const std::optional<Image> decoded = DecodeImage(test::ProgressiveJpeg(48, colour, extra));
        ASSERT_TRUE(decoded) << extra;
        EXPECT_NEAR(decoded->Pixel(30, 20).b, 200, 4);
    }
    EXPECT_FALSE(DecodeImage(test::ProgressiveJpeg(48, colour, 55)));
    EXPECT_FALSE(DecodeImage(test::ProgressiveJpeg(48, colour, 5000)));
}

}  // namespace
}  // namespace stackmason

namespace stackmason {
namespace {

// Eight by eight squares, magenta at the top-left, alternating with black both ways.
TEST(Image, MissingPictureIsAMagentaAndBlackCheckerboard) {
    const Rgba magenta{255, 0, 255, 255}, black{0, 0, 0, 255};
    for (int side : {32, 64, 128}) {
        const Image picture = MissingPicture(side);
        ASSERT_EQ(picture.Width(), side);
        ASSERT_EQ(picture.Height(), side);
        const int square = side / 8;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                ASSERT_EQ(picture.Pixel(x, y), ((x / square) % 2 == (y / square) % 2) ? magenta : black)
                    << side << " " << x << "," << y;
    }
}

}  // namespace
}  // namespace stackmason
