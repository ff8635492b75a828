// Every format keeps the builder's axes: column x east, row y south, layer 1 at the bottom.
// An asymmetric building, an L in one corner of one layer, goes through every pair of formats
// and comes back cell for cell, with its sizes.
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

BlockCode StoneOf(const SelectorModel& selector) {
    for (BlockCode code = 1; code < selector.Count(); ++code)
        if (selector.ItemAt(code).text == "stone_001")
            return code;
    ADD_FAILURE() << "no stone";
    return -1;
}

TEST(FormatAxes, AnLInOneCornerComesBackThroughEveryPairOfFormats) {
    FilesTestEditor test(5, 4, 3);
    std::filesystem::copy_file(std::string(STACKMASON_PACK_DIR) + "/minecraft.zip", "minecraft.zip");
    const int formats = static_cast<int>(FileFormats().size());
    ASSERT_EQ(formats, 4);
    for (int first = 0; first < formats; ++first)
        for (int second = 0; second < formats; ++second) {
            SCOPED_TRACE(std::string(FormatOfFilter(first).extension) + " then " +
                         std::string(FormatOfFilter(second).extension));
            test.editor.widthSpin.SetValue(5);
            test.editor.lengthSpin.SetValue(4);
            test.editor.heightSpin.SetValue(3);
            NewBuilding(test.editor);
            StagedPack pack = StageTexturePack("minecraft.zip");
            test.editor.selector.TakeItemsOf(pack.selector);
            test.editor.texturePackName = "minecraft.zip";
            const BlockCode stone = StoneOf(test.editor.selector);
            // The long arm runs east along the first row, the short one south along the first
            // column, on the middle layer.
            for (const auto& [x, y] : {std::pair{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {1, 3}})
                test.editor.grid.At(x, y, 2) = stone;
            const Building before = test.editor.grid;

            for (const int filter : {first, second}) {
                const std::string name = "axes" + std::to_string(filter);
                test.dialogs.Choose(name, filter);
                SaveBuilding(test.editor, false);
                // Cleared, so that only a load can bring the L back.
                for (int h = 1; h <= 3; ++h)
                    for (int y = 1; y <= 4; ++y)
                        for (int x = 1; x <= 5; ++x)
                            test.editor.grid.At(x, y, h) = 0;
                test.dialogs.Choose(name + "." + std::string(FormatOfFilter(filter).extension), filter);
                LoadBuilding(test.editor);
                ASSERT_TRUE(test.dialogs.errors.empty()) << test.dialogs.errors.front();
            }
            EXPECT_TRUE(test.dialogs.infos.empty()) << test.dialogs.infos.front();
            ASSERT_EQ(test.editor.grid.Width(), 5);
            ASSERT_EQ(test.editor.grid.Length(), 4);
            ASSERT_EQ(test.editor.grid.Height(), 3);
            const BlockCode stoneAfter = StoneOf(test.editor.selector);
            for (int h = 1; h <= 3; ++h)
                for (int y = 1; y <= 4; ++y)
                    for (int x = 1; x <= 5; ++x)
                        EXPECT_EQ(test.editor.grid.At(x, y, h), before.At(x, y, h) == stone ? stoneAfter : 0)
                            << x << "," << y << "," << h;
        }
}

}  // namespace
}  // namespace stackmason::testing
