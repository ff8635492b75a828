#include "editor/shell/MainWindow.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "editor/canvas/CanvasInput.h"
#include "editor/canvas/CanvasRepaint.h"
#include "editor/commands/LayerCommands.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "editor/shell/BlockSelectorBox.h"
#include "editor/shell/CanvasView.h"
#include "editor/shell/CommandTable.h"
#include "editor/shell/DispatchCommand.h"
#include "editor/shell/InfoWindow.h"
#include "editor/shell/LabelText.h"
#include "editor/shell/MaterialListWindow.h"
#include "editor/shell/QtDialogs.h"
#include "editor/shell/SpinField.h"
#include "editor/shell/ToolbarActions.h"
#include "editor/shell/UserInput.h"

namespace stackmason {
namespace {

constexpr int kWheelStep = 120;
constexpr int kSpinArrowWidth = 23;

std::unique_ptr<DialogPort> DialogsOrQt(std::unique_ptr<DialogPort> dialogs, QWidget* parent) {
    return dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(parent);
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<DialogPort> dialogs)
    : renderer_(tiles_), dialogs_(DialogsOrQt(std::move(dialogs), this)), editor_(renderer_, *this, *dialogs_) {
    renderer_.Attach(editor_);
    editor_.programFolder = QCoreApplication::applicationDirPath().toStdString();
    renderer_.SetLabelRenderer(RenderLabelText);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle("Stackmason  0/0  Length: 0");
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    BuildControls();
    BuildContextMenu();
    if (auto* qtDialogs = dynamic_cast<QtDialogs*>(dialogs_.get()))
        qtDialogs->SetInfoWindow(
            [this] { ShowInfoWindowOver(*this, QString::fromStdString(editor_.versionText)); });
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::Start() {
    StartEditor(editor_);
    started_ = true;
}

void MainWindow::BuildControls() {
    const QFont controlFont("Arial", 12);
    auto button = [&](const char* text, QRect geometry) {
        auto* b = new QPushButton(text, this);
        b->setGeometry(geometry);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    auto spin = [&](SpinModel& model, QRect geometry) {
        auto* s = new SpinField(model, this);
        s->setGeometry(geometry);
        s->setFont(controlFont);
        return s;
    };
    loadButton_ = button("Load", {10, 20, 80, 30});
    saveButton_ = button("Save", {110, 20, 80, 30});
    widthSpin_ = spin(editor_.widthSpin, {210, 20, 80, 30});
    lengthSpin_ = spin(editor_.lengthSpin, {300, 20, 80, 30});
    heightSpin_ = spin(editor_.heightSpin, {390, 20, 70, 30});
    layerSpin_ = spin(editor_.layerSpin, {660, 16, 70, 45});
    newButton_ = button("New", {480, 20, 90, 31});
    for (QPushButton* b : {loadButton_, saveButton_, newButton_})
        b->setFont(controlFont);
    selector_ = new BlockSelectorBox(editor_.selector, this);
    selector_->setGeometry(755, 18, 170, 40);
    infoButton_ = button("?", {590, 20, 34, 31});

    scroller_ = new QScrollArea(this);
    scroller_->setGeometry(0, 70, 960, 660);
    scroller_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    scroller_->setWidgetResizable(false);
    scroller_->horizontalScrollBar()->setSingleStep(10);
    scroller_->verticalScrollBar()->setSingleStep(10);
    scroller_->setFocusPolicy(Qt::StrongFocus);
    canvasView_ = new CanvasView(tiles_, scroller_);
    canvasView_->resize(956, 744);
    scroller_->setWidget(canvasView_);
    renderer_.SetOverlayListener([this](int x, int y, int width, int height) { canvasView_->update(x, y, width, height); });
    canvasView_->SetOverlayPainter([this](QPainter& painter, const QRect& area) {
        overlayPainter_.Paint(painter, area, renderer_.Overlay(), editor_);
    });
    // Every user action runs inside its error boundary (UserAction.h), so that no exception
    // ever leaves a slot or an event handler.
    canvasView_->SetEventHandler([this](const CanvasEvent& event) {
        RunShownAction(editor_, "draw on the canvas", [&] { HandleCanvasEvent(editor_, event); });
    });
    layerSpin_->SetStepListener(
        [this] { RunShownAction(editor_, "show the layer", [&] { editor_.painter.RedrawCanvas(); }); });
    connect(loadButton_, &QPushButton::clicked, this, [this] { PressLoadButton(editor_); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { PressSaveButton(editor_); });
    connect(newButton_, &QPushButton::clicked, this, [this] { PressNewButton(editor_); });
    connect(infoButton_, &QPushButton::clicked, this, [this] { PressInfoButton(editor_); });
}

void MainWindow::BuildContextMenu() {
    menu_ = new QMenu(this);
    for (const Command& command : Commands()) {
        if (!command.menuLabel)
            continue;
        if (command.separatorBefore)
            menu_->addSeparator();
        QAction* action = menu_->addAction(command.menuLabel);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { DispatchCommand(editor_, id); });
        menuItems_.push_back({action, &command});
    }
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        for (const auto& [action, command] : menuItems_) {
            action->setText(QString::fromStdString(MenuItemLabel(*command, editor_)));
            action->setEnabled(MenuItemEnabled(*command, editor_));
        }
    });
}

QWidget& MainWindow::Control(int id) {
    switch (id) {
    case 1: return *scroller_;
    case 2: return *canvasView_;
    case 3: return *loadButton_;
    case 4: return *saveButton_;
    case 5: return *newButton_;
    case 6: return *widthSpin_;
    case 7: return *lengthSpin_;
    case 8: return *heightSpin_;
    case 9: return *layerSpin_;
    case 10: return *selector_;
    case 15: return *infoButton_;
    default: return *this;
    }
}

void MainWindow::PlaceCanvasScroller(int x, int y, int width, int height, int canvasWidth, int canvasHeight) {
    scroller_->setGeometry(x, y, width, height);
    canvasView_->setFixedSize(canvasWidth, canvasHeight);
}

void MainWindow::FocusCanvasScroller() { scroller_->setFocus(Qt::OtherFocusReason); }

void MainWindow::SetTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

int MainWindow::ScrollX() const { return scroller_->horizontalScrollBar()->value(); }
int MainWindow::ScrollY() const { return scroller_->verticalScrollBar()->value(); }

void MainWindow::ScrollTo(int x, int y) {
    scroller_->horizontalScrollBar()->setValue(x);
    scroller_->verticalScrollBar()->setValue(y);
}

void MainWindow::DropPendingEvents() {
    droppingInput_ = true;
    QCoreApplication::processEvents();
    droppingInput_ = false;
}

bool MainWindow::LayerSpinHasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == layerSpin_ || layerSpin_->isAncestorOf(focus));
}

void MainWindow::OpenContextMenu() { menu_->popup(QCursor::pos()); }

void MainWindow::OpenMaterialList() { ShowMaterialListOver(*this, editor_); }

bool MainWindow::IsOwnWidget(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && widget->window() == this;
}

bool MainWindow::OverLayerSpinText(QPoint globalPosition) const {
    const QPoint p = mapFromGlobal(globalPosition);
    if (!rect().contains(p))
        return false;
    const QRect spin = layerSpin_->geometry();
    return spin.x() < p.x() && p.x() < spin.x() + spin.width() - kSpinArrowWidth && spin.y() < p.y() &&
           p.y() < spin.y() + spin.height();
}

void MainWindow::ChangeLayerBy(int delta) {
    editor_.layerSpin.Step(delta);
    editor_.painter.RedrawCanvas();
}

void MainWindow::HandleWheel(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelStep) {
        wheelRemainder_ -= kWheelStep;
        ChangeLayerBy(1);
    }
    while (wheelRemainder_ <= -kWheelStep) {
        wheelRemainder_ += kWheelStep;
        ChangeLayerBy(-1);
    }
}

bool MainWindow::HandleKeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_D)
        dHeld_ = true;
    const std::optional<int> command = ShortcutCommand(event->key(), event->modifiers());
    if (!command)
        return false;
    DispatchCommand(editor_, *command);
    return true;
}

bool MainWindow::HandleKeyRelease(QKeyEvent* event) {
    // Only a D pressed here counts: its press may have gone to the help window.
    if (event->key() != Qt::Key_D || event->isAutoRepeat() || !dHeld_)
        return false;
    dHeld_ = false;
    if (event->modifiers().testFlag(Qt::ControlModifier))
        RunShownAction(editor_, "duplicate the layer", [&] { DuplicateLayer(editor_); });
    return false;
}

// The window acts on wheel turns and middle presses itself, before the canvas could see
// them; over the canvas they still refresh the readout in the title first.
void MainWindow::ReportReadoutIfOnCanvas(QObject* watched, QSinglePointEvent* event) {
    if (watched == canvasView_)
        canvasView_->ReportReadoutOnly(*event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!IsOwnWidget(watched) || !started_)
        return false;
    if (droppingInput_ && IsUserInput(event->type()))
        return true;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // Clearing twice, when the release travels on to a parent, does no harm.
        if (mouse->button() == Qt::LeftButton && OverLayerSpinText(mouse->globalPosition().toPoint()))
            RunShownAction(editor_, "clear the layer field", [&] { editor_.layerSpin.SetText(""); });
        return false;
    }
    case QEvent::Wheel:
        RunShownAction(editor_, "change the layer", [&] {
            ReportReadoutIfOnCanvas(watched, static_cast<QWheelEvent*>(event));
            HandleWheel(static_cast<QWheelEvent*>(event));
        });
        return true;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
            RunShownAction(editor_, "open the context menu", [&] {
                ReportReadoutIfOnCanvas(watched, static_cast<QMouseEvent*>(event));
                OpenContextMenu();
            });
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return HandleKeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        // An ignored key release travels on to the parents; act at its first receiver only.
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        return watched == first && HandleKeyRelease(static_cast<QKeyEvent*>(event));
    }
    default:
        return false;
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && started_ && !isMinimized())
        RunShownAction(editor_, "lay out the canvas", [&] { ApplyCanvasLayout(editor_); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (started_)
        RunShownAction(editor_, "lay out the canvas", [&] { ApplyCanvasLayout(editor_); });
}

}  // namespace stackmason
