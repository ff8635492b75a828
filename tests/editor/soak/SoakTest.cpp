#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/DispatchCommand.h"
#include "tests/editor/soak/EditorSoak.h"
#include "tests/support/TempFolder.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

int EnvironmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}

// A folder holding copies of the default packs, made the current directory while the soak
// runs, since the editor opens packs by bare name from there.
class SoakFolder {
public:
    SoakFolder() {
        for (const char* pack : {"stackmason.zip", "minecraft.zip"})
            fs::copy_file(fs::path(STACKMASON_PACK_DIR) / pack, Path() / pack, fs::copy_options::overwrite_existing);
        previous_ = fs::current_path();
        fs::current_path(Path());
    }
    ~SoakFolder() { fs::current_path(previous_); }
    const fs::path& Path() const { return folder_.Path(); }

private:
    stackmason::test::TempFolder folder_{"stackmason-soak"};
    fs::path previous_;
};

// Seeds 1..4 with 1,000 actions each by default; STACKMASON_SOAK_SEED runs that seed alone
// and STACKMASON_SOAK_ACTIONS sets the actions per seed.
TEST(EditorSoak, RandomActionsKeepTheBuildingWhole) {
    const int actions = EnvironmentNumber("STACKMASON_SOAK_ACTIONS", 1000);
    const int onlySeed = EnvironmentNumber("STACKMASON_SOAK_SEED", 0);
    const int firstSeed = onlySeed > 0 ? onlySeed : 1;
    const int lastSeed = onlySeed > 0 ? onlySeed : 4;
    SoakFolder folder;
    long total = 0;
    int roundTrips = 0;
    for (int seed = firstSeed; seed <= lastSeed; ++seed) {
        EditorSoak soak(static_cast<std::uint32_t>(seed), folder.Path());
        const bool whole = soak.Run(actions);
        ASSERT_TRUE(whole) << soak.Failure();
        total += actions;
        roundTrips += soak.RoundTrips();
    }
    EXPECT_GT(roundTrips, 0);
    std::cout << "soak: " << total << " actions, " << roundTrips << " save-load round trips\n";
}

// What a step must give back exactly: the building file the Save button writes (sizes, pack
// name, every cell), and what the file cannot tell: every cell's exact code, the index-0 planes
// and the ground included, and the pack's items.
std::string BuildingSnapshot(EditorSoak& soak) {
    const Editor& editor = soak.State();
    const EncodedBuilding file = EncodeBuildingFile(editor.grid, editor.texturePackName);
    std::string snapshot(reinterpret_cast<const char*>(file.bytes.get()), file.size);
    snapshot += "|cells";
    const StoredCode* cells = editor.grid.Layer(0);
    snapshot.append(reinterpret_cast<const char*>(cells), editor.grid.CellCount() * sizeof(StoredCode));
    snapshot += "|items " + std::to_string(editor.selector.Count());
    for (int i = 0; i < editor.selector.Count(); ++i)
        snapshot += "," + editor.selector.ItemAt(i).text;
    return snapshot;
}

// The file the Save button writes, as a user would compare it.
std::string SavedFile(EditorSoak& soak, const std::string& name) {
    const std::string path = soak.PathFor(name);
    if (!WriteBuildingToFile(soak.State(), path))
        return "could not save " + name;
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The building's history followed beside it: the building after each step of the steps that
// can be undone (index 0 is the start), and after each step that can be redone. A step whose
// end state was not seen (an action that took several steps) is held as nothing.
class Timeline {
public:
    explicit Timeline(std::string start) : states_{std::move(start)} {}
    std::size_t Position() const { return position_; }
    const std::optional<std::string>& Current() const { return states_[position_]; }
    // After an action that added `added` steps and left the building as `now`.
    void Added(std::size_t added, const std::string& now) {
        states_.resize(position_ + 1);
        for (std::size_t i = 1; i < added; ++i)
            states_.emplace_back(std::nullopt);
        states_.emplace_back(now);
        position_ += added;
    }
    void Back() { --position_; }
    void Forward() { ++position_; }
    std::size_t Last() const { return states_.size() - 1; }
    const std::optional<std::string>& At(std::size_t i) const { return states_[i]; }

private:
    std::vector<std::optional<std::string>> states_;
    std::size_t position_ = 0;
};

// Random actions from the soak interleaved with undo and redo through the commands: every
// action that changes the building adds steps, one that changes nothing adds none; undo and
// redo give back, byte for byte, the building each step began and ended with; and at the end
// undoing every step gives back the start and redoing them all the end.
// STACKMASON_UNDO_SEED runs that seed alone; STACKMASON_UNDO_ACTIONS sets the actions per seed.
TEST(UndoProperty, EveryStepUndoesAndRedoesToTheBuildingByteForByte) {
    const int actions = EnvironmentNumber("STACKMASON_UNDO_ACTIONS", 400);
    const int onlySeed = EnvironmentNumber("STACKMASON_UNDO_SEED", 0);
    const int firstSeed = onlySeed > 0 ? onlySeed : 1;
    const int lastSeed = onlySeed > 0 ? onlySeed : 6;
    SoakFolder folder;
    std::size_t undone = 0, redone = 0, steps = 0;
    for (int seed = firstSeed; seed <= lastSeed; ++seed) {
        EditorSoak soak(static_cast<std::uint32_t>(seed), folder.Path());
        Editor& editor = soak.State();
        editor.history.Clear();
        std::mt19937 random(static_cast<std::uint32_t>(seed) * 7919u);
        auto chance = [&](int percent) { return std::uniform_int_distribution<int>(1, 100)(random) <= percent; };
        Timeline timeline(BuildingSnapshot(soak));
        const std::string startFile = SavedFile(soak, "start.txt");
        auto expectCurrent = [&](const char* what) {
            if (const auto& expected = timeline.Current()) {
                ASSERT_TRUE(BuildingSnapshot(soak) == *expected)
                    << "seed " << seed << ": after " << what << " at step " << timeline.Position();
            }
            ASSERT_TRUE(soak.Check()) << soak.Failure();
        };
        for (int action = 0; action < actions; ++action) {
            if (chance(20) && editor.history.CanUndo()) {
                soak.Note("undo");
                DispatchCommand(editor, kUndo);
                timeline.Back();
                ++undone;
                expectCurrent("undo");
            } else if (chance(20) && editor.history.CanRedo()) {
                soak.Note("redo");
                DispatchCommand(editor, kRedo);
                timeline.Forward();
                ++redone;
                expectCurrent("redo");
            } else {
                const std::size_t before = editor.history.UndoCount();
                ASSERT_TRUE(soak.Step()) << soak.Failure();
                const std::size_t added = editor.history.UndoCount() - before;
                if (added == 0) {
                    // Nothing that changed the building may go unrecorded.
                    expectCurrent("an action that added no step");
                } else {
                    timeline.Added(added, BuildingSnapshot(soak));
                    steps += added;
                }
            }
            if (::testing::Test::HasFatalFailure())
                return;
        }
        // Forward to the last step, back to the start, then forward again.
        while (editor.history.CanRedo()) {
            DispatchCommand(editor, kRedo);
            timeline.Forward();
        }
        const std::string endFile = SavedFile(soak, "end.txt");
        while (editor.history.CanUndo()) {
            DispatchCommand(editor, kUndo);
            timeline.Back();
        }
        ASSERT_EQ(timeline.Position(), 0u) << "seed " << seed;
        expectCurrent("undoing every step");
        ASSERT_EQ(SavedFile(soak, "undone.txt"), startFile) << "seed " << seed;
        while (editor.history.CanRedo()) {
            DispatchCommand(editor, kRedo);
            timeline.Forward();
        }
        ASSERT_EQ(timeline.Position(), timeline.Last()) << "seed " << seed;
        expectCurrent("redoing every step");
        ASSERT_EQ(SavedFile(soak, "redone.txt"), endFile) << "seed " << seed;
    }
    EXPECT_GT(undone, 0u);
    EXPECT_GT(redone, 0u);
    std::cout << "undo property: " << steps << " steps, " << undone << " undone, " << redone << " redone\n";
}

}  // namespace
}  // namespace stackmason::testing
