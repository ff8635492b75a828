#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/shell/BlockSelectorBox.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/MainWindow.h"
#include "editor/shell/SpinField.h"
#include "tests/editor/shell/ShellTestSupport.h"
#include "tests/editor/support/AllocationFaults.h"
#include "tests/editor/support/EditorFixture.h"
#include "tests/editor/support/LargeBuildingFile.h"

namespace stackmason {
namespace {


// A started main window in a folder holding the default packs, with scripted dialogs.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing::PackFolder>("stackmason-shell");
        window_ = testing::StartMainWindow(dialogs_);
    }
    void TearDown() override {
        window_.reset();
        folder_.reset();
    }

    QLineEdit* SpinText(int id) { return window_->Control(id).findChild<QLineEdit*>(); }
    void Wheel(int delta) {
        QWidget& target = window_->CanvasWidget();
        const QPointF at(40, 40);
        QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&target, &event);
    }

    std::unique_ptr<testing::PackFolder> folder_;
    testing::FakeDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartsWithTheFirstBuildingShown) {
    EXPECT_EQ(window_->windowTitle(), "Stackmason  0/0  Length: 0");
    EXPECT_EQ(window_->width(), 939);
    EXPECT_EQ(window_->height(), 741);
    EXPECT_EQ(SpinText(6)->text(), "29");
    EXPECT_EQ(SpinText(7)->text(), "20");
    EXPECT_EQ(SpinText(8)->text(), "18");
    EXPECT_EQ(SpinText(9)->text(), "1");
    EXPECT_EQ(window_->Control(9).geometry(), QRect(660, 16, 70, 45));
    auto& selector = static_cast<QComboBox&>(window_->Control(10));
    EXPECT_GE(selector.count(), 85);
    EXPECT_EQ(selector.currentIndex(), 1);
    EXPECT_EQ(selector.itemText(0), "Air");
    EXPECT_EQ(window_->CanvasWidget().size(), QSize(933, 645));
    EXPECT_EQ(window_->Scroller().geometry(), QRect(0, 90, 939, 651));
    EXPECT_EQ(window_->Control(3).font().family(), "Arial");
    EXPECT_EQ(window_->Control(3).font().pointSize(), 12);
    EXPECT_EQ(static_cast<QSpinBox&>(window_->Control(6)).alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(MainWindowTest, WheelChangesTheLayerWithinItsRange) {
    Editor& e = window_->State();
    Wheel(120);
    EXPECT_EQ(e.CurrentLayer(), 2);
    Wheel(-120);
    Wheel(-120);
    EXPECT_EQ(e.CurrentLayer(), 1);
    e.layerSpin.SetValue(18);
    e.grid.At(1, 1, 18) = 2;
    Wheel(120);
    EXPECT_EQ(e.CurrentLayer(), 18);
    // The repaint happens at the end of the range too.
    EXPECT_NE(window_->Canvas().Pixel(10, 28), window_->Canvas().Pixel(40, 28));
    EXPECT_EQ(SpinText(9)->text(), "18");
}

TEST_F(MainWindowTest, ReleaseOverTheLayerFieldClearsItsTextButNotOverItsArrows) {
    QWidget& spin = window_->Control(9);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(60, 15));  // the up arrow steps, nothing is cleared
    EXPECT_EQ(SpinText(9)->text(), "2");
    EXPECT_EQ(window_->State().CurrentLayer(), 2);
    QTest::mouseClick(SpinText(9), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(SpinText(9)->text(), "");
    EXPECT_EQ(window_->State().CurrentLayer(), 2);
}

TEST_F(MainWindowTest, MiddleButtonOpensTheContextMenu) {
    QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(50, 50));
    QMenu& menu = window_->ContextMenu();
    EXPECT_TRUE(menu.isVisible());
    QStringList labels;
    for (QAction* action : menu.actions())
        labels << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(labels.join(","), "CopyLayer,PasteLayer,InsertLayer,RemoveLayer,FillArea,Silhouette,FrontView,"
                                "LoadBrush,RandomBrush,FlipAxis,-,Orbitscope,-,Select TexturePack,-,Undo,Redo,Material list,"
                                "Layer plans...,Layer pictures...,"
                                "-,Select box,Copy box,Cut box,Paste box,Delete box,Stack box...,"
                                "Mirror drawing: off");
    menu.close();
    QTest::keyClick(window_.get(), Qt::Key_Tab);
    QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(50, 50));
    EXPECT_EQ(menu.actions()[6]->text(), "TopView");
    menu.close();
}

// Wheel turns and middle presses over the canvas are canvas events too: the title first
// shows the cell of the event before (the readout runs), then the layer changes or the menu
// opens.
TEST_F(MainWindowTest, WheelAndMiddlePressOnTheCanvasRunTheReadoutFirst) {
    Editor& e = window_->State();
    CanvasView& canvas = window_->CanvasWidget();
    QMouseEvent move(QEvent::MouseMove, QPointF(48, 48), canvas.mapToGlobal(QPointF(48, 48)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &move);

    const QPointF wheelAt(112, 80);
    QWheelEvent wheel(wheelAt, canvas.mapToGlobal(wheelAt), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &wheel);
    EXPECT_EQ(window_->windowTitle(), "Stack Mason  2/2  Length: 3");
    EXPECT_EQ(e.CurrentLayer(), 2);

    QTest::mousePress(&canvas, Qt::MiddleButton, {}, QPoint(200, 200));
    EXPECT_EQ(window_->windowTitle(), "Stack Mason  4/3  Length: 4");
    EXPECT_TRUE(window_->ContextMenu().isVisible());
    window_->ContextMenu().close();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(200, 200), canvas.mapToGlobal(QPointF(200, 200)),
                        Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &release);
    EXPECT_EQ(window_->windowTitle(), "Stack Mason  7/7  Length: 8");
    EXPECT_EQ(e.grid.At(7, 7, 2), 0);
    EXPECT_EQ(e.grid.At(4, 3, 2), 0);
}

// Under every style the block list opens directly under the field, as wide as the field,
// about eight rows high with a scroll bar, not as a menu over the field as tall as the screen.
TEST(BlockSelector, OpensEightRowsUnderTheFieldUnderEveryStyle) {
    const QString applicationStyle = QApplication::style()->name();
    SelectorModel model;
    Image picture(32, 32, Rgba{90, 140, 60, 255});
    model.Add("Air", picture);
    for (int i = 1; i <= 105; ++i)
        model.Add("block_with_a_rather_long_name_" + std::to_string(i), picture);
    for (const QString& style : QStyleFactory::keys()) {
        SCOPED_TRACE(style.toStdString());
        QApplication::setStyle(style);
        // The offscreen screen is smaller than the main window, so the field stands at the left.
        QWidget window;
        window.setGeometry(0, 0, 400, 500);
        auto* selector = new BlockSelectorBox(model, &window);
        selector->setGeometry(20, 18, 170, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        selector->showPopup();
        QWidget* popup = selector->view()->window();
        ASSERT_TRUE(popup->isVisible());
        const QRect list = popup->geometry();
        const QPoint fieldBottomLeft = selector->mapToGlobal(QPoint(0, selector->height()));
        EXPECT_EQ(list.left(), fieldBottomLeft.x());
        EXPECT_NEAR(list.top(), fieldBottomLeft.y(), 2);
        EXPECT_EQ(list.width(), 170);
        const int rowHeight = selector->view()->sizeHintForRow(0);
        ASSERT_GT(rowHeight, 0);
        const int rowsShown = selector->view()->viewport()->height() / rowHeight;
        EXPECT_GE(rowsShown, 7);
        EXPECT_LE(rowsShown, 9);
        EXPECT_LE(selector->height() + list.height(), 360);
        EXPECT_TRUE(selector->view()->verticalScrollBar()->isVisible());
        selector->hidePopup();
    }
    QApplication::setStyle(applicationStyle);
}

TEST_F(MainWindowTest, MaximisedWindowKeepsTheCanvasSize) {
    window_->showMaximized();
    QApplication::processEvents();
    window_->resize(1200, 900);
    QApplication::processEvents();
    EXPECT_EQ(window_->Scroller().geometry(), QRect(0, 90, 1200, 810));
    EXPECT_EQ(window_->CanvasWidget().size(), QSize(933, 645));
}

TEST_F(MainWindowTest, MouseOnTheCanvasDrawsAndTheTitleFollows) {
    Editor& e = window_->State();
    CanvasView& canvas = window_->CanvasWidget();
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                    Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent event(type, QPointF(at), canvas.mapToGlobal(QPointF(at)), button, held, modifiers);
        QApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseButtonPress, {48, 48}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {80, 48}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, {112, 48}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, {-40, 48}, Qt::NoButton, Qt::LeftButton);  // outside: nothing
    send(QEvent::MouseButtonRelease, {-40, 48}, Qt::LeftButton, Qt::NoButton);
    for (int x = 2; x <= 4; ++x)
        EXPECT_EQ(e.grid.At(x, 2, 1), 1) << x;
    EXPECT_EQ(e.grid.At(1, 2, 1), 0);
    EXPECT_EQ(window_->windowTitle(), "Stack Mason  0/2  Length: -3");
    // Double click with Shift: first point, then a one-cell line; right drag deletes.
    send(QEvent::MouseButtonPress, {200, 200}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonDblClick, {200, 200}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(e.grid.At(7, 7, 1), 1);
    EXPECT_FALSE(e.lineArmed);
    send(QEvent::MouseButtonPress, {80, 48}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {112, 48}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(e.grid.At(3, 2, 1), 0);
    EXPECT_EQ(e.grid.At(4, 2, 1), 0);
    // The canvas shows what was drawn: block 1 at (7, 7), air at (4, 2).
    EXPECT_EQ(window_->Canvas().Pixel(6 * 32 + 5, 6 * 32 + 5), e.selector.Picture(1)->Pixel(5, 5));
    EXPECT_EQ(window_->Canvas().Pixel(3 * 32 + 10, 32 + 10), e.selector.Picture(0)->Pixel(10, 10));
}

TEST_F(MainWindowTest, TheBlockSelectorShowsEachPackSelected) {
    std::filesystem::copy_file(std::filesystem::path(STACKMASON_PACK_DIR) / "minecraft.zip", "minecraft.zip");
    Editor& e = window_->State();
    auto& selector = static_cast<QComboBox&>(window_->Control(10));
    // A smaller pack, then a larger one again: the list starts afresh both times.
    for (const char* pack : {"minecraft.zip", "stackmason.zip"}) {
        dialogs_->Choose((folder_->path / pack).string(), 0);
        for (QAction* action : window_->ContextMenu().actions())
            if (action->text() == "Select TexturePack")
                action->trigger();
        ASSERT_EQ(e.texturePackName, pack);
        ASSERT_EQ(selector.count(), e.selector.Count()) << pack;
        for (int i = 0; i < selector.count(); ++i)
            ASSERT_EQ(selector.itemText(i).toStdString(), e.selector.ItemAt(i).text) << pack << " item " << i;
        EXPECT_EQ(selector.currentIndex(), 1);
    }
    EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(MainWindowTest, ActionsShortOfMemoryShowOneErrorAndChangeNothing) {
    Editor& e = window_->State();
    auto& selector = static_cast<QComboBox&>(window_->Control(10));
    e.grid.At(3, 4, 1) = 2;
    const Building building = e.grid;
    const int items = selector.count();

    // A building file whose bytes cannot be had.
    std::ofstream("Big.txt", std::ios::binary) << testing::LargeEmptyBuildingText("stackmason.zip");
    dialogs_->Choose((folder_->path / "Big.txt").string(), 0);
    {
        testing::AllocationLimit limit(8 << 20);
        QTest::mouseClick(&window_->Control(3), Qt::LeftButton);
    }
    EXPECT_EQ(dialogs_->errors,
              std::vector<std::string>{"Could not load Big.txt: not enough memory. Nothing was changed."});
    EXPECT_EQ(e.grid, building);
    EXPECT_EQ(e.texturePackName, "stackmason.zip");
    EXPECT_EQ(selector.count(), items);
    EXPECT_EQ(selector.currentIndex(), 1);
    EXPECT_EQ(SpinText(6)->text(), "29");
    EXPECT_EQ(SpinText(8)->text(), "18");

    // A New of the largest size, then a command from the menu.
    dialogs_->errors.clear();
    e.widthSpin.SetValue(512);
    e.lengthSpin.SetValue(512);
    e.heightSpin.SetValue(256);
    {
        testing::AllocationLimit limit(64 << 20);
        QTest::mouseClick(&window_->Control(5), Qt::LeftButton);
    }
    EXPECT_EQ(e.grid, building);
    EXPECT_EQ(SpinText(6)->text(), "512");
    e.widthSpin.SetValue(300);
    e.lengthSpin.SetValue(300);
    e.heightSpin.SetValue(40);
    QTest::mouseClick(&window_->Control(5), Qt::LeftButton);
    ASSERT_EQ(e.grid.Width(), 300);
    const Building large = e.grid;
    {
        // Below the 7.6 MB of the building one layer taller.
        testing::AllocationLimit limit(4 << 20);
        window_->ContextMenu().actions()[2]->trigger();  // InsertLayer
    }
    EXPECT_EQ(e.grid, large);
    EXPECT_EQ(SpinText(8)->text(), "40");
    EXPECT_EQ(dialogs_->errors,
              (std::vector<std::string>{
                  "Could not make a new building of 512 x 512 x 256 cells: not enough memory. Nothing was changed.",
                  "Could not insert a layer: not enough memory. Nothing was changed."}));
}

}  // namespace
}  // namespace stackmason

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
