#include "editor/shell/KeyRouting.h"

#include "editor/shell/CommandIds.h"

namespace stackmason {

std::optional<int> ShortcutCommand(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ControlModifier && key == Qt::Key_R)
        return kRotateLayers;
    if (held == Qt::ControlModifier && key == Qt::Key_Z)
        return kUndo;
    if ((held == Qt::ControlModifier && key == Qt::Key_Y) ||
        (held == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z))
        return kRedo;
    if (held != Qt::NoModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_C: return kCopyLayer;
    case Qt::Key_V: return kPasteLayer;
    case Qt::Key_F: return kFillArea;
    case Qt::Key_R: return kFlipAxis;
    case Qt::Key_Tab: return kToggleView;
    case Qt::Key_W: return kScrollUp;
    case Qt::Key_A: return kScrollLeft;
    case Qt::Key_S: return kScrollDown;
    case Qt::Key_D: return kScrollRight;
    case Qt::Key_Backspace: return kClearLayer;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kConfirmLayer;
    case Qt::Key_Menu: return kShowContextMenu;
    default: return std::nullopt;
    }
}

}  // namespace stackmason
