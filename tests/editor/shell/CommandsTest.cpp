#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QLabel>
#include <QTimer>
#include <QWheelEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>
#include <map>
#include <new>
#include <fstream>
#include <sstream>

#include "editor/canvas/CanvasRepaint.h"
#include "editor/model/BuildingOperations.h"
#include "editor/model/Views.h"
#include "editor/files/BuildingFiles.h"
#include "editor/files/GameVersions.h"
#include "editor/packs/TexturePackLoader.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/DispatchCommand.h"
#include "editor/shell/MainWindow.h"
#include "editor/shell/MaterialListWindow.h"
#include "editor/shell/PreviewLaunch.h"
#include "editor/shell/QtDialogs.h"
#include "tests/editor/shell/ShellTestSupport.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct StartedWindow {
    testing::PackFolder folder{"stackmason-commands"};
    testing::FakeDialogs* dialogs = nullptr;
    std::unique_ptr<MainWindow> window = testing::StartMainWindow(dialogs);
    Editor& E() { return window->State(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(focus, key, modifiers);
    }
};

// An editor painting onto a real tile canvas in a fake window, with Qt's own dialogs.
struct QtDialogsEditor {
    QtDialogsEditor() { renderer.Attach(editor); }

    TileCanvas canvas;
    CanvasRenderer renderer{canvas};
    testing::FakeWindow window;
    QtDialogs dialogs{nullptr};
    Editor editor{renderer, window, dialogs};
};

TEST(Shortcuts, ActWhicheverControlHasTheFocus) {
    StartedWindow w;
    Editor& e = w.E();
    // Backspace in a spin field clears the layer instead of deleting a digit.
    e.grid.At(2, 2, 1) = 5;
    w.window->Control(6).setFocus();
    QTest::keyClick(w.window->Control(6).findChild<QLineEdit*>(), Qt::Key_Backspace);
    EXPECT_EQ(w.window->Control(6).findChild<QLineEdit*>()->text(), "29");
    EXPECT_EQ(e.grid.At(2, 2, 1), 0);

    // Tab switches the view back and forth.
    w.Key(Qt::Key_Tab);
    EXPECT_FALSE(e.InTopView());
    EXPECT_EQ(ViewToggleLabel(e), "TopView");
    w.Key(Qt::Key_Tab);
    EXPECT_TRUE(e.InTopView());

    // C on layer 3, V on layers 5 and 6.
    e.layerSpin.SetValue(3);
    e.grid.At(4, 4, 3) = 7;
    w.Key(Qt::Key_C);
    e.layerSpin.SetValue(5);
    w.Key(Qt::Key_V);
    e.layerSpin.SetValue(6);
    w.Key(Qt::Key_V);
    EXPECT_EQ(e.grid.At(4, 4, 5), 7);
    EXPECT_EQ(e.grid.At(4, 4, 6), 7);

    // Ctrl+D acts on the key-up of D while Ctrl is held.
    e.layerSpin.SetValue(3);
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w.window.get();
    QTest::keyPress(focus, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(4, 4, 4), 0);
    QTest::keyRelease(focus, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(4, 4, 4), 7);
    QTest::keyPress(focus, Qt::Key_D, Qt::ControlModifier);
    QTest::keyRelease(focus, Qt::Key_D, Qt::NoModifier);  // Ctrl let go first
    EXPECT_EQ(e.grid.At(4, 4, 5), 7);
    EXPECT_EQ(e.CurrentLayer(), 4);

    // Ctrl+R in FrontView changes nothing; R in FrontView first shows TopView, then flips.
    w.Key(Qt::Key_Tab);
    const Building before = e.grid;
    w.Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(e.grid, before);
    w.Key(Qt::Key_R);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.grid.Width(), 20);
    EXPECT_EQ(e.grid.Length(), 29);
    EXPECT_EQ(e.grid.At(4, 4, 3), 7);
}

TEST(Shortcuts, ReturnShowsTheTypedLayerOnlyFromTheLayerField) {
    StartedWindow w;
    Editor& e = w.E();
    e.grid.At(1, 1, 5) = 3;
    auto* text = w.window->Control(9).findChild<QLineEdit*>();
    QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_EQ(text->text(), "");
    QTest::keyClicks(text, "5");
    EXPECT_EQ(e.CurrentLayer(), 5);
    const Rgba before = w.window->Canvas().Pixel(16, 28);
    w.window->Control(10).setFocus();
    QTest::keyClick(&w.window->Control(10), Qt::Key_Return);
    EXPECT_EQ(w.window->Canvas().Pixel(16, 28), before);
    w.window->Control(9).setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_NE(w.window->Canvas().Pixel(16, 28), before);

    // W, A, S, D scroll by 30 within the range.
    w.window->Scroller().horizontalScrollBar()->setValue(0);
    e.widthSpin.SetValue(100);
    NewBuilding(e);
    ShowRequestedRepaint(e);
    QApplication::processEvents();
    w.Key(Qt::Key_D);
    w.Key(Qt::Key_D);
    EXPECT_EQ(w.window->Scroller().horizontalScrollBar()->value(), 60);
    w.Key(Qt::Key_A);
    w.Key(Qt::Key_A);
    w.Key(Qt::Key_A);
    EXPECT_EQ(w.window->Scroller().horizontalScrollBar()->value(), 0);
}

TEST(Dispatch, MessagesFlagsAndUnknownIds) {
    testing::PackFolder folder("stackmason-dispatch");
    testing::EditorFixture f;
    Editor& e = f.editor;
    NewBuilding(e);
    DispatchCommand(e, kLoadBrush);
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "I'm sorry, this feature is currently not available!");
    DispatchCommand(e, kRandomBrush);
    EXPECT_TRUE(e.randomBrushActive);
    DispatchCommand(e, kSilhouette);
    EXPECT_TRUE(e.silhouetteOn);
    const Building before = e.grid;
    for (int id : {0, 12, 13, 17, 75, 77, 1000, -1})
        DispatchCommand(e, id);
    EXPECT_EQ(e.grid, before);
    EXPECT_EQ(f.dialogs.errors.size(), 1u);
}

TEST(PreviewLaunch, RunsTheProgramOnTheExchangeFileAndDeletesIt) {
    testing::PackFolder folder("stackmason-preview");
    const fs::path programs = folder.path / "bin";
    fs::create_directories(programs);
    {
        std::ofstream script(programs / "orbitscope");
        script << "#!/bin/sh\necho \"$# $1 $(pwd)\" > launched.txt\ncp \"$1\" seen.tmp\n";
    }
    fs::permissions(programs / "orbitscope", fs::perms::owner_all);

    QtDialogsEditor f;
    Editor& e = f.editor;
    e.programFolder = programs.string();
    NewBuilding(e);
    e.grid.At(1, 1, 1) = 1;
    DispatchCommand(e, kOrbitscope);

    EXPECT_EQ(ReadText("launched.txt"), "1 preview.tmp " + folder.path.string() + "\n");
    EXPECT_EQ(ReadText("seen.tmp").substr(0, 24), "29x20x18;stackmason.zip\r");
    EXPECT_FALSE(fs::exists("preview.tmp"));

    // Without the program nothing is said and the file goes all the same.
    e.programFolder = (folder.path / "nowhere").string();
    fs::remove(programs / "orbitscope");
    DispatchCommand(e, kOrbitscope);
    EXPECT_FALSE(fs::exists("preview.tmp"));
    EXPECT_EQ(FindPreviewProgram(e.programFolder), "orbitscope");
}

// While the preview runs the window takes no input; what the user clicked and typed meanwhile
// is dropped when the wait ends, not run as edits the user never saw.
class DialogsQueueingInput final : public testing::FakeDialogs {
public:
    explicit DialogsQueueingInput(std::function<void()> duringRun) : duringRun_(std::move(duringRun)) {}
    bool RunAndWait(const std::string& program, const std::string& argument, const std::string& folder) override {
        duringRun_();
        return FakeDialogs::RunAndWait(program, argument, folder);
    }

private:
    std::function<void()> duringRun_;
};

TEST(PreviewLaunch, InputGivenWhileThePreviewRunsIsDropped) {
    testing::PackFolder folder("stackmason-preview-input");
    MainWindow* target = nullptr;
    auto dialogs = std::make_unique<DialogsQueueingInput>([&] {
        QWidget& canvas = target->CanvasWidget();
        const QPointF at(48, 48);
        QCoreApplication::postEvent(&canvas, new QMouseEvent(QEvent::MouseButtonPress, at, canvas.mapToGlobal(at),
                                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(&canvas, new QMouseEvent(QEvent::MouseButtonRelease, at, canvas.mapToGlobal(at),
                                                              Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : target;
        QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
        QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier));
        QCoreApplication::postEvent(&canvas, new QWheelEvent(at, canvas.mapToGlobal(at), QPoint(), QPoint(0, 120),
                                                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
    });
    DialogsQueueingInput* fake = dialogs.get();
    MainWindow window(std::move(dialogs));
    target = &window;
    window.Start();
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Editor& e = window.State();

    DispatchCommand(e, kOrbitscope);
    QApplication::processEvents();
    EXPECT_EQ(fake->runs.size(), 1u);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.grid.At(2, 2, 1), 0);

    // Afterwards the window reacts again.
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key_Tab);
    EXPECT_FALSE(e.InTopView());
}

// When "preview.tmp" could not be written, whatever stands under that name is not the
// editor's: a folder, or a file the refused building left alone, stays.
TEST(PreviewLaunch, DeletesOnlyTheFileItWrote) {
    testing::PackFolder folder("stackmason-preview-keep");
    testing::EditorFixture f;
    Editor& e = f.editor;
    NewBuilding(e);
    fs::create_directory(kPreviewFileName);
    DispatchCommand(e, kOrbitscope);
    EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{"Could Not Create File !"});
    EXPECT_EQ(f.dialogs.runs.size(), 1u);
    EXPECT_TRUE(fs::is_directory(kPreviewFileName));
    EXPECT_EQ(f.window.dropped, 1);

    fs::remove(kPreviewFileName);
    {
        std::ofstream own(kPreviewFileName);
        own << "someone's file";
    }
    e.grid.At(1, 1, 1) = 300;  // a code no building file can hold: nothing is written
    DispatchCommand(e, kOrbitscope);
    EXPECT_EQ(f.dialogs.errors.size(), 2u);
    EXPECT_EQ(ReadText(kPreviewFileName), "someone's file");

    e.grid.At(1, 1, 1) = 1;
    DispatchCommand(e, kOrbitscope);
    EXPECT_EQ(f.dialogs.errors.size(), 2u);
    EXPECT_EQ(f.dialogs.runs.size(), 3u);
    EXPECT_FALSE(fs::exists(kPreviewFileName));
}

// The launch removes the file it wrote on every way out, also when the preview cannot be run.
class DialogsFailingTheRun final : public testing::FakeDialogs {
public:
    bool RunAndWait(const std::string&, const std::string&, const std::string&) override { throw std::bad_alloc(); }
};

TEST(PreviewLaunch, RemovesItsFileWhenThePreviewCannotBeRun) {
    testing::PackFolder folder("stackmason-preview-fails");
    testing::CountingPainter painter;
    testing::FakeWindow window;
    DialogsFailingTheRun dialogs;
    Editor e{painter, window, dialogs};
    LoadTexturePack(e);
    NewBuilding(e);
    DispatchCommand(e, kOrbitscope);
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_FALSE(fs::exists(kPreviewFileName));
}

// Answers the modal windows that Qt's own dialogs open, one after the other, as a user would.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget&)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // A later window may reuse an earlier one's address; a mark on it tells them apart.
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (modal->property("answered").toBool()) {
                // An answer closes its window at once; one still open would wait for ever.
                ADD_FAILURE() << "the answer did not close " << modal->metaObject()->className();
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
                return;
            }
            modal->setProperty("answered", true);
            answer_(*modal);
        });
        timer_.start(10);
    }

private:
    std::function<void(QWidget&)> answer_;
    QTimer timer_;
};

QStringList ShownFilters(QFileDialog& dialog) {
    QStringList shown;
    if (auto* types = dialog.findChild<QComboBox*>("fileTypeCombo"))
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
    return shown;
}

// The choice shown beside a requester's filters under this label; null where there is none.
QComboBox* LabelledChoice(QFileDialog& dialog, const QString& label) {
    for (QLabel* shown : dialog.findChildren<QLabel*>())
        if (shown->text() == label && shown->isVisible())
            return qobject_cast<QComboBox*>(shown->buddy());
    return nullptr;
}

QStringList Entries(const QComboBox& box) {
    QStringList entries;
    for (int i = 0; i < box.count(); ++i)
        entries << box.itemText(i);
    return entries;
}

// The file requesters show each filter's label as it stands, once; the save requester leaves
// the question about replacing a file to the editor, which asks it about the name it really
// writes, in the words and under the title Qt's own question had.
TEST(FileRequesters, ShowTheirFiltersOnceAndAskBeforeReplacing) {
    testing::PackFolder folder("stackmason-requesters");
    QtDialogsEditor f;
    Editor& e = f.editor;
    NewBuilding(e);
    {
        std::ofstream old("House.txt");
        old << "old house";
    }

    std::vector<QStringList> filters;
    std::vector<QStringList> releases;
    QString preselected;
    QString question, questionTitle;
    bool replacesByDefault = true;
    bool qtWouldAsk = true;
    int fileDialogs = 0;
    ModalAnswerer answerer([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            if (box->text().startsWith(" All unsaved data")) {
                box->button(QMessageBox::Yes)->click();
                return;
            }
            question = box->text();
            questionTitle = box->windowTitle();
            replacesByDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            box->button(QMessageBox::No)->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(&modal)) {
            filters.push_back(ShownFilters(*files));
            QComboBox* release = LabelledChoice(*files, "Game version:");
            releases.push_back(release ? Entries(*release) : QStringList{});
            if (++fileDialogs == 1) {
                ASSERT_NE(release, nullptr);
                preselected = release->currentText();
                release->setCurrentIndex(static_cast<int>(release->findText("1.16.5")));
                qtWouldAsk = !files->testOption(QFileDialog::DontConfirmOverwrite);
                // Typed, as a user does (selectFile leaves a focused name field alone).
                files->findChild<QLineEdit*>("fileNameEdit")->setText("House");
                QMetaObject::invokeMethod(files, "accept");
            } else {
                files->reject();
            }
        }
    });
    SaveBuilding(e, false);
    LoadBuilding(e);
    SelectTexturePack(e);

    ASSERT_EQ(filters.size(), 3u);
    const QStringList buildingFilters{"txt(*.txt)", "schematic(*.schematic)", "schem(*.schem)",
                                      "litematic(*.litematic)"};
    EXPECT_EQ(filters[0], buildingFilters);
    EXPECT_EQ(filters[1], buildingFilters);
    QStringList everyRelease;
    for (const GameRelease& release : GameReleases())
        everyRelease << QString::fromUtf8(release.name.data(), static_cast<qsizetype>(release.name.size()));
    EXPECT_EQ(releases[0], everyRelease);
    EXPECT_EQ(releases[0].front(), "1.13");
    EXPECT_EQ(releases[0].back(), "26.1.2");
    EXPECT_EQ(preselected, "1.20.1");
    EXPECT_EQ(SessionGameRelease(e).name, "1.16.5");
    EXPECT_EQ(releases[1], QStringList{});
    EXPECT_EQ(releases[2], QStringList{});
    EXPECT_EQ(filters[2], QStringList{"zip (*.zip)"});
    EXPECT_FALSE(qtWouldAsk);
    EXPECT_EQ(question, "House.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(questionTitle, "Save Building ");
    EXPECT_FALSE(replacesByDefault);
    EXPECT_EQ(ReadText("House.txt"), "old house");
    EXPECT_EQ(NameFilter("zip", "*.zip"), "zip (*.zip)");
}

}  // namespace
}  // namespace stackmason

namespace stackmason {
namespace {

// The context menu's "Material list" opens the window over the building: each block type
// with its picture, text, block state, count and stacks, most used first, and the total;
// switched to the current layer it counts that alone; its button saves the CSV.
TEST(MaterialListWindow, ShowsSwitchesAndSavesTheList) {
    StartedWindow started;
    Editor& e = started.E();
    e.grid.Clear();
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 8; ++y)
            e.grid.At(x, y, 1) = 1;  // 80 of block 1 on layer 1
    e.grid.At(1, 1, 2) = 2;
    e.grid.At(2, 1, 2) = 2;
    e.grid.At(3, 1, 3) = 3;
    e.grid.At(4, 4, 0) = 4;  // the ground is never counted
    e.layerSpin.SetValue(2);
    started.dialogs->Choose("materials", 0);

    QStringList blocks, states, counts, stacks;
    QString total, planeTotal, planeLabel;
    bool pictures = true;
    ModalAnswerer answerer([&](QWidget& modal) {
        auto* window = dynamic_cast<MaterialListWindow*>(&modal);
        ASSERT_NE(window, nullptr) << modal.metaObject()->className();
        EXPECT_EQ(window->windowTitle(), "Material list");
        QTableWidget& table = window->Table();
        for (int row = 0; row < table.rowCount(); ++row) {
            blocks << table.item(row, 1)->text();
            states << table.item(row, 2)->text();
            counts << table.item(row, 3)->text();
            stacks << table.item(row, 4)->text();
            pictures = pictures && !table.item(row, 0)->icon().isNull();
        }
        total = window->TotalLabel().text();
        planeLabel = window->PlaneChoice().text();
        window->PlaneChoice().click();
        planeTotal = window->TotalLabel().text();
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->text() == "Save CSV...")
                button->click();
        window->accept();
    });
    for (QAction* action : started.window->ContextMenu().actions())
        if (action->text() == "Material list")
            action->trigger();

    const auto item = [&](int code) { return QString::fromStdString(e.selector.ItemAt(code).text); };
    EXPECT_EQ(blocks, (QStringList{item(1), item(2), item(3)}));
    EXPECT_EQ(states, (QStringList{"minecraft:stone", "minecraft:grass_block", "minecraft:dirt"}));
    EXPECT_EQ(counts, (QStringList{"80", "2", "1"}));
    EXPECT_EQ(stacks, (QStringList{"64 + 16", "2", "1"}));
    EXPECT_TRUE(pictures);
    EXPECT_EQ(total, "Total: 83 blocks (64 + 19)");
    EXPECT_EQ(planeLabel, "Layer 2");
    EXPECT_EQ(planeTotal, "Total: 2 blocks (2)");
    EXPECT_EQ(ReadText("materials.csv"), "name,block state,count\n" + item(2).toStdString() + ",minecraft:grass_block,2\n");
    EXPECT_TRUE(started.dialogs->errors.empty());
}

// "Save layer table..." saves the whole building's table through a CSV requester, whatever
// scope the window shows: a row per block type, a column per layer, empty layers as 0.
TEST(MaterialListWindow, SavesTheLayerTableOfTheWholeBuilding) {
    StartedWindow started;
    Editor& e = started.E();
    e.grid.Clear();
    for (int x = 1; x <= 10; ++x)
        e.grid.At(x, 1, 3) = 2;  // 10 of block 2 on layer 3
    for (int y = 1; y <= 4; ++y)
        e.grid.At(1, y, 1) = 1;  // 4 of block 1 on layer 1 ...
    e.grid.At(5, 5, e.grid.Height()) = 1;  // ... and 1 on the top layer
    e.grid.At(2, 2, 0) = 3;  // the ground is never counted
    started.dialogs->Choose("table", 0);

    int buttons = 0;
    ModalAnswerer answerer([&](QWidget& modal) {
        auto* window = dynamic_cast<MaterialListWindow*>(&modal);
        ASSERT_NE(window, nullptr) << modal.metaObject()->className();
        window->PlaneChoice().click();
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->text() == "Save layer table...") {
                ++buttons;
                button->click();
            }
        window->accept();
    });
    for (QAction* action : started.window->ContextMenu().actions())
        if (action->text() == "Material list")
            action->trigger();

    EXPECT_EQ(buttons, 1);
    const auto row = [&](BlockCode code, const std::string& state, const std::map<int, int>& onLayers) {
        std::string line = e.selector.ItemAt(code).text + "," + state;
        int total = 0;
        for (int h = 1; h <= e.grid.Height(); ++h) {
            const int count = onLayers.contains(h) ? onLayers.at(h) : 0;
            // Piece by piece: GCC 12 at -O3 warns wrongly of an overlap in `"," + text`.
            line += ',';
            line += std::to_string(count);
            total += count;
        }
        line += ',';
        line += std::to_string(total);
        return line + "\n";
    };
    std::string header = "Block,Block state";
    for (int h = 1; h <= e.grid.Height(); ++h)
        header += ",Layer " + std::to_string(h);
    EXPECT_EQ(ReadText("table.csv"), header + ",Total\n" + row(2, "minecraft:grass_block", {{3, 10}}) +
                                         row(1, "minecraft:stone", {{1, 4}, {e.grid.Height(), 1}}));
    EXPECT_EQ(started.dialogs->requests.back().title, "Save layer table");
    EXPECT_TRUE(started.dialogs->errors.empty());
}

// The window's block-state column names blocks as the session's release does: 1.20.1's names
// until the builder picks another release in the save requester.
TEST(MaterialListWindow, NamesBlocksAsTheReleaseOfTheSession) {
    StartedWindow started;
    Editor& e = started.E();
    e.grid.Clear();
    BlockCode slab = 0;
    for (BlockCode code = 1; code < e.selector.Count(); ++code)
        if (e.selector.ItemAt(code).text == "stone_slab_044")
            slab = code;
    ASSERT_GT(slab, 0);
    e.grid.At(1, 1, 1) = slab;

    const auto shownStates = [&] {
        QStringList states;
        ModalAnswerer answerer([&](QWidget& modal) {
            auto* window = dynamic_cast<MaterialListWindow*>(&modal);
            ASSERT_NE(window, nullptr) << modal.metaObject()->className();
            for (int row = 0; row < window->Table().rowCount(); ++row)
                states << window->Table().item(row, 2)->text();
            window->accept();
        });
        for (QAction* action : started.window->ContextMenu().actions())
            if (action->text() == "Material list")
                action->trigger();
        return states;
    };
    EXPECT_EQ(shownStates(), QStringList{"minecraft:smooth_stone_slab[type=bottom,waterlogged=false]"});
    started.dialogs->Choose("old", 0, 2);  // 1.13.2, the third release
    SaveBuilding(e, false);
    EXPECT_EQ(shownStates(), QStringList{"minecraft:stone_slab[type=bottom,waterlogged=false]"});
    EXPECT_TRUE(started.dialogs->errors.empty());
}

}  // namespace
}  // namespace stackmason

namespace stackmason {
namespace {

// Equal sizes and equal cells, the ground and index-0 planes included; names the first cell
// that differs.
::testing::AssertionResult SameCells(const Building& actual, const Building& expected) {
    if (actual.Width() != expected.Width() || actual.Length() != expected.Length() ||
        actual.Height() != expected.Height())
        return ::testing::AssertionFailure() << "other sizes";
    for (int h = 0; h <= actual.Height(); ++h)
        for (int y = 0; y <= actual.Length(); ++y)
            for (int x = 0; x <= actual.Width(); ++x)
                if (actual.At(x, y, h) != expected.At(x, y, h))
                    return ::testing::AssertionFailure() << "cell (" << x << ", " << y << ", " << h << ") holds "
                                                         << actual.At(x, y, h) << ", not " << expected.At(x, y, h);
    return ::testing::AssertionSuccess();
}

// The type of a row of the material list, replaced from its button by the block chosen in
// the selector, on the layer the list shows: the other layers keep it, the list is counted
// again in the same scope and the window stays open; the block chosen replacing itself does
// nothing; and one Ctrl+Z in the main window takes the replace back.
TEST(MaterialListWindow, ARowsButtonReplacesItsTypeByTheSelectedBlockAsOneStep) {
    StartedWindow started;
    Editor& e = started.E();
    e.grid.Clear();
    for (int x = 1; x <= 6; ++x)
        e.grid.At(x, 1, 1) = 1;  // layer 1 is not the scope: stays
    for (int x = 1; x <= 3; ++x)
        e.grid.At(x, 2, 2) = 1;
    e.grid.At(5, 5, 2) = 2;
    e.grid.At(6, 5, 2) = 2;
    e.layerSpin.SetValue(2);
    static_cast<QComboBox&>(started.window->Control(10)).setCurrentIndex(3);
    ASSERT_EQ(e.SelectedBlock(), 3);
    const Building before = e.grid;
    Building replaced = e.grid;
    for (int x = 1; x <= 3; ++x)
        replaced.At(x, 2, 2) = 3;
    const std::size_t steps = e.history.UndoCount();

    const auto item = [&](int code) { return QString::fromStdString(e.selector.ItemAt(code).text); };
    const auto rowOf = [&](QTableWidget& table, BlockCode code) {
        for (int row = 0; row < table.rowCount(); ++row)
            if (table.item(row, 1)->text() == item(code))
                return row;
        return -1;
    };
    const auto press = [&](QTableWidget& table, BlockCode code) {
        auto* button = qobject_cast<QPushButton*>(table.cellWidget(rowOf(table, code), 5));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Replace with selected block");
        QTest::mouseClick(button, Qt::LeftButton);
    };
    QStringList blocks, counts;
    QString total;
    bool openAfterwards = false;
    bool repainted = false;
    bool cellsReplaced = false;
    std::size_t stepsAfterSelf = 0;
    ModalAnswerer answerer([&](QWidget& modal) {
        auto* window = dynamic_cast<MaterialListWindow*>(&modal);
        ASSERT_NE(window, nullptr) << modal.metaObject()->className();
        QTableWidget& table = window->Table();
        window->PlaneChoice().click();
        press(table, 1);
        repainted = e.repaint.IsEmpty();
        cellsReplaced = SameCells(e.grid, replaced);
        openAfterwards = window->isVisible();
        for (int row = 0; row < table.rowCount(); ++row) {
            blocks << table.item(row, 1)->text();
            counts << table.item(row, 3)->text();
        }
        total = window->TotalLabel().text();
        press(table, 3);  // the block chosen replacing itself
        stepsAfterSelf = e.history.UndoCount();
        window->accept();
    });
    for (QAction* action : started.window->ContextMenu().actions())
        if (action->text() == "Material list")
            action->trigger();

    EXPECT_TRUE(cellsReplaced);
    EXPECT_TRUE(repainted) << "the canvas repaint waits";
    EXPECT_TRUE(openAfterwards);
    EXPECT_EQ(blocks, (QStringList{item(3), item(2)}));
    EXPECT_EQ(counts, (QStringList{"3", "2"}));
    EXPECT_EQ(total, "Total: 5 blocks (5)");
    EXPECT_EQ(stepsAfterSelf, steps + 1);
    EXPECT_TRUE(SameCells(e.grid, replaced));

    started.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(SameCells(e.grid, before));
    EXPECT_EQ(e.history.UndoCount(), steps);
    EXPECT_TRUE(started.dialogs->errors.empty());
}

}  // namespace
}  // namespace stackmason
