#pragma once

#include <Qt>
#include <array>
#include <optional>
#include <span>
#include <string>

#include "editor/model/Editor.h"
#include "editor/shell/CommandIds.h"

namespace stackmason {

// A key and the modifiers held with it; only Shift, Ctrl and Alt count.
struct KeyChord {
    int key = 0;  // a Qt::Key; 0 is no key
    Qt::KeyboardModifiers modifiers{};
};

// Everything the editor knows of one command. The context menu, the keyboard shortcuts, the
// dispatch and the tests' list of commands are all made from the one table of them, so a new
// command is one row there and the function it runs.
struct Command {
    int id = 0;
    // The context menu item's label at start; none for a command without an item. The
    // items stand in the order of the table.
    const char* menuLabel = nullptr;
    bool separatorBefore = false;
    std::array<KeyChord, 2> keys{};
    // What the command does, in words that follow "Could not " in its error message.
    const char* actionName = "";
    void (*run)(Editor&) = nullptr;
    // For an item whose label or state follows the editor; none where it stays as it is.
    std::string (*currentLabel)(const Editor&) = nullptr;
    bool (*enabled)(const Editor&) = nullptr;
    // The title's readout shows what the command changed at once, not at the next mouse event.
    bool showsReadout = false;
};

// Every command, the context menu's items first, in menu order.
std::span<const Command> Commands();

// The command with this id; none for an id the editor does not know.
const Command* FindCommand(int id);

// The command of a key pressed with these modifiers, if it is a shortcut.
std::optional<int> ShortcutCommand(int key, Qt::KeyboardModifiers modifiers);

// The menu item's label and state as the editor now stands.
std::string MenuItemLabel(const Command& command, const Editor& editor);
bool MenuItemEnabled(const Command& command, const Editor& editor);

}  // namespace stackmason
