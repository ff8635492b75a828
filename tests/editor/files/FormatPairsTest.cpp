// A building keeps its axes through every format: column x east, row y south, layer 1 at the
// bottom. An L on one corner of one layer, with a block above its foot, tells every mirror
// and turn apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FilesTestSupport.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileFormats.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"
#include "editor/packs/TexturePackLoader.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

void SaveAs(FilesTestEditor& test, const std::string& name, int filter) {
    test.dialogs.Choose(name, filter);
    SaveBuilding(test.editor, false);
}

void LoadAs(FilesTestEditor& test, const std::string& name, int filter) {
    test.dialogs.Choose(name, filter);
    LoadBuilding(test.editor);
}

TEST(FormatPairs, AnAsymmetricBuildingKeepsItsAxesThroughEveryPair) {
    FilesTestEditor test(1, 1, 1);
    fs::copy_file(fs::path(STACKMASON_PACK_DIR) / "minecraft.zip", "minecraft.zip");
    test.editor.widthSpin.SetValue(5);
    test.editor.lengthSpin.SetValue(4);
    test.editor.heightSpin.SetValue(3);
    NewBuilding(test.editor);
    StagedPack pack = StageTexturePack("minecraft.zip");
    test.editor.selector.TakeItemsOf(pack.selector);
    test.editor.texturePackName = "minecraft.zip";
    // The L: three cells east along the north edge, one south of its corner; a cell on the
    // second layer above the corner, another block at the end of the L's long arm.
    for (const auto& [x, y, h, code] : {std::tuple{1, 1, 1, 1}, std::tuple{2, 1, 1, 1}, std::tuple{3, 1, 1, 3},
                                        std::tuple{1, 2, 1, 1}, std::tuple{1, 1, 2, 4}})
        test.editor.grid.At(x, y, h) = code;
    const std::vector<BlockCode> original = BuildingCells(test.editor);

    const std::span<const FileFormat> formats = FileFormats();
    for (std::size_t first = 0; first < formats.size(); ++first)
        for (std::size_t second = 0; second < formats.size(); ++second) {
            const std::string a = "a." + std::string(formats[first].extension);
            const std::string b = "b." + std::string(formats[second].extension);
            SCOPED_TRACE(a + " then " + b);
            SaveAs(test, a, static_cast<int>(first));
            LoadAs(test, a, static_cast<int>(first));
            SaveAs(test, b, static_cast<int>(second));
            LoadAs(test, b, static_cast<int>(second));
            ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
            EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
            ASSERT_EQ(test.editor.grid.Width(), 5);
            ASSERT_EQ(test.editor.grid.Length(), 4);
            ASSERT_EQ(test.editor.grid.Height(), 3);
            EXPECT_EQ(BuildingCells(test.editor), original);
            EXPECT_EQ(test.editor.texturePackName, "minecraft.zip");
        }
}

}  // namespace
}  // namespace stackmason::testing
