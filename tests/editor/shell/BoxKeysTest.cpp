#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "editor/model/Selection.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/MainWindow.h"
#include "tests/editor/shell/ShellTestSupport.h"

namespace stackmason {
namespace {

// A started main window (29 x 20 x 18, TopView on layer 1, block 1 selected), driven by real
// mouse, wheel and key events as a user drives it.
class BoxKeys : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing::PackFolder>("stackmason-boxkeys");
        window_ = testing::StartMainWindow(dialogs_);
        window_->Scroller().setFocus(Qt::OtherFocusReason);
    }
    void TearDown() override {
        window_.reset();
        folder_.reset();
    }

    Editor& E() { return window_->State(); }
    BlockCode At(int x, int y, int h) { return E().grid.At(x, y, h); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(focus, key, modifiers);
    }
    static QPoint CellPoint(int column, int row) { return {column * 32 + 12, row * 32 + 12}; }
    // A click on canvas cell (column, row), both from 0.
    void Click(int column, int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(&window_->CanvasWidget(), button, modifiers, CellPoint(column, row));
    }
    void SendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QWidget& canvas = window_->CanvasWidget();
        QMouseEvent event(type, at, canvas.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }
    // A left drag from one canvas cell to another, through the cells between.
    void Drag(int c0, int r0, int c1, int r1) {
        SendMouse(QEvent::MouseButtonPress, CellPoint(c0, r0), Qt::LeftButton, Qt::LeftButton);
        SendMouse(QEvent::MouseMove, (CellPoint(c0, r0) + CellPoint(c1, r1)) / 2, Qt::NoButton, Qt::LeftButton);
        SendMouse(QEvent::MouseMove, CellPoint(c1, r1), Qt::NoButton, Qt::LeftButton);
        SendMouse(QEvent::MouseButtonRelease, CellPoint(c1, r1), Qt::LeftButton, Qt::NoButton);
    }
    void MoveTo(int column, int row) { SendMouse(QEvent::MouseMove, CellPoint(column, row), Qt::NoButton, Qt::NoButton); }
    // One notch of the wheel over the canvas: up shows the next layer (slice).
    void Wheel(int notches) {
        QWidget& target = window_->CanvasWidget();
        const QPointF at(40, 40);
        QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&target, &event);
    }
    // The context menu's item of that label, as the menu shows it when it opens.
    QAction* MenuItem(const QString& label) {
        QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(50, 50));
        QMenu& menu = window_->ContextMenu();
        QAction* found = nullptr;
        for (QAction* action : menu.actions())
            if (action->text() == label)
                found = action;
        menu.close();
        return found;
    }
    int NonAirCells() {
        int count = 0;
        for (int x = 1; x <= E().grid.Width(); ++x)
            for (int y = 1; y <= E().grid.Length(); ++y)
                for (int h = 1; h <= E().grid.Height(); ++h)
                    count += At(x, y, h) != 0;
        return count;
    }

    std::unique_ptr<testing::PackFolder> folder_;
    testing::FakeDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

// TopView as a user works: B, a drag on layer 2, the wheel to layer 3 makes a box of two layers;
// Ctrl+C copies it; Escape leaves the box mode; Ctrl+V floats the copy, E turns it clockwise, a
// click places it on layer 3, air keeping what lies there; Ctrl+Z takes the placement back and
// Escape drops the copy.
TEST_F(BoxKeys, MarkCopyTurnAndPlaceInTopView) {
    Editor& e = E();
    e.grid.At(1, 1, 2) = 5;
    e.grid.At(3, 1, 2) = 4;
    e.grid.At(1, 3, 3) = 7;
    e.grid.At(12, 6, 3) = 9;  // under an air cell of the turned copy
    Wheel(1);
    ASSERT_EQ(e.CurrentLayer(), 2);
    Key(Qt::Key_B);
    ASSERT_TRUE(e.boxMode);
    Drag(0, 0, 2, 2);
    Wheel(1);
    ASSERT_TRUE(SelectedBox(e));
    EXPECT_EQ(*SelectedBox(e), (CellBox{1, 1, 2, 3, 3, 3}));
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(e.clipboard.Width(), 3);
    ASSERT_EQ(e.clipboard.Height(), 2);
    EXPECT_EQ(e.clipboard.At(0, 0, 0), 5);
    EXPECT_EQ(e.clipboard.At(0, 2, 1), 7);
    MoveTo(0, 0);
    EXPECT_TRUE(window_->windowTitle().endsWith("  Box mode  Box: 3 x 3 x 2")) << window_->windowTitle().toStdString();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(e.boxMode);
    EXPECT_FALSE(SelectedBox(e));

    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(e.floatingCopy);
    Key(Qt::Key_E);
    const int before = NonAirCells();
    Click(9, 4);  // the cell (10, 5) on layer 3
    // Clockwise, what ran east runs south: 5 at the top right, 4 below it, 7 a layer up.
    EXPECT_EQ(At(12, 5, 3), 5);
    EXPECT_EQ(At(12, 7, 3), 4);
    EXPECT_EQ(At(10, 5, 4), 7);
    EXPECT_EQ(At(12, 6, 3), 9);
    EXPECT_EQ(NonAirCells(), before + 3);
    EXPECT_TRUE(e.floatingCopy);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(At(12, 5, 3), 0);
    EXPECT_EQ(At(10, 5, 4), 0);
    EXPECT_EQ(NonAirCells(), before);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(e.floatingCopy);
    // With nothing floating the click draws again.
    Click(0, 19);
    EXPECT_EQ(At(1, 20, 3), 1);
}

// FrontView: the drag marks a rectangle of the slice, the wheel takes the box through the next
// slice; the copy placed elsewhere puts its first slice on the slice shown with its top front
// corner at the pointer; Ctrl+Z undoes it.
TEST_F(BoxKeys, MarkCopyAndPlaceInFrontView) {
    Editor& e = E();
    e.grid.At(2, 2, 1) = 6;
    e.grid.At(3, 3, 2) = 8;
    Key(Qt::Key_Tab);
    ASSERT_FALSE(e.InTopView());
    Wheel(1);
    ASSERT_EQ(e.CurrentLayer(), 2);
    Key(Qt::Key_B);
    Drag(1, 16, 2, 17);  // y 2..3, layers 2 and 1
    Wheel(1);
    ASSERT_TRUE(SelectedBox(e));
    EXPECT_EQ(*SelectedBox(e), (CellBox{2, 2, 1, 3, 3, 2}));
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(e.floatingCopy);
    Click(10, 5);  // slice 3, y 11, top at layer 13
    EXPECT_EQ(At(3, 11, 12), 6);
    EXPECT_EQ(At(4, 12, 13), 8);
    EXPECT_EQ(NonAirCells(), 4);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(At(3, 11, 12), 0);
    EXPECT_EQ(At(4, 12, 13), 0);
    EXPECT_EQ(NonAirCells(), 2);
    // Escape drops the copy first, then the box.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(e.floatingCopy);
    EXPECT_TRUE(SelectedBox(e));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(SelectedBox(e));
}

// Ctrl+X cuts the box into the clipboard as one step, Ctrl+Z brings it back; Delete clears the
// box; Ctrl+A then Delete clears the whole building, one Ctrl+Z undoing each.
TEST_F(BoxKeys, CutDeleteAndSelectAll) {
    Editor& e = E();
    e.grid.At(2, 2, 1) = 3;
    e.grid.At(3, 2, 1) = 4;
    e.grid.At(20, 15, 10) = 5;
    Key(Qt::Key_B);
    Drag(1, 1, 2, 1);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(At(2, 2, 1), 0);
    EXPECT_EQ(At(3, 2, 1), 0);
    ASSERT_EQ(e.clipboard.Width(), 2);
    EXPECT_EQ(e.clipboard.At(1, 0, 0), 4);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(At(2, 2, 1), 3);
    EXPECT_EQ(At(3, 2, 1), 4);
    Key(Qt::Key_Delete);
    EXPECT_EQ(At(2, 2, 1), 0);
    EXPECT_EQ(At(3, 2, 1), 0);
    EXPECT_EQ(At(20, 15, 10), 5);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(At(3, 2, 1), 4);

    Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(SelectedBox(e));
    EXPECT_EQ(*SelectedBox(e), (CellBox{1, 1, 1, 29, 20, 18}));
    const int scrollX = window_->ScrollX();
    Key(Qt::Key_Delete);
    EXPECT_EQ(NonAirCells(), 0);
    EXPECT_EQ(window_->ScrollX(), scrollX);  // Ctrl+A is not the scroll key A
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(NonAirCells(), 3);
}

// "Stack box..." from the context menu, answered with 20 copies east: 13 fit whole beside a box
// two cells wide, the 14th is cut at the edge; the user is told, air keeps, one Ctrl+Z undoes all.
TEST_F(BoxKeys, StackBoxThroughTheMenu) {
    Editor& e = E();
    e.grid.At(1, 1, 1) = 5;
    e.grid.At(4, 1, 1) = 9;
    EXPECT_FALSE(MenuItem("Stack box...")->isEnabled());
    Key(Qt::Key_B);
    Drag(0, 0, 1, 0);
    QAction* stack = MenuItem("Stack box...");
    ASSERT_NE(stack, nullptr);
    ASSERT_TRUE(stack->isEnabled());
    dialogs_->stackAnswer = StackRequest{20, StackDirection::East};
    stack->trigger();
    EXPECT_EQ(dialogs_->stackQuestions, 1);
    for (int x = 1; x <= 29; ++x)
        EXPECT_EQ(At(x, 1, 1), x % 2 == 1 ? 5 : x == 4 ? 9 : 0) << x;
    ASSERT_EQ(dialogs_->infos.size(), 1u);
    EXPECT_EQ(dialogs_->infos[0], "13 of 20 copies fitted inside the building; the building's edge cut off the rest.");
    EXPECT_EQ(NonAirCells(), 16);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(NonAirCells(), 2);
    EXPECT_EQ(At(1, 1, 1), 5);
    EXPECT_EQ(At(4, 1, 1), 9);
}

// Outside the box mode every mouse action of the canvas does what it did: a left press draws, a
// right press deletes, Ctrl + left picks, Alt + left draws downward; in it, a left press draws
// nothing. Both views.
TEST_F(BoxKeys, OutsideTheBoxModeTheMouseStillDraws) {
    Editor& e = E();
    Wheel(2);
    ASSERT_EQ(e.CurrentLayer(), 3);
    Key(Qt::Key_B);
    Click(4, 4);
    EXPECT_EQ(At(5, 5, 3), 0);
    Key(Qt::Key_B);
    Click(4, 4);
    EXPECT_EQ(At(5, 5, 3), 1);
    Click(4, 4, Qt::RightButton);
    EXPECT_EQ(At(5, 5, 3), 0);
    e.grid.At(7, 2, 3) = 12;
    Click(6, 1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(e.SelectedBlock(), 12);
    EXPECT_EQ(static_cast<QComboBox&>(window_->Control(10)).currentIndex(), 12);
    Click(8, 8, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(At(9, 9, 3), 12);
    EXPECT_EQ(At(9, 9, 1), 12);

    Key(Qt::Key_Tab);
    Click(1, 0);  // slice 1, y 2, top layer
    EXPECT_EQ(At(1, 2, 18), 12);
    Key(Qt::Key_B);
    Click(2, 0);
    EXPECT_EQ(At(1, 3, 18), 0);
    Key(Qt::Key_B);
    Click(2, 0, Qt::LeftButton, Qt::ControlModifier);  // FrontView picks air
    EXPECT_EQ(e.SelectedBlock(), 0);
    Click(1, 0, Qt::RightButton);
    EXPECT_EQ(At(1, 2, 18), 0);
}

}  // namespace
}  // namespace stackmason
