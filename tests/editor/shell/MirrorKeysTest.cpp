#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <memory>

#include "editor/shell/CanvasView.h"
#include "editor/shell/MainWindow.h"
#include "tests/editor/shell/ShellTestSupport.h"

namespace stackmason {
namespace {

// A started main window, driven by real mouse and key events as a user drives it.
class MirrorKeys : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing::PackFolder>("stackmason-mirror");
        window_ = testing::StartMainWindow(dialogs_);
    }
    void TearDown() override {
        window_.reset();
        folder_.reset();
    }

    Editor& E() { return window_->State(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
        QTest::keyClick(focus, key, modifiers);
    }
    // Left click on the canvas cell (column, row), both 0-based.
    void ClickCell(int column, int row) {
        QTest::mouseClick(&window_->CanvasWidget(), Qt::LeftButton, {}, QPoint(column * 32 + 10, row * 32 + 10));
    }
    // The mirror item's label as the menu shows it when it opens; empty when there is none.
    QString MirrorItemLabel() {
        QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(50, 50));
        QMenu& menu = window_->ContextMenu();
        QString label;
        for (QAction* action : menu.actions())
            if (action->text().startsWith("Mirror drawing"))
                label = action->text();
        menu.close();
        return label;
    }
    // The title as the next canvas event leaves it, without editing anything.
    QString TitleAfterAMove() {
        QTest::mouseMove(&window_->CanvasWidget(), QPoint(3 * 32 + 10, 4 * 32 + 10));
        QTest::mouseMove(&window_->CanvasWidget(), QPoint(3 * 32 + 12, 4 * 32 + 12));
        return window_->windowTitle();
    }

    std::unique_ptr<testing::PackFolder> folder_;
    testing::FakeDialogs* dialogs_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

// M cycles the mode; the menu item and the title name it at once, and keep naming it on the
// next canvas events; the menu item cycles it the same way.
TEST_F(MirrorKeys, MCyclesTheModeShownByTheMenuItemAndTheTitle) {
    EXPECT_EQ(MirrorItemLabel(), "Mirror drawing: off");
    const QString plainTitle = TitleAfterAMove();
    EXPECT_EQ(plainTitle, "Stack Mason  4/5  Length: 6");
    window_->Scroller().setFocus(Qt::OtherFocusReason);
    const char* modes[] = {"left-right", "front-back", "both"};
    // The title keeps the cell and length of the last canvas event: a move puts them back
    // after the menu's middle click.
    for (const char* mode : modes) {
        Key(Qt::Key_M);
        EXPECT_EQ(window_->windowTitle(), plainTitle + "  Mirror: " + mode);
        EXPECT_EQ(MirrorItemLabel(), QString("Mirror drawing: ") + mode);
        EXPECT_EQ(TitleAfterAMove(), plainTitle + "  Mirror: " + mode);
    }
    Key(Qt::Key_M);
    EXPECT_EQ(window_->windowTitle(), plainTitle);
    EXPECT_EQ(MirrorItemLabel(), "Mirror drawing: off");
    // M with a modifier is no shortcut of it.
    Key(Qt::Key_M, Qt::ShiftModifier);
    EXPECT_EQ(E().mirrorMode, MirrorMode::Off);

    for (QAction* action : window_->ContextMenu().actions())
        if (action->text() == "Mirror drawing: off")
            action->trigger();
    EXPECT_EQ(E().mirrorMode, MirrorMode::LeftRight);
    EXPECT_TRUE(window_->windowTitle().endsWith("  Mirror: left-right")) << window_->windowTitle().toStdString();
}

// A click draws its cell and the mirror cells, in TopView on the layer shown and in FrontView
// in the slice shown and the mirrored slice; one Ctrl+Z takes all of them back.
TEST_F(MirrorKeys, AClickDrawsTheMirrorCellsInBothViews) {
    Editor& e = E();
    const int width = e.grid.Width(), length = e.grid.Length(), height = e.grid.Height();
    ASSERT_EQ(width, 29);
    const Image block = *e.selector.Picture(1);
    window_->Scroller().setFocus(Qt::OtherFocusReason);
    Key(Qt::Key_M);
    Key(Qt::Key_M);
    Key(Qt::Key_M);
    ASSERT_EQ(e.mirrorMode, MirrorMode::Both);
    e.layerSpin.SetValue(3);
    ClickCell(1, 2);  // the cell (2, 3)
    EXPECT_EQ(e.grid.At(2, 3, 3), 1);
    EXPECT_EQ(e.grid.At(width - 1, 3, 3), 1);
    EXPECT_EQ(e.grid.At(2, length - 2, 3), 1);
    EXPECT_EQ(e.grid.At(width - 1, length - 2, 3), 1);
    // The mirror cell is painted on the canvas too.
    EXPECT_EQ(window_->Canvas().Pixel((width - 2) * 32 + 10, (length - 3) * 32 + 10), block.Pixel(10, 10));
    Key(Qt::Key_Z, Qt::ControlModifier);
    for (auto [x, y] : {std::pair{2, 3}, {width - 1, 3}, {2, length - 2}, {width - 1, length - 2}})
        EXPECT_EQ(e.grid.At(x, y, 3), 0) << x << "," << y;

    // Left-right only, in FrontView on slice 4: column 0, row 1 is the cell (4, 1, H - 1).
    window_->Scroller().setFocus(Qt::OtherFocusReason);
    Key(Qt::Key_M);
    Key(Qt::Key_M);
    ASSERT_EQ(e.mirrorMode, MirrorMode::LeftRight);
    Key(Qt::Key_Tab);
    ASSERT_FALSE(e.InTopView());
    e.layerSpin.SetValue(4);
    ClickCell(0, 1);
    EXPECT_EQ(e.grid.At(4, 1, height - 1), 1);
    EXPECT_EQ(e.grid.At(width - 3, 1, height - 1), 1);
    EXPECT_EQ(e.grid.At(4, length, height - 1), 0);
    Key(Qt::Key_M);  // front-back: within the slice shown
    ClickCell(2, 0);  // the cell (4, 3, H)
    EXPECT_EQ(e.grid.At(4, 3, height), 1);
    EXPECT_EQ(e.grid.At(4, length - 2, height), 1);
    EXPECT_EQ(e.frontPlane.At(length - 2, 1), 1);
    EXPECT_EQ(window_->Canvas().Pixel((length - 3) * 32 + 10, 10), block.Pixel(10, 10));
    EXPECT_EQ(e.grid.At(width - 3, 3, height), 0);
}

}  // namespace
}  // namespace stackmason
