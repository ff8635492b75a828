// The layer booklet and layer pictures, read back by tools of their own: the PDF by poppler's
// pdfinfo and pdftotext (installed by the project's set-up), the pictures by Qt's PNG reader.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "editor/files/LayerPlans.h"
#include "editor/files/PlanFiles.h"
#include "editor/model/Editor.h"
#include "editor/packs/BuiltInPictures.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/TempFolder.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;

// Block codes 1 to 4 of the test pack, each a picture of one colour.
const char* const kNames[] = {"", "Granite Block", "Oak Plank", "Glass Pane", "Gold Ore"};
const Rgba kColours[] = {{}, {200, 40, 40, 255}, {40, 160, 40, 255}, {40, 40, 200, 255}, {220, 200, 20, 255}};

struct PlanEditor {
    PlanEditor(int width, int length, int height) {
        editor.selector.Add("Air", AirImage());
        for (int code = 1; code <= 4; ++code)
            editor.selector.Add(kNames[code], Image(32, 32, kColours[code]));
        editor.grid = Building(width, length, height);
    }
    testing::CountingPainter painter;
    testing::FakeWindow window;
    testing::FakeDialogs dialogs;
    Editor editor{painter, window, dialogs};
};

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What a command prints on its standard output; the test fails when it does not succeed.
std::string Output(const std::string& command) {
    std::string text;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "could not run " << command;
        return text;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, got);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return text;
}

int PdfPages(const fs::path& pdf) {
    const std::string info = Output("pdfinfo '" + pdf.string() + "'");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// The text of each page as pdftotext reads it; it ends every page with a form feed.
std::vector<std::string> PdfPageTexts(const fs::path& pdf) {
    const std::string text = Output("pdftotext -layout '" + pdf.string() + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
}

std::set<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::set<std::string> words;
    for (std::string word; in >> word;)
        words.insert(word);
    return words;
}

// Whether the page's first words are the title: "Layer 1" and not "Layer 12".
bool StartsWithTitle(const std::string& page, const std::string& title) {
    const std::size_t start = page.find_first_not_of(" \n");
    return start != std::string::npos && page.compare(start, title.size(), title) == 0 &&
           !std::isdigit(static_cast<unsigned char>(page[start + title.size()]));
}

fs::path WriteBooklet(const LayerPlan& plan, const Editor& editor, const fs::path& path) {
    std::ofstream file(path, std::ios::binary);
    WriteLayerBooklet(plan, editor.grid, editor.selector, [&](std::span<const std::uint8_t> bytes) {
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    });
    return path;
}

// Per plane, the codes on it with their counts, counted here cell by cell.
using PlaneCounts = std::map<int, std::map<BlockCode, int>>;
PlaneCounts CountPlanes(const Editor& editor) {
    PlaneCounts planes;
    const Building& grid = editor.grid;
    for (int h = 1; h <= grid.Height(); ++h)
        for (int y = 1; y <= grid.Length(); ++y)
            for (int x = 1; x <= grid.Width(); ++x)
                if (const BlockCode code = grid.Cell(x, y, h); code != 0)
                    ++planes[editor.InTopView() ? h : x][code];
    return planes;
}

// A building with empty layers between full, partial and single-block ones, and a block on
// the ground, which no page shows.
void BuildWithGaps(Editor& editor) {
    Building& grid = editor.grid;
    for (int y = 1; y <= grid.Length(); ++y)
        for (int x = 1; x <= grid.Width(); ++x) {
            grid.At(x, y, 1) = 1;
            grid.At(x, y, 0) = 4;
        }
    for (int x = 2; x <= 7; ++x)
        grid.At(x, 3, 3) = x % 2 == 0 ? 2 : 3;
    grid.At(5, 5, 6) = 4;
}

class PlanPainterTest : public ::testing::Test {
protected:
    test::TempFolder temp{"stackmason-plans"};
};

// The booklet holds the cover and a page per layer with a block, in order: pdftotext finds
// each title on its page, the names of the blocks on that layer (and no other) with their
// counts on the layer and up to it, and the cover lists every block.
TEST_F(PlanPainterTest, BookletHasACoverAndAPagePerLayerWithABlock) {
    for (const bool topView : {true, false}) {
        SCOPED_TRACE(topView ? "TopView" : "FrontView");
        PlanEditor built(12, 9, 6);
        Editor& editor = built.editor;
        editor.viewMode = topView ? ViewMode::TopView : ViewMode::FrontView;
        BuildWithGaps(editor);
        const PlaneCounts planes = CountPlanes(editor);
        const LayerPlan plan = MakeLayerPlan(editor, "gaps");
        const fs::path pdf = WriteBooklet(plan, editor, temp.Path() / "gaps.pdf");

        ASSERT_EQ(CoverPageCount(plan), 1);
        EXPECT_EQ(PdfPages(pdf), 1 + static_cast<int>(planes.size()));
        const std::vector<std::string> pages = PdfPageTexts(pdf);
        ASSERT_EQ(pages.size(), 1 + planes.size());
        for (int code = 1; code <= 4; ++code)
            EXPECT_NE(pages[0].find(kNames[code]), std::string::npos) << kNames[code];
        EXPECT_NE(pages[0].find("gaps"), std::string::npos);

        std::map<BlockCode, int> upToHere;
        std::size_t index = 1;
        for (const auto& [plane, counts] : planes) {
            const std::string& page = pages[index++];
            const std::string title = (topView ? "Layer " : "Slice ") + std::to_string(plane);
            EXPECT_TRUE(StartsWithTitle(page, title)) << title << " in\n" << page;
            const std::set<std::string> words = Words(page);
            for (BlockCode code = 1; code <= 4; ++code) {
                const bool on = counts.contains(code);
                EXPECT_EQ(page.find(kNames[code]) != std::string::npos, on) << title << " " << kNames[code];
                if (!on)
                    continue;
                upToHere[code] += counts.at(code);
                EXPECT_TRUE(words.contains(std::to_string(counts.at(code)))) << title << " " << kNames[code];
                EXPECT_TRUE(words.contains(std::to_string(upToHere[code]))) << title << " " << kNames[code];
            }
        }
    }
}

// A layer too large for a page is printed as tiles, a page each, each naming its place; the
// coordinates along the edges are those of the tile's cells.
TEST_F(PlanPainterTest, LargeLayersArePrintedAsNumberedTiles) {
    PlanEditor built(120, 100, 2);
    Editor& editor = built.editor;
    for (int y = 1; y <= 100; ++y)
        for (int x = 1; x <= 120; ++x)
            editor.grid.At(x, y, 2) = 1 + (x + y) % 3;
    const LayerPlan plan = MakeLayerPlan(editor, "wide");
    ASSERT_GT(plan.pages.size(), 1u);
    const fs::path pdf = WriteBooklet(plan, editor, temp.Path() / "wide.pdf");
    EXPECT_EQ(PdfPages(pdf), 1 + static_cast<int>(plan.pages.size()));
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 1 + plan.pages.size());
    const std::string of = " of " + std::to_string(plan.pages.size());
    for (std::size_t tile = 0; tile < plan.pages.size(); ++tile) {
        const std::string& text = pages[tile + 1];
        EXPECT_TRUE(StartsWithTitle(text, "Layer 2")) << text;
        EXPECT_NE(text.find("tile " + std::to_string(tile + 1) + of), std::string::npos) << text;
        const PlaneRect& cells = plan.pages[tile].cells;
        const std::set<std::string> words = Words(text);
        // Every fifth cell of the tile is numbered, across and down.
        for (const auto& [first, count] : {std::pair{cells.column, cells.columns}, std::pair{cells.row, cells.rows}})
            for (int fifth = (first + 4) / 5 * 5; fifth < first + count; fifth += 5)
                EXPECT_TRUE(words.contains(std::to_string(fifth))) << fifth;
    }
}

// A cover longer than a page continues on the next one, and still lists every block.
TEST_F(PlanPainterTest, LongMaterialListsContinueOnMoreCoverPages) {
    PlanEditor built(20, 20, 1);
    Editor& editor = built.editor;
    for (int code = 5; code <= 150; ++code)
        editor.selector.Add("Block number " + std::to_string(code), Image(32, 32, {10, 10, 10, 255}));
    for (int code = 1; code <= 150; ++code)
        editor.grid.At(1 + (code - 1) % 20, 1 + (code - 1) / 20, 1) = code;
    const LayerPlan plan = MakeLayerPlan(editor, "many");
    const int covers = CoverPageCount(plan);
    ASSERT_GT(covers, 1);
    const fs::path pdf = WriteBooklet(plan, editor, temp.Path() / "many.pdf");
    EXPECT_EQ(PdfPages(pdf), covers + 1);
    const std::vector<std::string> pages = PdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(covers + 1));
    std::string cover;
    for (int page = 0; page < covers; ++page)
        cover += pages[static_cast<std::size_t>(page)];
    for (int code = 5; code <= 150; ++code)
        EXPECT_NE(cover.find("Block number " + std::to_string(code) + " "), std::string::npos) << code;
    EXPECT_TRUE(StartsWithTitle(pages[static_cast<std::size_t>(covers)], "Layer 1"));
}

// Where the centre of cell (column, row) of a page lies on its picture.
QPoint CellCentre(const PlanPage& page, const LayerPlan& plan, int column, int row, double dotsPerInch) {
    const PageRectMm grid = PageLayout(plan.settings.paper, page.landscape).grid;
    const double perMm = dotsPerInch / 25.4;
    return {static_cast<int>((grid.x + (column - page.cells.column + 0.5) * page.cellMm) * perMm),
            static_cast<int>((grid.y + (row - page.cells.row + 0.5) * page.cellMm) * perMm)};
}

Rgba PixelOf(const QImage& image, QPoint at) {
    const QRgb pixel = image.pixel(at);
    return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
            static_cast<std::uint8_t>(qBlue(pixel)), 255};
}

// A picture per page, named after its layer, of the paper's size; blocks show their
// pictures, air over a block of the layer below a grey shadow, air over air white.
TEST_F(PlanPainterTest, PicturesShowEachLayerWithTheShadowOfTheOneBelow) {
    PlanEditor built(12, 9, 6);
    Editor& editor = built.editor;
    BuildWithGaps(editor);
    const LayerPlan plan = MakeLayerPlan(editor, "gaps");
    constexpr double kDpi = 100;
    std::vector<std::string> names;
    std::vector<QImage> images;
    PaintLayerPictures(
        plan, editor.grid, editor.selector,
        [&](const PlanPicture& picture) {
            names.push_back(picture.name);
            QImage image;
            EXPECT_TRUE(image.loadFromData(picture.png.data(), static_cast<int>(picture.png.size()), "PNG"));
            images.push_back(image);
        },
        kDpi);
    EXPECT_EQ(names, (std::vector<std::string>{"layer-001.png", "layer-003.png", "layer-006.png"}));
    ASSERT_EQ(images.size(), 3u);
    for (std::size_t index = 0; index < images.size(); ++index) {
        const bool landscape = plan.pages[index].landscape;
        const QSize a4(static_cast<int>(std::lround(210 / 25.4 * kDpi)), static_cast<int>(std::lround(297 / 25.4 * kDpi)));
        EXPECT_EQ(images[index].size(), landscape ? a4.transposed() : a4);
    }
    const auto at = [&](std::size_t page, int x, int y) {
        return PixelOf(images[page], CellCentre(plan.pages[page], plan, x, y, kDpi));
    };
    const Rgba white{255, 255, 255, 255};
    EXPECT_EQ(at(0, 4, 4), kColours[1]);
    EXPECT_EQ(at(1, 2, 3), kColours[2]);
    EXPECT_EQ(at(1, 3, 3), kColours[3]);
    const Rgba shadow = at(1, 4, 6);  // air on layer 3 over layer 2's air: white
    EXPECT_EQ(shadow, white);
    EXPECT_EQ(at(2, 5, 5), kColours[4]);
    EXPECT_EQ(at(2, 2, 2), white);  // layer 5 below is empty

    // Layer 2 of a building whose layer 1 is full: grey where layer 2 has air.
    editor.grid.At(1, 1, 2) = 2;
    const LayerPlan shadowed = MakeLayerPlan(editor, "shadow");
    std::vector<QImage> second;
    PaintLayerPictures(
        shadowed, editor.grid, editor.selector,
        [&](const PlanPicture& picture) {
            QImage image;
            image.loadFromData(picture.png.data(), static_cast<int>(picture.png.size()), "PNG");
            second.push_back(image);
        },
        kDpi);
    ASSERT_EQ(second.size(), 4u);
    const Rgba grey = PixelOf(second[1], CellCentre(shadowed.pages[1], shadowed, 6, 6, kDpi));
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.g, grey.b);
    EXPECT_GT(grey.r, 150);
    EXPECT_LT(grey.r, 250);
    EXPECT_EQ(PixelOf(second[1], CellCentre(shadowed.pages[1], shadowed, 1, 1, kDpi)), kColours[2]);
}

// The menu's saves: the requester's answer with ".pdf" appended, an existing booklet replaced
// only after asking, the pictures into the chosen folder.
TEST_F(PlanPainterTest, MenuSavesAskBeforeReplacing) {
    PlanEditor built(12, 9, 6);
    Editor& editor = built.editor;
    testing::FakeDialogs& dialogs = built.dialogs;
    BuildWithGaps(editor);
    const std::string path = (temp.Path() / "house").string();
    dialogs.Choose(path, 0);
    EXPECT_TRUE(SaveLayerBooklet(editor));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].filters.at(0).first, "pdf(*.pdf)");
    EXPECT_EQ(PdfPages(path + ".pdf"), 4);
    EXPECT_TRUE(dialogs.questions.empty());

    std::ofstream(path + ".pdf", std::ios::binary) << "keep me";
    dialogs.answerYes = false;
    dialogs.Choose(path + ".pdf", 0);
    EXPECT_FALSE(SaveLayerBooklet(editor));
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(ReadFile(path + ".pdf"), "keep me");
    dialogs.answerYes = true;
    dialogs.Choose(path + ".pdf", 0);
    EXPECT_TRUE(SaveLayerBooklet(editor));
    EXPECT_EQ(PdfPages(path + ".pdf"), 4);

    const fs::path folder = temp.Path() / "pictures";
    fs::create_directory(folder);
    EXPECT_FALSE(SaveLayerPictures(editor));  // no folder chosen
    EXPECT_TRUE(fs::is_empty(folder));
    dialogs.folderAnswer = folder.string();
    EXPECT_TRUE(SaveLayerPictures(editor));
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, (std::set<std::string>{"layer-001.png", "layer-003.png", "layer-006.png"}));
    const std::size_t asked = dialogs.questions.size();
    dialogs.answerYes = false;
    EXPECT_FALSE(SaveLayerPictures(editor));
    EXPECT_EQ(dialogs.questions.size(), asked + 1);
    EXPECT_TRUE(dialogs.errors.empty());
}

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
