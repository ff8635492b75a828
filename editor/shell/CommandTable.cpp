#include "editor/shell/CommandTable.h"

#include <algorithm>

#include "editor/canvas/Mirroring.h"
#include "editor/commands/BoxCommands.h"
#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"
#include "editor/files/PlanFiles.h"
#include "editor/model/Repaint.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"
#include "editor/shell/PreviewLaunch.h"

namespace stackmason {
namespace {

constexpr int kScrollStep = 30;
constexpr Qt::KeyboardModifiers kCountedModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

constexpr KeyChord Plain(Qt::Key key) { return {key, Qt::NoModifier}; }
constexpr KeyChord Ctrl(Qt::Key key) { return {key, Qt::ControlModifier}; }
constexpr KeyChord CtrlShift(Qt::Key key) { return {key, Qt::ControlModifier | Qt::ShiftModifier}; }

void ToggleSilhouette(Editor& editor) {
    editor.silhouetteOn = !editor.silhouetteOn;
    RequestRepaint(editor, kFullRepaint);
}

void SwitchOnRandomBrush(Editor& editor) {
    editor.randomBrushActive = true;
    RequestRepaint(editor, kFullRepaint);
}

void ShowLoadBrushNotice(Editor& editor) {
    editor.dialogs.ShowError("I'm sorry, this feature is currently not available!");
}

void ScrollBy(Editor& editor, int dx, int dy) {
    editor.window.ScrollTo(editor.window.ScrollX() + dx, editor.window.ScrollY() + dy);
}

void ScrollUp(Editor& editor) { ScrollBy(editor, 0, -kScrollStep); }
void ScrollLeft(Editor& editor) { ScrollBy(editor, -kScrollStep, 0); }
void ScrollDown(Editor& editor) { ScrollBy(editor, 0, kScrollStep); }
void ScrollRight(Editor& editor) { ScrollBy(editor, kScrollStep, 0); }

void OpenContextMenu(Editor& editor) { editor.window.OpenContextMenu(); }

// Return shows the layer typed into the layer field; from anywhere else it does nothing.
void ConfirmLayer(Editor& editor) {
    if (editor.window.LayerSpinHasFocus())
        RequestRepaint(editor, kFullRepaint);
}

void Undo(Editor& editor) { editor.history.Undo(editor); }
void Redo(Editor& editor) { editor.history.Redo(editor); }
void OpenMaterialList(Editor& editor) { editor.window.OpenMaterialList(); }
void SaveBooklet(Editor& editor) { SaveLayerBooklet(editor); }
void SavePictures(Editor& editor) { SaveLayerPictures(editor); }

// The view item names the view it switches to.
std::string ViewItemLabel(const Editor& editor) { return ViewToggleLabel(editor); }

bool CanUndo(const Editor& editor) { return editor.history.CanUndo(); }
bool CanRedo(const Editor& editor) { return editor.history.CanRedo(); }

constexpr Command kCommands[] = {
    {.id = kCopyLayer, .menuLabel = "CopyLayer", .keys = {Plain(Qt::Key_C)}, .actionName = "copy the layer",
     .run = CopyLayer},
    {.id = kPasteLayer, .menuLabel = "PasteLayer", .keys = {Plain(Qt::Key_V)}, .actionName = "paste the layer",
     .run = PasteLayer},
    {.id = kInsertLayer, .menuLabel = "InsertLayer", .actionName = "insert a layer", .run = InsertLayer},
    {.id = kRemoveLayer, .menuLabel = "RemoveLayer", .actionName = "remove the layer", .run = RemoveLayer},
    {.id = kFillArea, .menuLabel = "FillArea", .keys = {Plain(Qt::Key_F)}, .actionName = "fill the area",
     .run = FillArea},
    {.id = kSilhouette, .menuLabel = "Silhouette", .actionName = "switch the silhouette", .run = ToggleSilhouette},
    {.id = kToggleView, .menuLabel = "FrontView", .keys = {Plain(Qt::Key_Tab)}, .actionName = "switch the view",
     .run = ToggleView, .currentLabel = ViewItemLabel},
    {.id = kLoadBrush, .menuLabel = "LoadBrush", .actionName = "load a brush", .run = ShowLoadBrushNotice},
    {.id = kRandomBrush, .menuLabel = "RandomBrush", .actionName = "switch on the random brush",
     .run = SwitchOnRandomBrush},
    // It shows TopView first itself, once it has the memory it needs.
    {.id = kFlipAxis, .menuLabel = "FlipAxis", .keys = {Plain(Qt::Key_R)}, .actionName = "swap the axes",
     .run = FlipAxis},
    {.id = kOrbitscope, .menuLabel = "Orbitscope", .separatorBefore = true, .actionName = "start the 3-D preview",
     .run = LaunchPreview},
    {.id = kSelectTexturePack, .menuLabel = "Select TexturePack", .separatorBefore = true,
     .actionName = "select a texture pack", .run = SelectTexturePack},
    {.id = kUndo, .menuLabel = "Undo", .separatorBefore = true, .keys = {Ctrl(Qt::Key_Z)},
     .actionName = "undo the last change", .run = Undo, .enabled = CanUndo},
    {.id = kRedo, .menuLabel = "Redo", .keys = {Ctrl(Qt::Key_Y), CtrlShift(Qt::Key_Z)},
     .actionName = "redo the change", .run = Redo, .enabled = CanRedo},
    {.id = kMaterialList, .menuLabel = "Material list", .actionName = "show the material list",
     .run = OpenMaterialList},
    {.id = kLayerPlans, .menuLabel = "Layer plans...", .actionName = "save the layer plans", .run = SaveBooklet},
    {.id = kLayerPictures, .menuLabel = "Layer pictures...", .actionName = "save the layer pictures",
     .run = SavePictures},
    {.id = kSelectBox, .menuLabel = "Select box", .separatorBefore = true, .keys = {Plain(Qt::Key_B)},
     .actionName = "switch the box selection", .run = ToggleBoxMode, .showsReadout = true},
    {.id = kCopyBox, .menuLabel = "Copy box", .keys = {Ctrl(Qt::Key_C)}, .actionName = "copy the box",
     .run = CopyBox, .enabled = HasSelectedBox},
    {.id = kCutBox, .menuLabel = "Cut box", .keys = {Ctrl(Qt::Key_X)}, .actionName = "cut the box", .run = CutBox,
     .enabled = HasSelectedBox},
    {.id = kPasteBox, .menuLabel = "Paste box", .keys = {Ctrl(Qt::Key_V)}, .actionName = "paste the copy",
     .run = FloatClipboard, .enabled = HasClipboard, .showsReadout = true},
    {.id = kDeleteBox, .menuLabel = "Delete box", .keys = {Plain(Qt::Key_Delete)}, .actionName = "clear the box",
     .run = DeleteBox, .enabled = HasSelectedBox},
    {.id = kStackBox, .menuLabel = "Stack box...", .actionName = "stack the box", .run = StackBox,
     .enabled = HasSelectedBox},
    {.id = kMirrorDrawing, .menuLabel = "Mirror drawing: off", .keys = {Plain(Qt::Key_M)},
     .actionName = "switch mirrored drawing", .run = CycleMirrorMode, .currentLabel = MirrorDrawingLabel},
    // Shortcuts without a menu item.
    {.id = kDropBox, .keys = {Plain(Qt::Key_Escape)}, .actionName = "drop the selection", .run = DropBoxOrCopy,
     .showsReadout = true},
    {.id = kSelectAll, .keys = {Ctrl(Qt::Key_A)}, .actionName = "select the building", .run = SelectWholeBuilding,
     .showsReadout = true},
    {.id = kTurnCopyClockwise, .keys = {Plain(Qt::Key_E)}, .actionName = "turn the copy",
     .run = TurnFloatingClockwise, .showsReadout = true},
    {.id = kTurnCopyAnticlockwise, .keys = {Plain(Qt::Key_Q)}, .actionName = "turn the copy",
     .run = TurnFloatingAnticlockwise, .showsReadout = true},
    {.id = kMirrorCopyLeftRight, .keys = {Plain(Qt::Key_X)}, .actionName = "mirror the copy",
     .run = MirrorFloatingLeftRight},
    {.id = kMirrorCopyFrontBack, .keys = {Plain(Qt::Key_Y)}, .actionName = "mirror the copy",
     .run = MirrorFloatingFrontBack},
    {.id = kRotateLayers, .keys = {Ctrl(Qt::Key_R)}, .actionName = "turn the layers", .run = RotateLayers},
    {.id = kScrollUp, .keys = {Plain(Qt::Key_W)}, .actionName = "scroll the canvas", .run = ScrollUp},
    {.id = kScrollLeft, .keys = {Plain(Qt::Key_A)}, .actionName = "scroll the canvas", .run = ScrollLeft},
    {.id = kScrollDown, .keys = {Plain(Qt::Key_S)}, .actionName = "scroll the canvas", .run = ScrollDown},
    {.id = kScrollRight, .keys = {Plain(Qt::Key_D)}, .actionName = "scroll the canvas", .run = ScrollRight},
    {.id = kShowContextMenu, .keys = {Plain(Qt::Key_Menu)}, .actionName = "open the context menu",
     .run = OpenContextMenu},
    {.id = kClearLayer, .keys = {Plain(Qt::Key_Backspace)}, .actionName = "clear the layer", .run = ClearLayer},
    {.id = kConfirmLayer, .keys = {Plain(Qt::Key_Return), Plain(Qt::Key_Enter)},
     .actionName = "show the layer typed", .run = ConfirmLayer},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(int id) {
    const auto found = std::ranges::find(kCommands, id, &Command::id);
    return found == std::end(kCommands) ? nullptr : &*found;
}

std::optional<int> ShortcutCommand(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & kCountedModifiers;
    for (const Command& command : kCommands)
        for (const KeyChord& chord : command.keys)
            if (chord.key != 0 && chord.key == key && chord.modifiers == held)
                return command.id;
    return std::nullopt;
}

std::string MenuItemLabel(const Command& command, const Editor& editor) {
    return command.currentLabel ? command.currentLabel(editor) : std::string(command.menuLabel);
}

bool MenuItemEnabled(const Command& command, const Editor& editor) {
    return !command.enabled || command.enabled(editor);
}

}  // namespace stackmason
