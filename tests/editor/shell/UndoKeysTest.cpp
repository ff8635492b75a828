#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>
#include <memory>

#include "editor/shell/CanvasView.h"
#include "editor/shell/MainWindow.h"
#include "editor/shell/ToolbarActions.h"
#include "tests/editor/shell/ShellTestSupport.h"

namespace stackmason {
namespace {

// A started main window, driven by real mouse and key events as a user drives it.
class UndoKeys : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing::PackFolder>("stackmason-undo");
        window_ = testing::StartMainWindow(dialogs_);
    }
    void TearDown() override {
        window_.reset();
        folder_.reset();
    }

    Editor& E() { return window_->State(); }
    QLineEdit* SpinText(int id) { return window_->Control(id).findChild<QLineEdit*>(); }
    // A key pressed where the focus is, as the user presses it.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(focus, key, modifiers);
    }
    void FocusOn(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == widget || widget->isAncestorOf(focus) || widget->focusProxy() == focus);
    }
    // Left click on the canvas cell (column, row), both 0-based.
    void ClickCell(int column, int row) {
        QTest::mouseClick(&window_->CanvasWidget(), Qt::LeftButton, {}, QPoint(column * 32 + 10, row * 32 + 10));
    }
    // The Undo and Redo items as the menu shows them when it opens.
    std::pair<bool, bool> MenuStates() {
        QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(50, 50));
        QMenu& menu = window_->ContextMenu();
        QAction* undo = nullptr;
        QAction* redo = nullptr;
        for (QAction* action : menu.actions()) {
            if (action->text() == "Undo")
                undo = action;
            if (action->text() == "Redo")
                redo = action;
        }
        EXPECT_TRUE(undo != nullptr && redo != nullptr);
        const std::pair<bool, bool> states{undo != nullptr && undo->isEnabled(), redo != nullptr && redo->isEnabled()};
        menu.close();
        return states;
    }
    void TriggerMenuItem(const char* label) {
        for (QAction* action : window_->ContextMenu().actions())
            if (action->text() == label)
                action->trigger();
    }

    std::unique_ptr<testing::PackFolder> folder_;
    testing::FakeDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

// A cell drawn in TopView and one in FrontView, then taken back and forth with the keys while
// the focus is in a spin field and on the canvas: each step comes back in the view and layer
// it was made in, repainted, and no key reaches the spin field's own text.
TEST_F(UndoKeys, CtrlZAndCtrlYTakeStepsOfEitherViewBackAndForthWhereverTheFocusIs) {
    Editor& e = E();
    const Image block = *e.selector.Picture(1);
    const Image air = *e.selector.Picture(0);
    e.layerSpin.SetValue(3);
    ClickCell(1, 1);
    ASSERT_EQ(e.grid.At(2, 2, 3), 1);
    Key(Qt::Key_Tab);
    ASSERT_FALSE(e.InTopView());
    e.layerSpin.SetValue(4);
    // Column 0, row 1 of slice 4 is the cell (4, 1, H - 1).
    ClickCell(0, 1);
    const int top = e.grid.Height() - 1;
    ASSERT_EQ(e.grid.At(4, 1, top), 1);
    Key(Qt::Key_Tab);
    ASSERT_TRUE(e.InTopView());

    // Ctrl+Z in the layer field takes back the FrontView cell and shows its slice.
    FocusOn(SpinText(9));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(4, 1, top), 0);
    EXPECT_EQ(e.grid.At(2, 2, 3), 1);
    EXPECT_FALSE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 4);
    EXPECT_EQ(SpinText(9)->text(), "4");
    EXPECT_EQ(e.frontPlane.At(1, 2), 0);
    EXPECT_EQ(window_->Canvas().Pixel(10, 32 + 10), air.Pixel(10, 10));

    // Ctrl+Z on the canvas (a click there gives its scroller the focus) takes back the TopView
    // cell and shows its layer.
    FocusOn(&window_->Scroller());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(2, 2, 3), 0);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 3);
    EXPECT_EQ(window_->Canvas().Pixel(32 + 10, 32 + 10), air.Pixel(10, 10));
    // Nothing more to take back: the key changes nothing.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.CurrentLayer(), 3);

    // Ctrl+Y in a size field redoes the TopView cell; Ctrl+Shift+Z on the canvas the other.
    FocusOn(SpinText(6));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(2, 2, 3), 1);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(window_->Canvas().Pixel(32 + 10, 32 + 10), block.Pixel(10, 10));
    EXPECT_EQ(SpinText(6)->text(), "29");
    FocusOn(&window_->Scroller());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(e.grid.At(4, 1, top), 1);
    EXPECT_FALSE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 4);
    EXPECT_EQ(e.frontPlane.At(1, 2), 1);
    EXPECT_EQ(window_->Canvas().Pixel(10, 32 + 10), block.Pixel(10, 10));
}

// The items follow the history: greyed with nothing to take back or forward, and each runs its
// command; a new change drops what could have been redone.
TEST_F(UndoKeys, MenuItemsAreGreyedWhenThereIsNothingToUndoOrRedo) {
    Editor& e = E();
    EXPECT_EQ(MenuStates(), std::make_pair(false, false));
    ClickCell(2, 2);
    EXPECT_EQ(MenuStates(), std::make_pair(true, false));
    Key(Qt::Key_R);  // FlipAxis
    ASSERT_EQ(e.grid.Width(), 20);
    TriggerMenuItem("Undo");
    EXPECT_EQ(e.grid.Width(), 29);
    EXPECT_EQ(e.grid.At(3, 3, 1), 1);
    EXPECT_EQ(MenuStates(), std::make_pair(true, true));
    TriggerMenuItem("Undo");
    EXPECT_EQ(e.grid.At(3, 3, 1), 0);
    EXPECT_EQ(MenuStates(), std::make_pair(false, true));
    TriggerMenuItem("Redo");
    EXPECT_EQ(e.grid.At(3, 3, 1), 1);
    EXPECT_EQ(MenuStates(), std::make_pair(true, true));
    // A new change after undoing: the flip can no longer be redone.
    ClickCell(5, 5);
    EXPECT_EQ(MenuStates(), std::make_pair(true, false));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.grid.Width(), 29);
}

}  // namespace
}  // namespace stackmason

namespace stackmason {
namespace {

// The canvas driven by raw mouse events, buttons held between them as the user holds them.
class StrokeKeys : public UndoKeys {
protected:
    void Mouse(QEvent::Type type, int column, int row, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = {}) {
        CanvasView& canvas = window_->CanvasWidget();
        const QPointF at(column * 32 + 10, row * 32 + 10);
        QMouseEvent event(type, at, canvas.mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(&canvas, &event);
    }
    void Press(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
        Mouse(QEvent::MouseButtonPress, column, row, button, button, modifiers);
        Mouse(QEvent::MouseButtonRelease, column, row, button, Qt::NoButton, modifiers);
    }
    // The history's two lists: what Ctrl+Z and Ctrl+Y would take back and forward.
    std::pair<std::size_t, std::size_t> Lists() { return {E().history.UndoCount(), E().history.RedoCount()}; }
    // A new empty building of these sizes, made as the New button makes it.
    void NewBuildingOf(int width, int length, int height) {
        E().widthSpin.SetValue(width);
        E().lengthSpin.SetValue(length);
        E().heightSpin.SetValue(height);
        PressNewButton(E());
    }
};

// Each action that changes no cell, size, pack or view leaves both lists as they were: the step
// taken back can still be redone, and Undo takes back only what changed.
TEST_F(StrokeKeys, AnActionThatChangesNothingIsNoStep) {
    Editor& e = E();
    // At start-up a right click on air gives nothing to take back.
    Press(3, 3, Qt::RightButton);
    EXPECT_EQ(Lists(), std::make_pair(std::size_t{0}, std::size_t{0}));
    EXPECT_EQ(MenuStates(), std::make_pair(false, false));

    // A line of block 1 from (2, 2) to (2, 5), then a cell taken back to leave a step to redo.
    Press(1, 1, Qt::LeftButton, Qt::ShiftModifier);
    Press(1, 4, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(e.grid.At(2, 5, 1), 1);
    Press(7, 7, Qt::LeftButton);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(e.grid.At(8, 8, 1), 0);
    ASSERT_EQ(Lists(), std::make_pair(std::size_t{1}, std::size_t{1}));
    const Building before = e.grid;

    Press(5, 5, Qt::RightButton);                      // right click on air
    Press(1, 2, Qt::LeftButton);                       // left click on a cell holding the block
    Press(5, 5, Qt::RightButton, Qt::AltModifier);     // Alt + right click on an empty column
    Press(1, 1, Qt::LeftButton, Qt::ShiftModifier);    // the same line again
    Press(1, 4, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(e.grid, before);
    EXPECT_EQ(Lists(), std::make_pair(std::size_t{1}, std::size_t{1}));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(8, 8, 1), 1);

    // On an all-air square building R and Ctrl+R change nothing.
    NewBuildingOf(10, 10, 3);
    Press(2, 2, Qt::LeftButton);
    Key(Qt::Key_Z, Qt::ControlModifier);
    const auto lists = Lists();
    ASSERT_EQ(lists.second, 1u);
    Key(Qt::Key_R);
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(Lists(), lists);
    // Not so on an all-air building of two sizes: its sizes trade places.
    NewBuildingOf(10, 6, 3);
    const std::size_t steps = e.history.UndoCount();
    Key(Qt::Key_R);
    EXPECT_EQ(e.grid.Width(), 6);
    EXPECT_EQ(e.history.UndoCount(), steps + 1);
}

// Ctrl+Z while the button is still held ends the stroke there and takes it back whole; the
// rest of the drag draws nothing, and Ctrl+Y brings the whole stroke back.
TEST_F(StrokeKeys, UndoDuringAStrokeTakesTheWholeStrokeAndEndsIt) {
    Editor& e = E();
    Mouse(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, 2, 1, Qt::NoButton, Qt::LeftButton);
    ASSERT_EQ(e.grid.At(3, 2, 1), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(2, 2, 1), 0);
    EXPECT_EQ(e.grid.At(3, 2, 1), 0);
    EXPECT_EQ(Lists(), std::make_pair(std::size_t{0}, std::size_t{1}));
    Mouse(QEvent::MouseMove, 3, 1, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 3, 1, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(e.grid.At(4, 2, 1), 0);
    EXPECT_EQ(Lists(), std::make_pair(std::size_t{0}, std::size_t{1}));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.grid.At(2, 2, 1), 1);
    EXPECT_EQ(e.grid.At(3, 2, 1), 1);
    EXPECT_EQ(e.grid.At(4, 2, 1), 0);

    // Ctrl+Y while held likewise ends the stroke: the step it redid stays, the drag draws no more.
    Mouse(QEvent::MouseButtonPress, 5, 5, Qt::RightButton, Qt::RightButton);
    Key(Qt::Key_Z, Qt::ControlModifier);  // nothing was changed by the press: takes back the first stroke
    Key(Qt::Key_Y, Qt::ControlModifier);
    Mouse(QEvent::MouseMove, 1, 1, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, 1, 1, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(e.grid.At(2, 2, 1), 1);
    EXPECT_EQ(Lists(), std::make_pair(std::size_t{1}, std::size_t{0}));
    // A new press starts a stroke again.
    Press(1, 1, Qt::RightButton);
    EXPECT_EQ(e.grid.At(2, 2, 1), 0);
}

}  // namespace
}  // namespace stackmason
