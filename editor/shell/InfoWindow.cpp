#include "editor/shell/InfoWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTextBrowser>
#include <QWindow>
#include <algorithm>

#include "editor/shell/UserInput.h"

namespace stackmason {
namespace {

constexpr int kClientWidth = 610;
constexpr int kClientHeight = 340;
constexpr int kTextInset = 2;

// Popups and tooltips close by themselves all the time; only a real window's close counts.
bool IsClosableWindow(const QWidget& widget) {
    const Qt::WindowType type = widget.windowType();
    return widget.isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen;
}

// The help window runs its own wait instead of Qt's modality: Qt swallows the close of a
// window blocked by a modal one, and here that close must end the help and nothing else.
class InfoWindow final : public QWidget {
public:
    InfoWindow(QWidget& parent, const QString& title) : QWidget(&parent, WindowFlags()) {
        setWindowTitle(title);
        setFixedSize(kClientWidth, kClientHeight);
        auto* text = new QTextBrowser(this);
        text->setGeometry(kTextInset, kTextInset, kClientWidth - kTextInset, kClientHeight - kTextInset);
        text->setOpenLinks(false);
        QFont font("Courier New", 10);
        font.setStyleHint(QFont::TypeWriter);
        text->document()->setDefaultFont(font);
        text->setHtml(InfoHelpDocument());
        PlaceOver(parent);
    }

    void RunUntilClosed() {
        qApp->installEventFilter(this);
        show();
        activateWindow();
        loop_.exec();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close)
            return TakeForeignClose(watched, event);
        if (!IsUserInput(event->type()) || BelongsHere(watched))
            return false;
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();  // an accepted override keeps every shortcut from firing
        if (event->type() == QEvent::MouseButtonPress)
            activateWindow();
        return true;
    }

    void closeEvent(QCloseEvent* event) override {
        event->accept();
        loop_.quit();
    }

private:
    static Qt::WindowFlags WindowFlags() {
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    }

    // Centred over the parent's client area; an edge that would leave the screen at the
    // left or top is put at the screen's edge, and the window is kept inside at the right
    // and bottom too, so that its close box can always be reached.
    void PlaceOver(const QWidget& parent) {
        const QRect over = parent.geometry();
        const QPoint decoration = parent.geometry().topLeft() - parent.frameGeometry().topLeft();
        QPoint frameTopLeft = over.center() - QPoint(kClientWidth / 2, kClientHeight / 2) - decoration;
        const QScreen* screen = parent.screen() ? parent.screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            const QSize frame(kClientWidth + 2 * decoration.x(), kClientHeight + decoration.y() + decoration.x());
            frameTopLeft.setX(std::min(frameTopLeft.x(), area.right() + 1 - frame.width()));
            frameTopLeft.setY(std::min(frameTopLeft.y(), area.bottom() + 1 - frame.height()));
            frameTopLeft.setX(std::max(frameTopLeft.x(), area.left()));
            frameTopLeft.setY(std::max(frameTopLeft.y(), area.top()));
        }
        move(frameTopLeft);
    }

    bool TakeForeignClose(QObject* watched, QEvent* event) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget == this || BelongsHere(widget) || !IsClosableWindow(*widget))
            return false;
        event->ignore();
        close();
        return true;
    }

    // Whether an event for object is the help window's own: its widgets, its popups (the
    // text's context menu) and the platform windows behind them.
    bool BelongsHere(const QObject* object) const {
        if (auto* window = qobject_cast<const QWindow*>(object)) {
            for (const QWindow* w = window; w; w = w->transientParent() ? w->transientParent() : w->parent())
                if (w == windowHandle())
                    return true;
            return false;
        }
        for (const QObject* o = object; o; o = o->parent())
            if (o == this)
                return true;
        return false;
    }

    QEventLoop loop_;
};

}  // namespace

QString InfoHelpDocument() {
    QFile file(":/help/InfoHelp.html");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void ShowInfoWindowOver(QWidget& parent, const QString& title) {
    InfoWindow window(parent, title);
    window.RunUntilClosed();
}


}  // namespace stackmason
