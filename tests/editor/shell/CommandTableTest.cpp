#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/model/BuildingOperations.h"
#include "editor/shell/CommandTable.h"
#include "editor/shell/DispatchCommand.h"
#include "tests/editor/shell/ShellTestSupport.h"
#include "tests/editor/support/EditorFixture.h"

namespace stackmason {
namespace {

// The context menu as the user sees it, "-" for a separator, each item with the id it sends.
const std::vector<std::pair<std::string, int>> kMenu = {
    {"CopyLayer", 1},  {"PasteLayer", 2},  {"InsertLayer", 3}, {"RemoveLayer", 4},
    {"FillArea", 5},   {"Silhouette", 6},  {"FrontView", 7},   {"LoadBrush", 10},
    {"RandomBrush", 11}, {"FlipAxis", 9},  {"-", 0},           {"Orbitscope", 8},
    {"-", 0},          {"Select TexturePack", 24}, {"-", 0},   {"Undo", 100},
    {"Redo", 101},     {"Material list", 102}, {"Layer plans...", 116}, {"Layer pictures...", 117}, {"-", 0},     {"Select box", 103},
    {"Copy box", 104}, {"Cut box", 105},   {"Paste box", 106}, {"Delete box", 107},
    {"Stack box...", 108}, {"Mirror drawing: off", 115},
};

using Chord = std::pair<int, Qt::KeyboardModifiers::Int>;
constexpr Qt::KeyboardModifiers::Int kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers::Int kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers::Int kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// Every shortcut and the command id it sends; any other key sends none.
const std::map<Chord, int> kShortcuts = {
    {{Qt::Key_C, kNone}, 1},          {{Qt::Key_V, kNone}, 2},          {{Qt::Key_F, kNone}, 5},
    {{Qt::Key_Tab, kNone}, 7},        {{Qt::Key_R, kNone}, 9},          {{Qt::Key_R, kCtrl}, 16},
    {{Qt::Key_W, kNone}, 20},         {{Qt::Key_A, kNone}, 21},         {{Qt::Key_S, kNone}, 22},
    {{Qt::Key_D, kNone}, 23},         {{Qt::Key_Menu, kNone}, 25},      {{Qt::Key_Backspace, kNone}, 26},
    {{Qt::Key_Return, kNone}, 76},    {{Qt::Key_Enter, kNone}, 76},     {{Qt::Key_Z, kCtrl}, 100},
    {{Qt::Key_Y, kCtrl}, 101},        {{Qt::Key_Z, kCtrlShift}, 101},   {{Qt::Key_B, kNone}, 103},
    {{Qt::Key_C, kCtrl}, 104},        {{Qt::Key_X, kCtrl}, 105},        {{Qt::Key_V, kCtrl}, 106},
    {{Qt::Key_Delete, kNone}, 107},   {{Qt::Key_Escape, kNone}, 109},   {{Qt::Key_A, kCtrl}, 110},
    {{Qt::Key_E, kNone}, 111},        {{Qt::Key_Q, kNone}, 112},        {{Qt::Key_X, kNone}, 113},
    {{Qt::Key_Y, kNone}, 114},        {{Qt::Key_M, kNone}, 115},
};

std::vector<int> KeysToTry() {
    std::vector<int> keys;
    for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key)
        keys.push_back(key);
    for (int key = Qt::Key_Escape; key <= Qt::Key_Direction_R; ++key)
        keys.push_back(key);
    for (int key = Qt::Key_F1; key <= Qt::Key_F12; ++key)
        keys.push_back(key);
    return keys;
}

TEST(CommandTable, MakesTheContextMenuInItsOrderWithItsIds) {
    std::vector<std::pair<std::string, int>> menu;
    for (const Command& command : Commands()) {
        if (!command.menuLabel)
            continue;
        if (command.separatorBefore)
            menu.emplace_back("-", 0);
        menu.emplace_back(command.menuLabel, command.id);
    }
    EXPECT_EQ(menu, kMenu);
}

// Every key from Space to the function keys, with each mix of Shift, Ctrl and Alt.
TEST(CommandTable, MakesExactlyTheShortcutsOfTheKeyMap) {
    const Qt::KeyboardModifiers::Int mixes[] = {
        kNone, Qt::ShiftModifier, kCtrl, Qt::AltModifier, kCtrlShift, Qt::ControlModifier | Qt::AltModifier,
        Qt::ShiftModifier | Qt::AltModifier, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier};
    int shortcuts = 0;
    for (int key : KeysToTry())
        for (Qt::KeyboardModifiers::Int mix : mixes) {
            const auto expected = kShortcuts.find({key, mix});
            const std::optional<int> command = ShortcutCommand(key, Qt::KeyboardModifiers::fromInt(mix));
            if (expected == kShortcuts.end()) {
                EXPECT_FALSE(command) << "key " << key << " with modifiers " << mix;
            } else {
                ++shortcuts;
                EXPECT_EQ(command, expected->second) << "key " << key << " with modifiers " << mix;
            }
        }
    EXPECT_EQ(shortcuts, static_cast<int>(kShortcuts.size()));
    // The keypad and Meta do not count: Enter on the keypad is still Return.
    EXPECT_EQ(ShortcutCommand(Qt::Key_Enter, Qt::KeypadModifier), 76);
    EXPECT_EQ(ShortcutCommand(Qt::Key_C, Qt::MetaModifier), 1);
    // Ctrl+D is the key-up hook's, not a shortcut.
    EXPECT_FALSE(ShortcutCommand(Qt::Key_D, Qt::ControlModifier));
}

TEST(CommandTable, EachIdIsOneCommandThatCanBeRunAndNamed) {
    std::set<int> ids;
    for (const Command& command : Commands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "id " << command.id << " twice";
        EXPECT_NE(command.run, nullptr) << "id " << command.id;
        EXPECT_NE(std::string(command.actionName), "") << "id " << command.id;
        EXPECT_EQ(FindCommand(command.id), &command);
    }
    for (int unknown : {0, 12, 17, 27, 75, 77, 99, 150, -1})
        EXPECT_EQ(FindCommand(unknown), nullptr) << unknown;
}

// The view item names the other view; Undo and Redo are greyed while there is nothing to take.
TEST(CommandTable, MenuItemsFollowTheViewAndTheHistory) {
    testing::PackFolder folder("stackmason-command-table");
    testing::EditorFixture f;
    Editor& e = f.editor;
    NewBuilding(e);
    e.history.Clear();
    const Command& view = *FindCommand(kToggleView);
    const Command& undo = *FindCommand(kUndo);
    const Command& redo = *FindCommand(kRedo);
    EXPECT_EQ(MenuItemLabel(view, e), "FrontView");
    EXPECT_FALSE(MenuItemEnabled(undo, e));
    EXPECT_FALSE(MenuItemEnabled(redo, e));
    DispatchCommand(e, kToggleView);
    EXPECT_EQ(MenuItemLabel(view, e), "TopView");
    EXPECT_EQ(MenuItemLabel(*FindCommand(kSilhouette), e), "Silhouette");
    EXPECT_TRUE(MenuItemEnabled(*FindCommand(kSilhouette), e));
    DispatchCommand(e, kToggleView);
    EXPECT_EQ(MenuItemLabel(view, e), "FrontView");
    DispatchCommand(e, kFlipAxis);
    EXPECT_TRUE(MenuItemEnabled(undo, e));
    DispatchCommand(e, kUndo);
    EXPECT_TRUE(MenuItemEnabled(redo, e));
}

// "Layer plans..." saves the booklet where the requester says, "Layer pictures..." a picture per
// layer with a block into the folder chosen; cancelling either writes nothing.
TEST(CommandTable, LayerPlanItemsSaveWhereTheUserSays) {
    testing::PackFolder folder("stackmason-command-plans");
    testing::EditorFixture f;
    Editor& e = f.editor;
    NewBuilding(e);
    e.grid.At(2, 3, 1) = 1;
    e.grid.At(4, 4, 5) = 1;
    const std::filesystem::path here = std::filesystem::current_path();
    DispatchCommand(e, kLayerPlans);  // cancelled
    EXPECT_FALSE(std::filesystem::exists(here / "plans.pdf"));
    f.dialogs.Choose((here / "plans").string(), 0);
    DispatchCommand(e, kLayerPlans);
    EXPECT_TRUE(f.dialogs.errors.empty());
    std::ifstream pdf(here / "plans.pdf", std::ios::binary);
    std::string start(5, '\0');
    pdf.read(start.data(), 5);
    EXPECT_EQ(start, "%PDF-");

    const std::filesystem::path pictures = here / "pictures";
    std::filesystem::create_directory(pictures);
    DispatchCommand(e, kLayerPictures);  // cancelled
    EXPECT_TRUE(std::filesystem::is_empty(pictures));
    f.dialogs.folderAnswer = pictures.string();
    DispatchCommand(e, kLayerPictures);
    EXPECT_TRUE(f.dialogs.errors.empty());
    EXPECT_EQ(f.dialogs.folderTitles, (std::vector<std::string>{"Save layer pictures", "Save layer pictures"}));
    EXPECT_TRUE(std::filesystem::exists(pictures / "layer-001.png"));
    EXPECT_TRUE(std::filesystem::exists(pictures / "layer-005.png"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pictures), std::filesystem::directory_iterator()), 2);
}

}  // namespace
}  // namespace stackmason
