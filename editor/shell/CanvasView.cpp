#include "editor/shell/CanvasView.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace stackmason {

CanvasView::CanvasView(TileCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    canvas_.SetChangeListener([this](int x, int y, int width, int height) { update(x, y, width, height); });
    canvas_.SetRenumberListener([this] { update(); });
}

void CanvasView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect().intersected(QRect(0, 0, canvas_.Width(), canvas_.Height()));
    if (area.isEmpty())
        return;
    painter.setClipRect(area);
    const int firstColumn = area.left() / kTileSize, lastColumn = std::min(canvas_.Columns() - 1, area.right() / kTileSize);
    const int firstRow = area.top() / kTileSize, lastRow = std::min(canvas_.Rows() - 1, area.bottom() / kTileSize);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const TileCanvas::Tile& tile = canvas_.TilePixels(canvas_.TileAt(column, row));
            const QImage image(reinterpret_cast<const uchar*>(tile.data()), kTileSize, kTileSize, kTileSize * 4,
                               QImage::Format_RGBA8888);
            painter.drawImage(column * kTileSize, row * kTileSize, image);
        }
    if (overlayPainter_)
        overlayPainter_(painter, area);
}

void CanvasView::Report(CanvasEvent::Kind kind, QPointF position, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers modifiers) {
    if (!handler_)
        return;
    CanvasEvent event;
    event.kind = kind;
    event.x = static_cast<int>(std::floor(position.x()));
    event.y = static_cast<int>(std::floor(position.y()));
    event.left = buttons.testFlag(Qt::LeftButton);
    event.right = buttons.testFlag(Qt::RightButton);
    event.shift = modifiers.testFlag(Qt::ShiftModifier);
    event.alt = modifiers.testFlag(Qt::AltModifier);
    event.ctrl = modifiers.testFlag(Qt::ControlModifier);
    handler_(event);
}

void CanvasView::ReportPress(QMouseEvent* event) {
    CanvasEvent::Kind kind = CanvasEvent::Kind::Other;
    if (event->button() == Qt::LeftButton)
        kind = CanvasEvent::Kind::LeftPress;
    else if (event->button() == Qt::RightButton)
        kind = CanvasEvent::Kind::RightPress;
    Report(kind, event->position(), event->buttons(), event->modifiers());
}

void CanvasView::ReportReadoutOnly(const QSinglePointEvent& event) {
    Report(CanvasEvent::Kind::Other, event.position(), event.buttons(), event.modifiers());
}

void CanvasView::mousePressEvent(QMouseEvent* event) { ReportPress(event); }
void CanvasView::mouseDoubleClickEvent(QMouseEvent* event) { ReportPress(event); }

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
    Report(CanvasEvent::Kind::Move, event->position(), event->buttons(), event->modifiers());
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
    Report(CanvasEvent::Kind::Other, event->position(), event->buttons(), event->modifiers());
}

void CanvasView::enterEvent(QEnterEvent* event) {
    Report(CanvasEvent::Kind::Other, event->position(), QGuiApplication::mouseButtons(),
           QGuiApplication::keyboardModifiers());
}

void CanvasView::leaveEvent(QEvent*) {
    Report(CanvasEvent::Kind::Other, mapFromGlobal(QCursor::pos()), QGuiApplication::mouseButtons(),
           QGuiApplication::keyboardModifiers());
}

}  // namespace stackmason
