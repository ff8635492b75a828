#pragma once

#include <Qt>
#include <optional>

namespace stackmason {

// The command of a keyboard shortcut: plain keys without Shift, Ctrl or Alt, and Ctrl+R.
std::optional<int> ShortcutCommand(int key, Qt::KeyboardModifiers modifiers);

}  // namespace stackmason
