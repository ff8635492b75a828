#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "editor/model/BuildingOperations.h"
#include "editor/packs/BuiltInPictures.h"
#include "editor/packs/TexturePackLoader.h"
#include "tests/editor/support/EditorFixture.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/ScaledPacks.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;
using testing::EditorFixture;
using namespace stackmason::test;

// Runs each test in a folder of its own, as the editor opens packs from the current directory.
class PackFolder : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        temp_ = std::make_unique<TempFolder>("stackmason-packs");
        folder_ = temp_->Path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        temp_.reset();
    }
    fs::path previous_, folder_;
    std::unique_ptr<TempFolder> temp_;
};

std::vector<std::uint8_t> Png(int width, int height, Rgba colour) { return EncodePng(Image(width, height, colour)); }

TEST_F(PackFolder, EntriesBecomeBlocksInArchiveOrder) {
    Image strip(96, 16, Rgba{10, 20, 30, 255});
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 96; ++x)
            strip.SetPixel(x, y, {200, 0, 0, 255});
    WriteFile("stackmason.zip", MakeZip({{"c_003.png", Png(16, 16, {1, 2, 3, 255})},
                                         {"b_002.png", EncodePng(strip)},
                                         {"folder/", {}},
                                         {"t.water_009.png", Png(32, 16, {0, 0, 255, 128})},
                                         {"broken_005.png", {1, 2, 3, 4}},
                                         {"x12.png", EncodeJpeg(Image(8, 8, Rgba{90, 90, 90, 255}))}}));
    EditorFixture f;
    LoadTexturePack(f.editor);
    const SelectorModel& s = f.editor.selector;
    ASSERT_EQ(s.Count(), 7);
    const char* texts[] = {"Air", "c_003", "b_002", "folder/", "t.water_009", "broken_005", "x12"};
    const int ids[] = {0, 3, 2, 0, 9, 5, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(s.ItemAt(i).text, texts[i]);
        EXPECT_EQ(s.Data(i), ids[i]) << i;
        EXPECT_EQ(f.editor.selector.Picture(i)->Width(), 32);
        EXPECT_EQ(f.editor.selector.Picture(i)->Height(), 32);
    }
    EXPECT_EQ(*f.editor.selector.Picture(0), AirImage());
    // A strip shows its leftmost face; a 32 x 16 picture is squeezed whole, alpha kept.
    EXPECT_EQ(f.editor.selector.Picture(2)->Pixel(31, 31), (Rgba{10, 20, 30, 255}));
    EXPECT_EQ(f.editor.selector.Picture(4)->Pixel(31, 31), (Rgba{0, 0, 255, 128}));
    // Entries without a picture keep their place with the placeholder, and are no blocks.
    EXPECT_EQ(*f.editor.selector.Picture(3), PlaceholderImage());
    EXPECT_EQ(*f.editor.selector.Picture(5), PlaceholderImage());
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(s.IsBlockPicture(i), i != 3 && i != 5) << i;
    // The selector shows the pictures without transparency.
    EXPECT_EQ(s.ShownImage(4).Pixel(0, 0).a, 255);

    NewBuilding(f.editor);
    EXPECT_EQ(f.editor.SelectedBlock(), 1);
}

TEST_F(PackFolder, MissingOrDamagedPackLeavesAirAlone) {
    EditorFixture f;
    LoadTexturePack(f.editor);
    EXPECT_EQ(f.editor.selector.Count(), 1);
    EXPECT_EQ(f.editor.selector.ItemAt(0).text, "Air");
    WriteFile("stackmason.zip", {'P', 'K', 3, 4, 0, 0, 1});
    LoadTexturePack(f.editor);
    EXPECT_EQ(f.editor.selector.Count(), 1);
    EXPECT_TRUE(f.dialogs.errors.empty());
}

TEST_F(PackFolder, SelectingAPackAsksThenMakesANewBuilding) {
    WriteFile("other.zip", MakeZip({{"a_001.png", Png(16, 16, {5, 5, 5, 255})}}));
    EditorFixture f;
    Editor& e = f.editor;
    LoadTexturePack(e);
    NewBuilding(e);
    e.grid.At(1, 1, 1) = 4;

    f.dialogs.answerYes = false;
    SelectTexturePack(e);
    EXPECT_EQ(e.grid.At(1, 1, 1), 4);
    EXPECT_TRUE(f.dialogs.requests.empty());
    EXPECT_EQ(f.dialogs.questions.back(),
              " All unsaved data will be lost if you select another texturepack. Are you sure ?");

    f.dialogs.answerYes = true;
    f.dialogs.answers.push_back(std::nullopt);  // cancelled
    SelectTexturePack(e);
    EXPECT_EQ(e.grid.At(1, 1, 1), 4);
    ASSERT_EQ(f.dialogs.requests.size(), 1u);
    EXPECT_EQ(f.dialogs.requests[0].title, "Choose a ZIP-Archiv");
    EXPECT_EQ(f.dialogs.requests[0].filters[0].first, "zip (*.zip)");
    EXPECT_EQ(f.dialogs.requests[0].filters[0].second, "*.zip");

    f.dialogs.answers.push_back(FileChoice{(folder_ / "other.zip").string(), 0});
    SelectTexturePack(e);
    EXPECT_EQ(e.texturePackName, "other.zip");
    EXPECT_EQ(e.selector.Count(), 2);
    EXPECT_EQ(e.grid.At(1, 1, 1), 0);
    EXPECT_EQ(fs::current_path(), folder_);

    // A pack chosen in another folder could not be found here by its name: it is refused,
    // and the building and the pack stay.
    e.grid.At(1, 1, 1) = 1;
    f.dialogs.answers.push_back(FileChoice{"/nowhere/else/third.zip", 0});
    SelectTexturePack(e);
    EXPECT_EQ(e.texturePackName, "other.zip");
    EXPECT_EQ(e.selector.Count(), 2);
    EXPECT_EQ(e.SelectedBlock(), 1);
    EXPECT_EQ(e.grid.At(1, 1, 1), 1);
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0].rfind("Texture packs must be in the folder Stackmason was started in:\n", 0), 0u);
}

// A small pack of huge pictures decodes only as many as its budget allows; the others keep
// their place, text and block id and show the missing picture, and the user is told once.
// An entry that is no picture keeps the placeholder and is no block picture.
TEST_F(PackFolder, PicturesBeyondThePacksBudgetShowTheMissingPicture) {
    const Rgba red{200, 0, 0, 255};
    const std::vector<std::uint8_t> huge = SolidPng(8192, Rgba{0, 200, 0, 255});
    WriteFile("stackmason.zip", DeflatedZip({{"first_001.png", SolidPng(4096, red)},
                                             {"huge_002.png", huge},
                                             {"notes_003.png", {'n', 'o'}},
                                             {"huge_004.png", huge},
                                             {"small_005.png", EncodePng(CoordinateImage(16, 16))}}));
    EditorFixture f;
    LoadTexturePack(f.editor);
    const SelectorModel& s = f.editor.selector;
    ASSERT_EQ(s.Count(), 6);
    EXPECT_EQ(*s.Picture(1), Image(32, 32, red));
    EXPECT_EQ(*s.Picture(2), MissingPicture(32));
    EXPECT_EQ(*s.Picture(3), PlaceholderImage());
    EXPECT_EQ(*s.Picture(4), MissingPicture(32));
    EXPECT_EQ(*s.Picture(5), ScaleNearest(CoordinateImage(16, 16), 32, 32));
    EXPECT_TRUE(s.IsBlockPicture(2));
    EXPECT_FALSE(s.IsBlockPicture(3));
    EXPECT_EQ(s.ItemAt(4).text, "huge_004");
    EXPECT_EQ(s.Data(4), 4);
    ASSERT_EQ(f.dialogs.infos.size(), 1u);
    EXPECT_NE(f.dialogs.infos[0].find(" 2 pictures were left out"), std::string::npos) << f.dialogs.infos[0];
    EXPECT_TRUE(f.dialogs.errors.empty());

    // As many entries as a pack may have, all of the same 8192 x 8192 picture.
    WriteFile("stackmason.zip", RepeatOnlyEntry(DeflatedZip({{HugeEntryName(1), huge}}), 4096));
    LoadTexturePack(f.editor);
    ASSERT_EQ(s.Count(), 4097);
    EXPECT_EQ(s.ItemAt(4096).text, "huge_4096_096");
    EXPECT_EQ(s.Data(4096), 96);
    for (int i = 1; i < s.Count(); ++i)
        ASSERT_EQ(*s.Picture(i), MissingPicture(32)) << i;
    ASSERT_EQ(f.dialogs.infos.size(), 2u);
    EXPECT_NE(f.dialogs.infos[1].find(" 4096 pictures were left out"), std::string::npos) << f.dialogs.infos[1];
    EXPECT_TRUE(f.dialogs.errors.empty());
}

// The 32 x 32 picture the editor shows for a picture, worked out pixel by pixel: of a strip
// six times as wide as high its leftmost square, each tile pixel taken from the same
// fraction of that square.
Image ExpectedTile(const Image& picture) {
    const int faceWidth = picture.Width() == 6 * picture.Height() ? picture.Height() : picture.Width();
    Image tile(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            tile.SetPixel(x, y, picture.Pixel(x * faceWidth / 32, y * picture.Height() / 32));
    return tile;
}

// The default pack with every picture scaled up to 512 pixels high loads whole, and shows
// what the pack does unscaled.
TEST_F(PackFolder, DefaultPackScaledTo512PixelsLoadsWhole) {
    const ScaledPack scaled = ScaleUpPack(STACKMASON_PACK_DIR "/stackmason.zip", 512);
    fs::copy_file(STACKMASON_PACK_DIR "/stackmason.zip", folder_ / "original.zip");
    WriteFile("stackmason.zip", scaled.archive);
    EditorFixture f;
    LoadTexturePack(f.editor);
    const StagedPack original = StageTexturePack("original.zip");
    const SelectorModel& s = f.editor.selector;
    ASSERT_EQ(s.Count(), static_cast<int>(scaled.pictures.size()) + 1);
    ASSERT_EQ(original.selector.Count(), s.Count());
    for (int i = 1; i < s.Count(); ++i) {
        const std::optional<Image>& source = scaled.pictures[static_cast<std::size_t>(i - 1)];
        ASSERT_TRUE(source) << i;
        EXPECT_EQ(*s.Picture(i), ExpectedTile(*source)) << i;
        EXPECT_EQ(*s.Picture(i), *original.selector.Picture(i)) << i;
    }
    EXPECT_TRUE(f.dialogs.infos.empty());
}

}  // namespace
}  // namespace stackmason
