#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "editor/canvas/CanvasRepaint.h"
#include "FilesTestSupport.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/BuildingWriter.h"
#include "editor/files/FileRequests.h"
#include "editor/model/BuildingOperations.h"

namespace stackmason::testing {
namespace {

const std::string kWorkedExample =
    "3x2x2;stackmason.zip\r\n------\r\nlayer 1\r\n0/1\r\n///\r\n\r\nlayer 2\r\n/2/\r\n///\r\n\r\n";

void FillWorkedExample(Editor& editor) {
    editor.grid.At(1, 1, 1) = 1;
    editor.grid.At(3, 1, 1) = 2;
    editor.grid.At(2, 1, 2) = 3;
}

void Load(FilesTestEditor& test, const std::string& path, int filter = kTextFilter) {
    test.dialogs.Choose(path, filter);
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
}

void Save(FilesTestEditor& test, const std::string& path, int filter = kTextFilter) {
    test.dialogs.Choose(path, filter);
    SaveBuilding(test.editor, false);
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BuildingText, WorkedExampleSavesLoadsAndPreviewsByteForByte) {
    FilesTestEditor test(3, 2, 2);
    FillWorkedExample(test.editor);
    // The index-0 planes, the ground included, are not saved.
    test.editor.grid.At(0, 1, 1) = 4;
    test.editor.grid.At(1, 0, 1) = 4;
    test.editor.grid.At(2, 2, 0) = 4;
    Save(test, "example");
    EXPECT_EQ(ReadText("example.txt"), kWorkedExample);
    EXPECT_EQ(kWorkedExample.size(), 72u);
    EXPECT_EQ(BuildingFileSize(3, 2, 2, 20), 72u);

    ASSERT_EQ(test.dialogs.requests.size(), 1u);
    const FileRequest& request = test.dialogs.requests[0];
    EXPECT_EQ(request.title, "Save Building ");
    ASSERT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.filters[0], (std::pair<std::string, std::string>{"txt(*.txt)", "*.txt"}));
    EXPECT_EQ(request.filters[1], (std::pair<std::string, std::string>{"schematic(*.schematic)", "*.schematic"}));
    EXPECT_EQ(request.filters[2], (std::pair<std::string, std::string>{"schem(*.schem)", "*.schem"}));
    EXPECT_EQ(request.filters[3], (std::pair<std::string, std::string>{"litematic(*.litematic)", "*.litematic"}));
    EXPECT_EQ(request.selectedFilter, 0);
    EXPECT_EQ(request.startName, std::filesystem::current_path().string());

    SaveBuilding(test.editor, true);
    EXPECT_EQ(ReadText(kPreviewFileName), kWorkedExample);
    EXPECT_EQ(test.dialogs.requests.size(), 1u);
    EXPECT_TRUE(test.dialogs.errors.empty());

    // Load it into a building of other sizes, in FrontView, with a pack of two blocks present.
    WritePack("stackmason.zip", {"stone_001.png", "grass_002.png"});
    test.editor.widthSpin.SetValue(9);
    NewBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    test.editor.viewMode = ViewMode::FrontView;
    test.editor.layerSpin.SetValue(2);
    Load(test, "example.txt");
    EXPECT_EQ(test.dialogs.requests.back().title, "Load Building ");
    EXPECT_EQ(test.dialogs.requests.back().selectedFilter, 0);
    EXPECT_EQ(test.editor.grid.Width(), 3);
    EXPECT_EQ(test.editor.grid.Length(), 2);
    EXPECT_EQ(test.editor.grid.Height(), 2);
    EXPECT_EQ(test.editor.widthSpin.Value(), 3);
    EXPECT_EQ(test.editor.texturePackName, "stackmason.zip");
    EXPECT_EQ(test.editor.selector.Count(), 3);
    EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{1, 0, 0, 0, 0, 3, 0, 0, 2, 0, 0, 0}));
    EXPECT_TRUE(test.editor.InTopView());
    EXPECT_EQ(test.editor.CurrentLayer(), 1);
    EXPECT_EQ(test.editor.layerSpin.Maximum(), 2);
    EXPECT_EQ(test.editor.frontViewLayer, 1);
    EXPECT_EQ(test.painter.canvasWidth, 3 * 32 + 5);
    EXPECT_EQ(test.painter.canvasHeight, 2 * 32 + 5);
    EXPECT_EQ(test.window.dropped, 1);
    EXPECT_TRUE(test.dialogs.errors.empty());
}

TEST(BuildingText, RandomBuildingsRoundTripWithCrLfAndWithLfAlone) {
    FilesTestEditor test(1, 1, 1);
    std::mt19937 random(5);
    const int sizes[][3] = {{1, 1, 1}, {7, 3, 12}, {13, 17, 11}, {40, 2, 33}};
    for (const auto& size : sizes) {
        test.editor.widthSpin.SetValue(size[0]);
        test.editor.lengthSpin.SetValue(size[1]);
        test.editor.heightSpin.SetValue(size[2]);
        NewBuilding(test.editor);
        ShowRequestedRepaint(test.editor);
        for (int x = 1; x <= size[0]; ++x)
            for (int y = 1; y <= size[1]; ++y)
                for (int h = 1; h <= size[2]; ++h) {
                    BlockCode code = static_cast<BlockCode>(random() % 255) - 46;
                    test.editor.grid.At(x, y, h) = CellCodeRoundTrips(code) ? code : 5;
                }
        const std::vector<BlockCode> saved = BuildingCells(test.editor);
        Save(test, "random.txt");
        const std::string text = ReadText("random.txt");
        const std::string dimensions =
            std::to_string(size[0]) + "x" + std::to_string(size[1]) + "x" + std::to_string(size[2]);
        std::uint64_t expectedSize = dimensions.size() + std::string(";stackmason.zip\r\n------\r\n").size();
        for (int h = 1; h <= size[2]; ++h)
            expectedSize += 8 + std::to_string(h).size() + std::uint64_t(size[1]) * (size[0] + 2) + 2;
        EXPECT_EQ(text.size(), expectedSize);

        std::string lfOnly;
        std::copy_if(text.begin(), text.end(), std::back_inserter(lfOnly), [](char c) { return c != '\r'; });
        WriteText("lf.txt", lfOnly);
        for (const char* path : {"random.txt", "lf.txt"}) {
            NewBuilding(test.editor);
            ShowRequestedRepaint(test.editor);
            Load(test, path);
            EXPECT_EQ(BuildingCells(test.editor), saved) << path << " " << size[0] << "x" << size[1];
        }
    }
    EXPECT_TRUE(test.dialogs.errors.empty());
}

TEST(BuildingText, LoadFollowsTheReadingRules) {
    FilesTestEditor test(30, 4, 4);
    // A width beyond the field's range keeps the width shown before; 600-byte rows end
    // every layer at once, so all stays air. Length and height are taken.
    std::string wide = "600x20x10;p.zip\r\n------\r\nlayer 1\r\n" + std::string(600, '0') + "\r\n\r\n";
    WriteText("wide.txt", wide);
    Load(test, "wide.txt");
    EXPECT_EQ(test.editor.grid.Width(), 30);
    EXPECT_EQ(test.editor.grid.Length(), 20);
    EXPECT_EQ(test.editor.grid.Height(), 10);
    EXPECT_EQ(test.editor.texturePackName, "p.zip");
    const std::vector<BlockCode> cells = BuildingCells(test.editor);
    EXPECT_TRUE(std::all_of(cells.begin(), cells.end(), [](BlockCode c) { return c == 0; }));

    // Titles and separator are not read; "#" is code -12; what follows layer H is ignored.
    WriteText("odd.txt", "2x1x1;pack\r\nxxxx\r\nlayer 7\r\n#1\r\n\r\nlayer 2\r\n55\r\n\r\n");
    Load(test, "odd.txt");
    EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{-12, 2}));
    Save(test, "hash.txt");
    EXPECT_EQ(ReadText("hash.txt"), "2x1x1;pack\r\n------\r\nlayer 1\r\n#1\r\n\r\n");

    // Saving through a link replaces the file the link names and keeps the link.
    std::filesystem::create_symlink("hash.txt", "link.txt");
    test.editor.grid.At(1, 1, 1) = 3;
    Save(test, "link.txt");
    EXPECT_TRUE(std::filesystem::is_symlink("link.txt"));
    EXPECT_EQ(ReadText("hash.txt"), "2x1x1;pack\r\n------\r\nlayer 1\r\n21\r\n\r\n");

    // A header without ";" is the pack name whole; one ending in ";" names no pack.
    WriteText("nosemi.txt", "2x2x1\r\n------\r\nlayer 1\r\n01\r\n");
    Load(test, "nosemi.txt");
    EXPECT_EQ(test.editor.texturePackName, "2x2x1");
    EXPECT_EQ(BuildingCells(test.editor), (std::vector<BlockCode>{1, 0, 2, 0}));
    WritePack("stackmason.zip", {"stone_001.png"});
    WriteText("empty-pack.txt", "1x1x1;\r\n------\r\n");
    Load(test, "empty-pack.txt");
    EXPECT_EQ(test.editor.texturePackName, "");
    EXPECT_EQ(test.editor.selector.Count(), 1);
    EXPECT_EQ(test.editor.SelectedBlock(), 0);

    // Sizes that are no numbers or 0 keep the fields' values.
    test.editor.widthSpin.SetValue(3);
    test.editor.lengthSpin.SetValue(2);
    test.editor.heightSpin.SetValue(5);
    WriteText("zero.txt", "0xaxb;stackmason.zip\n-\nlayer 1\n0/0\n");
    Load(test, "zero.txt");
    EXPECT_EQ(test.editor.grid.Width(), 3);
    EXPECT_EQ(test.editor.grid.Length(), 2);
    EXPECT_EQ(test.editor.grid.Height(), 5);
    EXPECT_EQ(test.editor.grid.At(1, 1, 1), 1);
    EXPECT_EQ(test.editor.selector.Count(), 2);
    EXPECT_EQ(test.editor.SelectedBlock(), 1);
    EXPECT_TRUE(test.dialogs.errors.empty());
}

TEST(BuildingText, NamesTypesAndCrossedFilters) {
    FilesTestEditor test(3, 2, 2);
    FillWorkedExample(test.editor);
    Save(test, "b.TXT");
    Save(test, "plain");
    Save(test, "kept.txt");
    Save(test, "x.Schematic", kSchematicFilter);
    Save(test, "y.schematic", kSchematicFilter);
    test.dialogs.Cancel();
    SaveBuilding(test.editor, false);
    EXPECT_EQ(FilesIn("."), (std::vector<std::string>{"b.TXT.txt", "kept.txt", "plain.txt", "x.Schematic.schematic",
                                                      "y.schematic"}));
    EXPECT_EQ(ReadBytes("y.schematic").size(), 148u);
    EXPECT_EQ(WithExtension("dir.v2/House", "txt"), "dir.v2/House.txt");
    EXPECT_EQ(WithExtension("House.", "txt"), "House..txt");
    EXPECT_EQ(WithExtension("a.b.txt", "txt"), "a.b.txt");

    // The text filter reads a schematic as text: its first line is no header with sizes.
    test.editor.widthSpin.SetValue(4);
    NewBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    Load(test, "y.schematic");
    EXPECT_EQ(test.editor.grid.Width(), 4);
    EXPECT_TRUE(test.dialogs.errors.empty());

    // The schematic filter on a text file refuses it and changes nothing.
    const std::vector<BlockCode> before = BuildingCells(test.editor);
    const std::string packBefore = test.editor.texturePackName;
    Load(test, "kept.txt", kSchematicFilter);
    ASSERT_EQ(test.dialogs.errors.size(), 1u);
    EXPECT_NE(test.dialogs.errors[0].find("kept.txt"), std::string::npos);
    EXPECT_EQ(BuildingCells(test.editor), before);
    EXPECT_EQ(test.editor.texturePackName, packBefore);

    // Cancelling the open requester changes nothing either.
    test.dialogs.Cancel();
    LoadBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    EXPECT_EQ(BuildingCells(test.editor), before);
    EXPECT_EQ(test.dialogs.errors.size(), 1u);
}

// Whether the user types the extension or leaves it to the editor, a file that the save would
// replace is asked about first, in the same words; No writes nothing.
TEST(BuildingText, SaveAsksBeforeReplacingAFileWhateverNameWasTyped) {
    FilesTestEditor test(3, 2, 2);
    FillWorkedExample(test.editor);
    WriteText("House.txt", "old house");
    WriteText("Tower.schematic", "old tower");
    std::filesystem::create_directory("Shed.txt");
    const std::string house = "House.txt already exists.\nDo you want to replace it?";
    const std::string tower = "Tower.schematic already exists.\nDo you want to replace it?";

    test.dialogs.answerYes = false;
    for (const char* typed : {"House", "House.txt"})
        Save(test, typed);
    for (const char* typed : {"Tower", "Tower.schematic"})
        Save(test, typed, kSchematicFilter);
    EXPECT_EQ(test.dialogs.questions, (std::vector<std::string>{house, house, tower, tower}));
    EXPECT_EQ(ReadText("House.txt"), "old house");
    EXPECT_EQ(ReadText("Tower.schematic"), "old tower");

    // New names, the folder (which cannot be written anyway) and the preview file ask nothing.
    test.dialogs.questions.clear();
    Save(test, "Barn");
    Save(test, "Mill", kSchematicFilter);
    Save(test, "Shed");
    WriteText(kPreviewFileName, "stale");
    SaveBuilding(test.editor, true);
    EXPECT_TRUE(test.dialogs.questions.empty());
    EXPECT_EQ(test.dialogs.errors, std::vector<std::string>{"Could Not Create File !"});
    EXPECT_EQ(ReadText("Barn.txt"), kWorkedExample);
    EXPECT_EQ(ReadText(kPreviewFileName), kWorkedExample);

    // Yes replaces.
    test.dialogs.answerYes = true;
    Save(test, "House");
    Save(test, "Tower", kSchematicFilter);
    EXPECT_EQ(test.dialogs.questions, (std::vector<std::string>{house, tower}));
    EXPECT_EQ(ReadText("House.txt"), kWorkedExample);
    EXPECT_EQ(ReadBytes("Tower.schematic"), ReadBytes("Mill.schematic"));
}

TEST(BuildingText, FailuresNeverCostData) {
    FilesTestEditor test(4, 3, 2);
    WriteText("old.txt", "old content");
    test.editor.grid.At(1, 1, 1) = 209;
    test.editor.grid.At(2, 1, 1) = -47;
    test.editor.grid.At(3, 1, 1) = -37;
    test.editor.grid.At(4, 1, 1) = -34;
    test.editor.grid.At(1, 2, 2) = -46;
    test.editor.grid.At(2, 2, 2) = 208;
    Save(test, "old.txt");
    ASSERT_EQ(test.dialogs.errors.size(), 1u);
    EXPECT_NE(test.dialogs.errors[0].find(" 4 cells "), std::string::npos) << test.dialogs.errors[0];
    EXPECT_EQ(ReadText("old.txt"), "old content");
    SaveBuilding(test.editor, true);
    EXPECT_FALSE(std::filesystem::exists(kPreviewFileName));
    EXPECT_EQ(test.dialogs.errors.size(), 2u);

    // A file that cannot be created, for the Save button and for the preview.
    test.dialogs.errors.clear();
    for (int x = 1; x <= 4; ++x)
        test.editor.grid.At(x, 1, 1) = 1;
    Save(test, "missing/folder/b");
    std::filesystem::create_directory(kPreviewFileName);
    SaveBuilding(test.editor, true);
    EXPECT_EQ(test.dialogs.errors, (std::vector<std::string>{"Could Not Create File !", "Could Not Create File !"}));

    // A text file that cannot be opened is reported and changes nothing.
    test.dialogs.errors.clear();
    const std::vector<BlockCode> before = BuildingCells(test.editor);
    Load(test, "nowhere.txt");
    EXPECT_EQ(test.dialogs.errors, std::vector<std::string>{"Could not open file!"});
    EXPECT_EQ(BuildingCells(test.editor), before);
    EXPECT_EQ(test.window.dropped, 0);

    // A write that fails midway (the file size limit) keeps the old file and leaves no
    // temporary file behind.
    test.dialogs.errors.clear();
    test.editor.widthSpin.SetValue(200);
    test.editor.lengthSpin.SetValue(200);
    NewBuilding(test.editor);
    ShowRequestedRepaint(test.editor);
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Save(test, "old.txt");
    ::setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_EQ(test.dialogs.errors.size(), 1u);
    EXPECT_NE(test.dialogs.errors[0].find("Could not write the file old.txt"), std::string::npos);
    EXPECT_EQ(ReadText("old.txt"), "old content");
    EXPECT_EQ(FilesIn("."), (std::vector<std::string>{"old.txt", kPreviewFileName}));
}

}  // namespace
}  // namespace stackmason::testing
