#include "editor/shell/DispatchCommand.h"

#include "editor/canvas/CanvasRepaint.h"
#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"
#include "editor/model/UserAction.h"
#include "editor/model/Views.h"
#include "editor/packs/TexturePackLoader.h"
#include "editor/shell/CommandIds.h"
#include "editor/shell/PreviewLaunch.h"

namespace stackmason {
namespace {

constexpr int kScrollStep = 30;

void ScrollBy(Editor& editor, int dx, int dy) {
    editor.window.ScrollTo(editor.window.ScrollX() + dx, editor.window.ScrollY() + dy);
}

// What each command does, in words that follow "Could not " in its error message.
const char* CommandActionName(int commandId) {
    switch (commandId) {
    case kCopyLayer: return "copy the layer";
    case kPasteLayer: return "paste the layer";
    case kInsertLayer: return "insert a layer";
    case kRemoveLayer: return "remove the layer";
    case kFillArea: return "fill the area";
    case kSilhouette: return "switch the silhouette";
    case kToggleView: return "switch the view";
    case kOrbitscope: return "start the 3-D preview";
    case kFlipAxis: return "swap the axes";
    case kLoadBrush: return "load a brush";
    case kRandomBrush: return "switch on the random brush";
    case kRotateLayers: return "turn the layers";
    case kScrollUp:
    case kScrollLeft:
    case kScrollDown:
    case kScrollRight: return "scroll the canvas";
    case kSelectTexturePack: return "select a texture pack";
    case kShowContextMenu: return "open the context menu";
    case kClearLayer: return "clear the layer";
    case kConfirmLayer: return "show the layer typed";
    case kUndo: return "undo the last change";
    case kRedo: return "redo the change";
    case kMaterialList: return "show the material list";
    default: return "run the command";
    }
}

void RunCommand(Editor& editor, int commandId) {
    switch (commandId) {
    case kCopyLayer:
        CopyLayer(editor);
        break;
    case kPasteLayer:
        PasteLayer(editor);
        break;
    case kInsertLayer:
        InsertLayer(editor);
        break;
    case kRemoveLayer:
        RemoveLayer(editor);
        break;
    case kFillArea:
        FillArea(editor);
        break;
    case kOrbitscope:
        LaunchPreview(editor);
        break;
    case kFlipAxis:
        // It shows TopView first itself, once it has the memory it needs.
        FlipAxis(editor);
        break;
    case kRotateLayers:
        RotateLayers(editor);
        break;
    case kClearLayer:
        ClearLayer(editor);
        break;
    case kSilhouette:
        editor.silhouetteOn = !editor.silhouetteOn;
        editor.painter.RedrawCanvas();
        break;
    case kToggleView:
        ToggleView(editor);
        break;
    case kLoadBrush:
        editor.dialogs.ShowError("I'm sorry, this feature is currently not available!");
        break;
    case kRandomBrush:
        editor.randomBrushActive = true;
        editor.painter.RedrawCanvas();
        break;
    case kScrollUp:
        ScrollBy(editor, 0, -kScrollStep);
        break;
    case kScrollLeft:
        ScrollBy(editor, -kScrollStep, 0);
        break;
    case kScrollDown:
        ScrollBy(editor, 0, kScrollStep);
        break;
    case kScrollRight:
        ScrollBy(editor, kScrollStep, 0);
        break;
    case kSelectTexturePack:
        SelectTexturePack(editor);
        break;
    case kShowContextMenu:
        editor.window.OpenContextMenu();
        break;
    case kConfirmLayer:
        if (editor.window.LayerSpinHasFocus())
            editor.painter.RedrawCanvas();
        break;
    case kUndo:
        editor.history.Undo(editor);
        break;
    case kRedo:
        editor.history.Redo(editor);
        break;
    case kMaterialList:
        editor.window.OpenMaterialList();
        break;
    default:
        break;
    }
}

}  // namespace

void DispatchCommand(Editor& editor, int commandId) {
    RunShownAction(editor, CommandActionName(commandId), [&] { RunCommand(editor, commandId); });
}

}  // namespace stackmason
