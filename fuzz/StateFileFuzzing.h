#pragma once

// What the fuzz targets of the files of block states (Sponge and Litematica schematics) share:
// the packs a load may be read with, the editor a load runs in, and what a load left.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Building.h"
#include "editor/model/Editor.h"
#include "editor/model/HeadlessPorts.h"
#include "fuzz/FuzzSupport.h"

namespace stackmason::fuzz {

inline constexpr const char* kOwnPackName = "mine.zip";
inline constexpr const char* kGivenPackName = "given.zip";
// Beside the folder's packs, so that a file naming it by a path shows if it is followed.
inline constexpr const char* kGivenPackPath = "sub/given.zip";

struct TestPack {
    const char* path;
    std::vector<const char*> entries;
};

// The folder's packs and the given one: the game's blocks with the entry for the rest, a pack
// of ours without one, and a given pack with one.
const std::vector<TestPack>& TestPacks();

// Writes the packs into the scratch folder, once.
void PreparePacks();

// Makes the scratch folder, where the load looks for the packs a file calls for, the current
// folder while it lives; then the fuzzer's own again, whose corpus paths may be relative.
class InScratchFolder {
public:
    InScratchFolder();
    ~InScratchFolder();
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    std::string before_;
};

// The number of items (air and the entries) of the pack of this name.
int ItemsOfPack(const std::string& name);

struct ImportEditor {
    ImportEditor();
    HeadlessPainter painter;
    HeadlessWindow window;
    CountingDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

// Buildings of more cells than this, which only compressed inputs give, have their cells
// checked in their first and last layers alone, and are not read again: the checks would
// take many times as long as the load, which is what the run's time limit is for.
inline constexpr std::uint64_t kCellsCheckedWhole = std::uint64_t{1} << 21;

std::uint64_t CellsOf(const Building& grid);
std::vector<int> CheckedLayers(const Building& grid);

// What a load left, small enough to keep beside the next load's building.
struct Outcome {
    bool loaded = false;
    std::array<int, 3> sizes{};
    // Which cells are air, x fastest, and a hash of every cell.
    std::vector<bool> air;
    std::uint64_t cellsHash = 0;
    std::string packName;
    std::vector<std::string> infos;
};

Outcome OutcomeOf(const Editor& editor, const CountingDialogs& dialogs);

}  // namespace stackmason::fuzz
