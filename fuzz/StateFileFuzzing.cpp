#include "fuzz/StateFileFuzzing.h"

#include <filesystem>

#include "editor/files/BuildingFiles.h"
#include "editor/model/BuildingOperations.h"
#include "tests/support/TestImages.h"

namespace stackmason::fuzz {

const std::vector<TestPack>& TestPacks() {
    static const std::vector<TestPack> packs{
        {kGameBlocksPackName,
         {"stone_001.png", "white_wool_035.png", "oak_log_017.png", "stone_slab_044.png", "oak_stairs_053.png",
          "t.glass_020.png", "unknown.png"}},
        {kOwnPackName, {"stone_001.png", "red_wool_035.png", "oak_planks_005.png", "torch_050.png"}},
        {kGivenPackPath, {"granite_001.png", "stone_001.png", "unknown.png"}},
    };
    return packs;
}

void PreparePacks() {
    static const bool prepared = [] {
        const std::vector<std::uint8_t> picture = test::EncodePng(test::CoordinateImage(32, 32));
        std::filesystem::create_directories(ScratchFolder() + "/sub");
        for (const TestPack& pack : TestPacks()) {
            std::vector<ZipEntry> entries;
            for (const char* name : pack.entries)
                entries.push_back({name, picture});
            WriteScratchFile(pack.path, StoredZip(entries));
        }
        return true;
    }();
    (void)prepared;
}

InScratchFolder::InScratchFolder() : before_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(ScratchFolder());
}

InScratchFolder::~InScratchFolder() { std::filesystem::current_path(before_); }

int ItemsOfPack(const std::string& name) {
    for (const TestPack& pack : TestPacks())
        if (std::filesystem::path(pack.path).filename() == name)
            return static_cast<int>(pack.entries.size()) + 1;
    return -1;
}

ImportEditor::ImportEditor() {
    AllocateBuilding(editor, 3, 2, 2);
    editor.grid.At(1, 1, 1) = 4;
}

std::uint64_t CellsOf(const Building& grid) {
    return static_cast<std::uint64_t>(grid.Width()) * static_cast<std::uint64_t>(grid.Length()) *
           static_cast<std::uint64_t>(grid.Height());
}

std::vector<int> CheckedLayers(const Building& grid) {
    if (CellsOf(grid) <= kCellsCheckedWhole) {
        std::vector<int> layers;
        for (int h = 1; h <= grid.Height(); ++h)
            layers.push_back(h);
        return layers;
    }
    return {1, grid.Height()};
}

Outcome OutcomeOf(const Editor& editor, const CountingDialogs& dialogs) {
    Outcome outcome{dialogs.errors.empty(), {editor.grid.Width(), editor.grid.Length(), editor.grid.Height()}, {}, 14695981039346656037ull,
                    editor.texturePackName, dialogs.infos};
    if (!outcome.loaded)
        return outcome;
    for (const int h : CheckedLayers(editor.grid))
        for (int y = 1; y <= editor.grid.Length(); ++y)
            for (int x = 1; x <= editor.grid.Width(); ++x) {
                const BlockCode code = editor.grid.At(x, y, h);
                outcome.air.push_back(code == 0);
                outcome.cellsHash = (outcome.cellsHash ^ static_cast<std::uint32_t>(code)) * 1099511628211ull;
            }
    return outcome;
}

}  // namespace stackmason::fuzz
