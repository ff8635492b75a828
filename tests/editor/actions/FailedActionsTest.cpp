#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/canvas/CanvasRepaint.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/FileRequests.h"
#include "editor/files/SchematicFiles.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/DispatchCommand.h"
#include "editor/shell/ToolbarActions.h"
#include "tests/editor/support/AllocationFaults.h"
#include "tests/editor/support/EditorFixture.h"
#include "tests/editor/support/LargeBuildingFile.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestArchives.h"
#include "tests/support/TestImages.h"

namespace stackmason::testing {
namespace {

namespace fs = std::filesystem;

// A fresh folder made the current directory, holding three packs, a building file and a
// schematic file that differ in every size from the building the tests start with.
class ActionFolder : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        temp_ = std::make_unique<test::TempFolder>("stackmason-actions");
        folder_ = temp_->Path();
        fs::current_path(folder_);
        WritePack("old.zip", {"stone_001.png", "dirt_003.png"});
        WritePack("new.zip", {"a_001.png", "b_002.png", "c_003.png", "d_004.png"});
        WritePack("minecraft.zip", {"stone_001.png", "grass_002.png", "wool_035.png"});
        WriteFiles();
    }
    void TearDown() override {
        fs::current_path(previous_);
        temp_.reset();
    }

    static void WritePack(const std::string& path, const std::vector<std::string>& names) {
        std::vector<test::ArchiveEntry> entries;
        std::uint8_t shade = 20;
        for (const std::string& name : names) {
            entries.push_back({name, test::EncodePng(Image(16, 16, Rgba{shade, 90, 160, 255}))});
            shade = static_cast<std::uint8_t>(shade + 40);
        }
        test::WriteFile(path, test::MakeZip(entries));
    }

    // House.txt: 6 x 5 x 4 with the pack new.zip; House.schematic: 5 x 4 x 3.
    static void WriteFiles() {
        EditorFixture writer;
        Editor& e = writer.editor;
        e.texturePackName = "new.zip";
        LoadTexturePack(e);
        AllocateBuilding(e, 6, 5, 4);
        for (int x = 1; x <= 6; ++x)
            e.grid.At(x, (x % 5) + 1, (x % 4) + 1) = x % 5;
        ASSERT_TRUE(WriteBuildingToFile(e, "House.txt"));
        e.texturePackName = "minecraft.zip";
        LoadTexturePack(e);
        AllocateBuilding(e, 5, 4, 3);
        for (int x = 1; x <= 5; ++x)
            e.grid.At(x, (x % 4) + 1, (x % 3) + 1) = x % 4;
        ExportSchematic(e, "House.schematic");
        ASSERT_TRUE(writer.dialogs.errors.empty());
    }

    fs::path previous_, folder_;
    std::unique_ptr<test::TempFolder> temp_;
};

// The editor every test starts from: the pack old.zip, a 9 x 7 x 5 building with some
// blocks, shown in FrontView on slice 3 with block 2 selected, the silhouette on, and size
// fields that the user has typed other numbers into.
std::unique_ptr<EditorFixture> StartingEditor() {
    auto f = std::make_unique<EditorFixture>();
    Editor& e = f->editor;
    e.texturePackName = "old.zip";
    LoadTexturePack(e);
    e.widthSpin.SetValue(9);
    e.lengthSpin.SetValue(7);
    e.heightSpin.SetValue(5);
    NewBuilding(e);
    ShowRequestedRepaint(e);
    for (int x = 1; x <= 9; ++x)
        for (int h = 1; h <= 5; ++h)
            e.grid.At(x, (x + h) % 7 + 1, h) = (x + h) % 3;
    e.layerSpin.SetValue(4);
    e.frontViewLayer = 3;
    ShowFrontView(e);
    ShowRequestedRepaint(e);
    e.silhouetteOn = true;
    e.selector.Select(2);
    e.painter.RedrawCanvas();
    e.widthSpin.SetValue(20);
    e.lengthSpin.SetValue(15);
    e.heightSpin.SetText("6");
    f->dialogs.errors.clear();
    return f;
}

// Everything a failed action must leave as it was: building, sizes and size fields, pack,
// selector, view and the canvas's pixels.
struct EditorState {
    Building grid;
    std::vector<BlockCode> frontPlane;
    std::vector<int> sizes;
    std::vector<std::string> fields;
    std::string packName;
    std::vector<Image> blockImages;
    std::vector<std::string> items;
    int selected = 0;
    std::vector<int> view;
    std::string viewToggleLabel;
    std::vector<Rgba> canvas;

    bool operator==(const EditorState&) const = default;
};

EditorState StateOf(const EditorFixture& f) {
    const Editor& e = f.editor;
    EditorState s;
    s.grid = e.grid;
    s.frontPlane = {e.frontPlane.Length(), e.frontPlane.Height()};
    for (int y = 0; y <= e.frontPlane.Length(); ++y)
        for (int p = 0; p <= e.frontPlane.Height(); ++p)
            s.frontPlane.push_back(e.frontPlane.At(y, p));
    s.sizes = {e.grid.Width(), e.grid.Length(), e.grid.Height()};
    for (const SpinModel* field : {&e.widthSpin, &e.lengthSpin, &e.heightSpin, &e.layerSpin})
        s.fields.push_back(field->Text() + " " + std::to_string(field->Value()) + " " +
                           std::to_string(field->Minimum()) + ".." + std::to_string(field->Maximum()));
    s.packName = e.texturePackName;
    for (int i = 0; i < e.selector.Count(); ++i)
        s.blockImages.push_back(e.selector.ItemAt(i).image);
    for (int i = 0; i < e.selector.Count(); ++i)
        s.items.push_back(e.selector.ItemAt(i).text + " " + std::to_string(e.selector.Data(i)));
    s.selected = e.selector.Selected();
    s.view = {static_cast<int>(e.viewMode), e.CurrentLayer(), e.topViewLayer, e.frontViewLayer, e.canvasWidth,
              e.canvasHeight, f.canvas.Width(), f.canvas.Height()};
    s.viewToggleLabel = ViewToggleLabel(e);
    for (int y = 0; y < f.canvas.Height(); ++y)
        for (int x = 0; x < f.canvas.Width(); ++x)
            s.canvas.push_back(f.canvas.Pixel(x, y));
    return s;
}

// The parts in which two states differ, for the failure message.
std::string Differences(const EditorState& a, const EditorState& b) {
    std::string parts;
    auto note = [&](bool same, const char* part) {
        if (!same)
            parts += std::string(parts.empty() ? "" : ", ") + part;
    };
    note(a.grid == b.grid, "building");
    note(a.frontPlane == b.frontPlane, "working plane");
    note(a.sizes == b.sizes, "sizes");
    note(a.fields == b.fields, "fields");
    note(a.packName == b.packName, "pack name");
    note(a.blockImages == b.blockImages, "block pictures");
    note(a.items == b.items, "selector items");
    note(a.selected == b.selected, "selection");
    note(a.view == b.view && a.viewToggleLabel == b.viewToggleLabel, "view");
    note(a.canvas == b.canvas, "canvas");
    return parts.empty() ? "nothing" : parts;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Runs an action as the editor's shell runs it, once without a failure and then once for
// every allocation it makes, that allocation failing. Each run starts from the same editor
// and must end as the run without a failure with no box at all (a failure the action can
// absorb), or show exactly one "Error" box and leave either everything as it was, or (when the
// failure came only after the action had put its result in place, while repainting) the
// same editor as the run without a failure, saying that part of it may have been done.
// Returns how many allocations failed in turn.
template <typename Script, typename Action>
std::size_t ExpectAllOrNothing(const std::string& name, Script script, Action action) {
    auto fresh = [&] {
        std::unique_ptr<EditorFixture> f = StartingEditor();
        script(f->dialogs);
        return f;
    };
    EditorState done;
    {
        std::unique_ptr<EditorFixture> f = fresh();
        action(f->editor);
        EXPECT_TRUE(f->dialogs.errors.empty()) << name << ": " << f->dialogs.errors.front();
        done = StateOf(*f);
    }
    for (std::size_t failing = 1;; ++failing) {
        std::unique_ptr<EditorFixture> f = fresh();
        const EditorState before = StateOf(*f);
        bool fired = false;
        {
            AllocationFault fault(failing);
            action(f->editor);
            fired = fault.Fired();
        }
        const EditorState after = StateOf(*f);
        if (!fired) {
            EXPECT_TRUE(f->dialogs.errors.empty()) << name;
            EXPECT_TRUE(after == done) << name << ": differs in " << Differences(after, done);
            return failing - 1;
        }
        const std::string context = name + " with allocation " + std::to_string(failing) + " failing";
        // The history packs the building a load replaces only where it can have the memory;
        // without it the building is kept as it is, and the action is whole and silent.
        if (f->dialogs.errors.empty()) {
            EXPECT_TRUE(after == done) << context << ": no error box, yet differs in " << Differences(after, done);
            continue;
        }
        if (f->dialogs.errors.size() != 1) {
            ADD_FAILURE() << context << ": " << f->dialogs.errors.size() << " error boxes";
            return failing;
        }
        const std::string& message = f->dialogs.errors[0];
        if (after == before) {
            EXPECT_FALSE(EndsWith(message, "Part of it may have been done.")) << context << ": " << message;
        } else {
            EXPECT_TRUE(after == done) << context << ": changed only in part, in " << Differences(after, before)
                                       << "; differs from the finished action in " << Differences(after, done);
            EXPECT_TRUE(EndsWith(message, "not enough memory. Part of it may have been done.")) << context << ": "
                                                                                                   << message;
        }
        if (EndsWith(message, "Nothing was changed.")) {
            EXPECT_TRUE(after == before) << context << ": " << message << " but changed " << Differences(after, before);
        }
    }
}

TEST_F(ActionFolder, LoadsNewAndPackSelectionAreAllOrNothingWhereverMemoryRunsOut) {
    const std::size_t text = ExpectAllOrNothing(
        "loading House.txt", [](FakeDialogs& d) { d.Choose("House.txt", kTextFilter); }, PressLoadButton);
    const std::size_t schematic = ExpectAllOrNothing(
        "loading House.schematic", [](FakeDialogs& d) { d.Choose("House.schematic", kSchematicFilter); },
        PressLoadButton);
    const std::size_t made = ExpectAllOrNothing("New", [](FakeDialogs&) {}, PressNewButton);
    const fs::path pack = folder_ / "new.zip";
    const std::size_t selected = ExpectAllOrNothing(
        "selecting new.zip", [&](FakeDialogs& d) { d.Choose(pack.string(), 0); },
        [](Editor& e) { DispatchCommand(e, kSelectTexturePack); });
    // Each run met allocations enough to have gone through reading, staging and repainting.
    EXPECT_GT(text, 40u);
    EXPECT_GT(schematic, 40u);
    EXPECT_GE(made, 4u);
    EXPECT_GT(selected, 40u);
}

TEST_F(ActionFolder, ABuildingFileTooLargeForTheMemoryLeftChangesNothing) {
    // A 26 MB building file, as in a hand test with the address space limited.
    {
        const std::string bytes = LargeEmptyBuildingText("new.zip");
        ASSERT_GT(bytes.size(), 26'000'000u);
        test::WriteFile("Big.txt", {bytes.begin(), bytes.end()});
    }
    std::unique_ptr<EditorFixture> f = StartingEditor();
    const EditorState before = StateOf(*f);
    f->dialogs.Choose((folder_ / "Big.txt").string(), kTextFilter);
    {
        AllocationLimit limit(8 << 20);
        PressLoadButton(f->editor);
    }
    EXPECT_EQ(f->dialogs.errors,
              std::vector<std::string>{"Could not load Big.txt: not enough memory. Nothing was changed."});
    const EditorState after = StateOf(*f);
    EXPECT_TRUE(after == before) << Differences(after, before);

    // With the memory there, the same file loads.
    f->dialogs.errors.clear();
    f->dialogs.Choose((folder_ / "Big.txt").string(), kTextFilter);
    PressLoadButton(f->editor);
    EXPECT_TRUE(f->dialogs.errors.empty());
    EXPECT_EQ(f->editor.grid.Width(), 512);
    EXPECT_EQ(f->editor.texturePackName, "new.zip");
}

// New asks nothing: the building it replaces, of the same sizes or not, goes to the history,
// so undo brings it back cell for cell.
TEST_F(ActionFolder, ANewKeepsTheBuildingItReplacesForUndo) {
    std::unique_ptr<EditorFixture> f = StartingEditor();
    Editor& e = f->editor;
    e.widthSpin.SetValue(300);
    e.lengthSpin.SetValue(300);
    e.heightSpin.SetValue(40);
    PressNewButton(e);
    ASSERT_EQ(e.grid.Width(), 300);
    e.grid.At(7, 9, 3) = 2;
    e.grid.At(0, 0, 0) = 1;
    const Building drawn = e.grid;
    PressNewButton(e);
    EXPECT_TRUE(f->dialogs.errors.empty());
    EXPECT_EQ(e.grid, Building(300, 300, 40));
    DispatchCommand(e, kUndo);
    EXPECT_EQ(e.grid, drawn);

    // Other sizes take new memory, and without it keep the building.
    e.grid.At(7, 9, 3) = 2;
    const Building before = e.grid;
    e.heightSpin.SetValue(41);
    {
        AllocationLimit limit(1 << 20);
        PressNewButton(e);
    }
    EXPECT_EQ(e.grid, before);
    EXPECT_EQ(f->dialogs.errors.size(), 1u);
}

TEST_F(ActionFolder, FailuresNameTheActionAndSayWhetherAnythingChanged) {
    std::unique_ptr<EditorFixture> f = StartingEditor();
    Editor& e = f->editor;
    // New of the largest size with too little memory for it.
    e.widthSpin.SetValue(512);
    e.lengthSpin.SetValue(512);
    e.heightSpin.SetValue(256);
    {
        AllocationLimit limit(64 << 20);
        PressNewButton(e);
    }
    EXPECT_EQ(e.grid.Width(), 9);
    EXPECT_EQ(e.widthSpin.Value(), 512) << "the typed size stays for another try";

    // A failure of another kind, before any change and after the first one.
    RunUserAction(e, "swap the axes", [] { throw std::runtime_error("the disk is gone"); });
    RunUserAction(e, "paste the layer", [&] {
        e.painter.RedrawCanvas();
        throw std::bad_alloc();
    });
    // A boundary inside another reports its own action; the outer one keeps its name.
    RunUserAction(e, "load a building", [&] {
        NameRunningAction(e, "load House.txt");
        RunUserAction(e, "lay out the canvas", [] { throw 7; });
        throw std::bad_alloc();
    });
    EXPECT_EQ(f->dialogs.errors,
              (std::vector<std::string>{
                  "Could not make a new building of 512 x 512 x 256 cells: not enough memory. Nothing was changed.",
                  "Could not swap the axes: the disk is gone. Nothing was changed.",
                  "Could not paste the layer: not enough memory. Part of it may have been done.",
                  "Could not lay out the canvas: an unexpected error. Nothing was changed.",
                  "Could not load House.txt: not enough memory. Nothing was changed.",
              }));
}

TEST_F(ActionFolder, APackOutsideTheCurrentDirectoryIsRefusedBeforeAnythingChanges) {
    fs::create_directories("elsewhere");
    fs::copy_file("new.zip", "elsewhere/other.zip");
    std::unique_ptr<EditorFixture> f = StartingEditor();
    const EditorState before = StateOf(*f);
    f->dialogs.Choose((folder_ / "elsewhere" / "other.zip").string(), 0);
    DispatchCommand(f->editor, kSelectTexturePack);
    // The question and the requester come first, as always.
    EXPECT_EQ(f->dialogs.questions.size(), 1u);
    ASSERT_EQ(f->dialogs.requests.size(), 1u);
    EXPECT_EQ(f->dialogs.requests[0].title, "Choose a ZIP-Archiv");
    EXPECT_EQ(f->dialogs.errors,
              std::vector<std::string>{"Texture packs must be in the folder Stackmason was started in:\n" +
                                       fs::current_path().string() + "\nCopy the pack there and select it again."});
    const EditorState after = StateOf(*f);
    EXPECT_TRUE(after == before) << Differences(after, before);

    // The same folder reached by another way is the current directory.
    fs::create_directory_symlink(folder_, "here");
    for (const fs::path& path : {folder_ / "elsewhere" / ".." / "new.zip", folder_ / "here" / "new.zip"}) {
        std::unique_ptr<EditorFixture> g = StartingEditor();
        g->dialogs.Choose(path.string(), 0);
        DispatchCommand(g->editor, kSelectTexturePack);
        EXPECT_TRUE(g->dialogs.errors.empty()) << path;
        EXPECT_EQ(g->editor.texturePackName, "new.zip") << path;
        EXPECT_EQ(g->editor.selector.Count(), 5) << path;
        EXPECT_EQ(g->editor.grid.Width(), 20) << path;
    }
}

}  // namespace
}  // namespace stackmason::testing
