#pragma once

#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "editor/canvas/CanvasRenderer.h"
#include "editor/canvas/TileCanvas.h"
#include "editor/model/Editor.h"
#include "editor/shell/OverlayPainter.h"

class QMenu;
class QAction;
class QPushButton;
class QScrollArea;
class QSinglePointEvent;

namespace stackmason {

class BlockSelectorBox;
struct Command;
class CanvasView;
class SpinField;

// The editor's main window: the toolbar controls, the canvas in its scroller and the
// context menu. It owns the editor's state and routes every user action to the operations.
class MainWindow final : public QWidget, public WindowPort {
public:
    static constexpr int kClientWidth = 939;
    static constexpr int kClientHeight = 741;

    // Without dialogs, Qt's message boxes and file requesters are used.
    explicit MainWindow(std::unique_ptr<DialogPort> dialogs = nullptr);
    ~MainWindow() override;

    // Loads the default texture pack and makes the first building.
    void Start();

    Editor& State() { return editor_; }
    const TileCanvas& Canvas() const { return tiles_; }
    CanvasView& CanvasWidget() { return *canvasView_; }
    SpinField& LayerSpinField() { return *layerSpin_; }
    QScrollArea& Scroller() { return *scroller_; }
    QMenu& ContextMenu() { return *menu_; }
    QWidget& Control(int id);

    // WindowPort
    int ClientWidth() const override { return width(); }
    int ClientHeight() const override { return height(); }
    void PlaceCanvasScroller(int x, int y, int width, int height, int canvasWidth, int canvasHeight) override;
    void FocusCanvasScroller() override;
    void SetTitle(const std::string& title) override;
    int ScrollX() const override;
    int ScrollY() const override;
    void ScrollTo(int x, int y) override;
    void DropPendingEvents() override;
    bool LayerSpinHasFocus() const override;
    void OpenContextMenu() override;
    void OpenMaterialList() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildContextMenu();
    bool IsOwnWidget(QObject* object) const;
    bool OverLayerSpinText(QPoint globalPosition) const;
    bool HandleKeyPress(QKeyEvent* event);
    bool HandleKeyRelease(QKeyEvent* event);
    void ReportReadoutIfOnCanvas(QObject* watched, QSinglePointEvent* event);
    void HandleWheel(QWheelEvent* event);
    void ChangeLayerBy(int delta);

    TileCanvas tiles_;
    CanvasRenderer renderer_;
    OverlayPainter overlayPainter_;
    std::unique_ptr<DialogPort> dialogs_;
    Editor editor_;

    QPushButton* loadButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* newButton_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    SpinField* widthSpin_ = nullptr;
    SpinField* lengthSpin_ = nullptr;
    SpinField* heightSpin_ = nullptr;
    SpinField* layerSpin_ = nullptr;
    BlockSelectorBox* selector_ = nullptr;
    QScrollArea* scroller_ = nullptr;
    CanvasView* canvasView_ = nullptr;
    QMenu* menu_ = nullptr;
    // Each menu item with the command it runs; their labels and states are set on opening.
    std::vector<std::pair<QAction*, const Command*>> menuItems_;
    int wheelRemainder_ = 0;
    bool droppingInput_ = false;
    bool started_ = false;
    bool dHeld_ = false;
};

}  // namespace stackmason
