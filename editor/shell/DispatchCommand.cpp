#include "editor/shell/DispatchCommand.h"

#include "editor/commands/FillArea.h"
#include "editor/commands/FlipAxis.h"
#include "editor/commands/LayerCommands.h"
#include "editor/commands/RotateLayers.h"
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

}  // namespace

void DispatchCommand(Editor& editor, int commandId) {
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
        if (!editor.InTopView())
            ShowTopView(editor);
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
    default:
        break;
    }
}

}  // namespace stackmason
