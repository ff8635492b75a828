#pragma once

#include <Qt>
#include <optional>

namespace stackmason {

// The command of a keyboard shortcut: plain keys without Shift, Ctrl or Alt, Ctrl+R, and the
// undo and redo keys Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
std::optional<int> ShortcutCommand(int key, Qt::KeyboardModifiers modifiers);

}  // namespace stackmason
