#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <set>

#include "editor/shell/CanvasView.h"
#include "editor/shell/InfoWindow.h"
#include "editor/shell/MainWindow.h"
#include "editor/shell/SpinField.h"
#include "tests/editor/shell/ShellTestSupport.h"

namespace stackmason {
namespace {


// A started main window in a folder holding the default pack, with the help shown over it.
class InfoWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<testing::PackFolder>("stackmason-info");
        window_ = testing::StartMainWindow(dialogs_);
    }
    void TearDown() override {
        window_.reset();
        folder_.reset();
    }

    // Runs check while the help is open; closes the help afterwards if check left it open,
    // so that a failing check cannot leave the test waiting for ever.
    void WhileOpen(const std::function<void(QWidget& info, QTextBrowser& text)>& check) {
        bool ran = false;
        QTimer::singleShot(0, window_.get(), [&] {
            QWidget* info = OpenHelp();
            if (!info)
                return;
            ran = true;
            check(*info, *info->findChild<QTextBrowser*>());
            if (info->isVisible())
                info->close();
        });
        ShowInfoWindowOver(*window_, QString::fromStdString(window_->State().versionText));
        EXPECT_TRUE(ran);
    }

    static QWidget* OpenHelp() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->findChild<QTextBrowser*>(QString(), Qt::FindDirectChildrenOnly))
                return w;
        return nullptr;
    }

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

QStringList Lines(const QTextBrowser& text) { return text.toPlainText().split(QChar::LineFeed); }

QTextCharFormat FirstFormat(const QTextBlock& block) { return block.begin().fragment().charFormat(); }

// The lines of a table: from below its heading to the next empty line.
QStringList TableRows(const QStringList& lines, const QString& heading) {
    QStringList rows;
    for (qsizetype i = lines.indexOf(heading) + 1; i > 0 && i < lines.size() && !lines[i].isEmpty(); ++i)
        rows << lines[i];
    return rows;
}

// Every row is its key padded with blanks to width, then "-> ", then the description.
void ExpectPaddedRows(const QStringList& rows, qsizetype count, int width) {
    EXPECT_EQ(rows.size(), count);
    for (const QString& row : rows) {
        EXPECT_EQ(row.indexOf("->"), width) << row.toStdString();
        EXPECT_FALSE(row[0].isSpace()) << row.toStdString();
    }
}

TEST_F(InfoWindowTest, FixedWindowCentredOverTheMainWindowAndKeptOnTheScreen) {
    WhileOpen([&](QWidget& info, QTextBrowser& text) {
        EXPECT_EQ(info.windowTitle(), "Version 0.1.49");
        EXPECT_EQ(info.size(), QSize(610, 340));
        EXPECT_EQ(info.minimumSize(), info.maximumSize());
        const Qt::WindowFlags flags = info.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_LE((info.geometry().center() - window_->geometry().center()).manhattanLength(), 2);
        EXPECT_EQ(text.geometry(), QRect(2, 2, 608, 338));
        EXPECT_TRUE(text.isReadOnly());
    });
    const QRect screen = window_->screen()->availableGeometry();
    window_->move(screen.left() - 900, screen.top() - 800);
    WhileOpen([&](QWidget& info, QTextBrowser&) { EXPECT_EQ(info.frameGeometry().topLeft(), screen.topLeft()); });
    window_->move(screen.right() + 600, screen.bottom() + 600);
    WhileOpen([&](QWidget& info, QTextBrowser&) {
        EXPECT_TRUE(screen.contains(info.frameGeometry())) << info.frameGeometry().x();
    });
}

TEST_F(InfoWindowTest, HelpIsPaddedAndFormattedAndTheSameEachTime) {
    QString first;
    WhileOpen([&](QWidget& info, QTextBrowser& text) {
        const QStringList lines = Lines(text);
        ASSERT_GE(lines.size(), 6);
        EXPECT_EQ(lines.mid(0, 3), QStringList({"", "", ""}));
        EXPECT_EQ(lines[3], QString(40, '-'));
        EXPECT_EQ(lines[4], "Have Fun With Stack Mason!");
        EXPECT_EQ(lines[5], QString(40, '-'));
        qsizetype previous = 5;
        for (const char* heading :
             {"Keys:", "ContextMenu:", "3D Preview:", "TIPS :", "UPDATES:", "KNOWN BUGS:", "TODO:",
              "Boxes and mirrors:"}) {
            const qsizetype at = lines.indexOf(heading);
            EXPECT_GT(at, previous) << heading;
            previous = at;
        }
        ExpectPaddedRows(TableRows(lines, "Keys:"), 16, 21);
        ExpectPaddedRows(TableRows(lines, "ContextMenu:"), 10, 21);
        ExpectPaddedRows(TableRows(lines, "3D Preview:"), 5, 8);
        const QStringList boxRows = TableRows(lines, "Boxes and mirrors:");
        ExpectPaddedRows(boxRows, boxRows.size(), 21);
        // The document's last line ends in the blank that stands for the line break before </body>.
        QStringList trimmedBoxRows;
        for (const QString& row : boxRows)
            trimmedBoxRows << row.trimmed();
        EXPECT_TRUE(trimmedBoxRows.contains("M                    -> mirrored drawing: off, left-right, front-back, both"))
            << boxRows.join("|").toStdString();
        for (const char* row : {"LeftMouse            -> draws a tile", "MiddleMouse/Menuekey -> shows contextmenu",
                                "Press Ctrl+R         -> rotates all z-layers 90\u00b0",
                                "Copy & Paste Layer   -> works now in frontview too",
                                "select texturepack   -> loads another texture pack", "W,A,S,D -> move camera",
                                "Escape  -> close 3D Preview"})
            EXPECT_TRUE(lines.contains(QString::fromUtf8(row))) << row;
        EXPECT_TRUE(text.toPlainText().contains("*****************"));
        EXPECT_TRUE(text.toPlainText().contains("512x512x256"));
        EXPECT_TRUE(text.toPlainText().contains("t.test.png"));

        const QTextDocument& document = *text.document();
        std::set<qreal> nameSizes;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QString line = block.text();
            EXPECT_EQ(block.blockFormat().leftMargin(), 19) << line.toStdString();
            if (line.isEmpty())
                continue;
            const QTextCharFormat format = FirstFormat(block);
            EXPECT_EQ(format.fontFamilies().toStringList().value(0), "Courier New") << line.toStdString();
            const bool banner = block.blockNumber() >= 3 && block.blockNumber() <= 5;
            const bool heading = QStringList{"Keys:", "ContextMenu:", "3D Preview:", "UPDATES:", "KNOWN BUGS:",
                                             "TODO:", "Boxes and mirrors:"}
                                     .contains(line);
            EXPECT_EQ(format.fontWeight() == QFont::Bold, banner || heading) << line.toStdString();
            if (banner) {
                EXPECT_EQ(format.foreground().color(), QColor(156, 133, 192));
                if (line.startsWith('-')) {
                    EXPECT_EQ(format.fontPointSize(), 14);
                }
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextFragment fragment = it.fragment();
                    EXPECT_EQ(fragment.charFormat().foreground().color(), QColor(156, 133, 192));
                    if (fragment.text().size() == 1 && fragment.text()[0].isLetter())
                        nameSizes.insert(fragment.charFormat().fontPointSize());
                }
            } else if (heading) {
                EXPECT_EQ(format.fontPointSize(), 11) << line.toStdString();
            } else if (line != "TIPS :") {
                EXPECT_EQ(format.fontPointSize(), 10) << line.toStdString();
                EXPECT_NE(format.foreground().color(), QColor(156, 133, 192));
            }
        }
        ASSERT_GE(nameSizes.size(), 4u);
        EXPECT_EQ(*nameSizes.begin(), 11);
        EXPECT_EQ(*nameSizes.rbegin(), 16);

        first = text.toHtml();
        text.verticalScrollBar()->setValue(text.verticalScrollBar()->maximum());
        info.close();  // its own close box
    });
    WhileOpen([&](QWidget&, QTextBrowser& text) {
        EXPECT_EQ(text.toHtml(), first);
        EXPECT_EQ(text.verticalScrollBar()->value(), 0);
    });
    EXPECT_EQ(InfoHelpDocument().count("<p"), first.count("<p"));
}

TEST_F(InfoWindowTest, InputForTheMainWindowIsDroppedAndItsCloseEndsOnlyTheHelp) {
    Editor& e = window_->State();
    e.grid.At(1, 1, 1) = 2;
    const QString title = window_->windowTitle();
    WhileOpen([&](QWidget& info, QTextBrowser& text) {
        QEnterEvent enter(QPointF(100, 100), QPointF(100, 100), window_->CanvasWidget().mapToGlobal(QPointF(100, 100)));
        QApplication::sendEvent(&window_->CanvasWidget(), &enter);
        QTest::keyClick(window_.get(), Qt::Key_Tab);
        QTest::keyClick(&window_->CanvasWidget(), Qt::Key_Backspace);
        QTest::keyClick(&window_->CanvasWidget(), Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(&window_->LayerSpinField(), Qt::Key_Up);
        Wheel(120);
        QTest::mouseClick(&window_->CanvasWidget(), Qt::LeftButton, {}, QPoint(48, 48));
        QTest::mouseClick(&window_->CanvasWidget(), Qt::MiddleButton, {}, QPoint(48, 48));
        QTest::mouseClick(&window_->Control(5), Qt::LeftButton);   // New would clear the grid
        QTest::mouseClick(&window_->Control(15), Qt::LeftButton);  // "?" again
        EXPECT_FALSE(window_->ContextMenu().isVisible());
        // The help's own keys still arrive.
        QTest::keyClick(&text, Qt::Key_A, Qt::ControlModifier);
        EXPECT_TRUE(text.textCursor().hasSelection());

        QCloseEvent close;
        QApplication::sendEvent(window_.get(), &close);
        EXPECT_FALSE(close.isAccepted());
        EXPECT_FALSE(info.isVisible());
        EXPECT_TRUE(window_->isVisible());
    });
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->windowTitle(), title);
    EXPECT_EQ(OpenHelp(), nullptr);
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.CurrentLayer(), 1);
    EXPECT_EQ(e.grid.At(1, 1, 1), 2);
    EXPECT_EQ(e.grid.At(1, 1, 2), 0);
    EXPECT_EQ(e.grid.At(2, 2, 1), 0);
    EXPECT_EQ(dialogs_->infoCount, 0);
    QApplication::processEvents();
    EXPECT_TRUE(e.InTopView());
    EXPECT_EQ(e.grid.At(1, 1, 1), 2);

    // Once the help is closed the main window acts again, and closes for real.
    QTest::keyClick(window_.get(), Qt::Key_Tab);
    EXPECT_FALSE(e.InTopView());
    EXPECT_TRUE(window_->close());
}


}  // namespace
}  // namespace stackmason
