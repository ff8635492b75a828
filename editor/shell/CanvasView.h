#pragma once

#include <QWidget>
#include <functional>

#include "editor/canvas/CanvasEvent.h"
#include "editor/canvas/TileCanvas.h"

class QPainter;
class QSinglePointEvent;

namespace stackmason {

// The canvas widget: shows the visible part of a TileCanvas and reports every mouse event
// on it, moves outside it included while a button is held.
class CanvasView final : public QWidget {
public:
    CanvasView(TileCanvas& canvas, QWidget* parent);

    void SetEventHandler(std::function<void(const CanvasEvent&)> handler) { handler_ = std::move(handler); }
    // Paints over the cells of a repainted area: the box outline and the floating copy.
    void SetOverlayPainter(std::function<void(QPainter&, const QRect&)> painter) {
        overlayPainter_ = std::move(painter);
    }

    // Reports a pointer event that edits nothing, such as a wheel turn or a middle press that
    // the main window acts on itself: the handler still updates its readout from it.
    void ReportReadoutOnly(const QSinglePointEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Report(CanvasEvent::Kind kind, QPointF position, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void ReportPress(QMouseEvent* event);

    TileCanvas& canvas_;
    std::function<void(const CanvasEvent&)> handler_;
    std::function<void(QPainter&, const QRect&)> overlayPainter_;
};

}  // namespace stackmason
