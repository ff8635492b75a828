#pragma once

#include <QWidget>

namespace stackmason {

// The modal help window, centred over parent; returns when it has been closed.
void ShowInfoWindowOver(QWidget& parent);

}  // namespace stackmason
