#pragma once

#include <QEvent>

namespace stackmason {

// Events that come from the user's mouse, keyboard, pen or touch, hovering and dragging
// included: what a window that must not react right now drops.
bool IsUserInput(QEvent::Type type);

}  // namespace stackmason
