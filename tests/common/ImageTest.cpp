#include <gtest/gtest.h>

#include "common/ImageDecoding.h"
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

}  // namespace
}  // namespace stackmason
