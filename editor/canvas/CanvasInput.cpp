#include "editor/canvas/CanvasInput.h"

#include <cmath>
#include <string>

#include "common/Constants.h"
#include "editor/canvas/BoxTool.h"
#include "editor/canvas/CellEdits.h"
#include "editor/canvas/LineAndBrush.h"
#include "editor/canvas/Mirroring.h"

namespace stackmason {
namespace {

using Kind = CanvasEvent::Kind;

bool LeftDraws(const CanvasEvent& e) { return e.kind == Kind::LeftPress || (e.kind == Kind::Move && e.left); }
bool RightDraws(const CanvasEvent& e) { return e.kind == Kind::RightPress || (e.kind == Kind::Move && e.right); }

// trunc(v / 32 + 1) in floating point, toward zero.
int TopViewCellOf(int pixel) { return static_cast<int>(std::trunc(pixel / static_cast<double>(kTileSize) + 1.0)); }
int TruncatedCellOf(int pixel) { return static_cast<int>(std::trunc(pixel / static_cast<double>(kTileSize))); }

void DrawDownward(Editor& editor, int x, int y, int layer) {
    ApplyMirrored(editor, DrawDownwardEdit(editor.grid, x, y, layer, editor.SelectedBlock()));
    editor.lastDrawnCell = {x, y};
}

void DeleteDownward(Editor& editor, int x, int y, int layer) {
    ApplyMirrored(editor, DeleteDownwardEdit(editor.grid, x, y, layer));
}

// One cell set to `code` (and its mirror images); in FrontView the working plane follows.
void SetOneCell(Editor& editor, int x, int y, int h, BlockCode code) {
    ApplyMirrored(editor, edit::SetCell{{x, y, h, code}});
}

// A stroke is one step of the history: from the press that starts it (or the first move with a
// button held, for a drag that came in from outside the canvas) to the release, however many
// cells it touches. A step that changed nothing is dropped.
void FollowStroke(Editor& editor, const CanvasEvent& event) {
    History& history = editor.history;
    if (event.kind == Kind::LeftPress || event.kind == Kind::RightPress)
        history.BeginStroke(editor);
    else if (!event.left && !event.right)
        history.EndStroke(editor);
    else if (!history.InStroke() && !history.StrokeCut())
        history.BeginStroke(editor);
}

// An undo or redo ended the stroke while the button was held: the rest of the drag edits
// nothing, so that the stroke stays the one step taken back.
bool DragAfterCut(const Editor& editor, const CanvasEvent& event) {
    return event.kind == Kind::Move && editor.history.StrokeCut();
}

void HandleTopView(Editor& editor, const CanvasEvent& e, bool edits) {
    const int x = TopViewCellOf(e.x);
    const int y = TopViewCellOf(e.y);
    editor.cursorCell = {x, y};
    const CellPosition last = editor.lastDrawnCell;
    const int length = y == last.row ? x - last.column + 1 : y - last.row + 1;
    editor.lengthText = "  Length: " + std::to_string(length);

    const bool inside = x >= 1 && x <= editor.grid.Width() && y >= 1 && y <= editor.grid.Length();
    if (!inside || !edits)
        return;
    const int layer = editor.CurrentLayer();
    if (e.ctrl && e.kind == Kind::LeftPress) {
        editor.selector.Select(editor.grid.At(x, y, layer));
        editor.window.FocusCanvasScroller();
        return;
    }
    if (e.shift && e.kind == Kind::LeftPress) {
        if (!editor.lineArmed) {
            editor.lineStart = {x, y};
            editor.lineArmed = true;
        } else {
            DrawLine(editor, editor.lineStart.column, editor.lineStart.row, x, y);
            editor.lineArmed = false;
        }
        return;
    }
    if (LeftDraws(e) && !e.alt) {
        if (editor.randomBrushActive) {
            PlaceRandomBrush(editor, x, y);
            return;
        }
        SetOneCell(editor, x, y, layer, editor.SelectedBlock());
        editor.lastDrawnCell = {x, y};
    }
    if (RightDraws(e) && !e.alt) {
        if (editor.randomBrushActive) {
            editor.randomBrushActive = false;
            editor.brushCells = Building();
            return;
        }
        SetOneCell(editor, x, y, layer, 0);
    }
    if (LeftDraws(e) && e.alt)
        DrawDownward(editor, x, y, layer);
    if (RightDraws(e) && e.alt)
        DeleteDownward(editor, x, y, layer);
}

void HandleFrontView(Editor& editor, const CanvasEvent& e, bool edits) {
    const int column = TruncatedCellOf(e.x) + 1;
    const int row = TruncatedCellOf(e.y);
    editor.cursorCell = {column, row};
    const int height = editor.grid.Height();
    const bool inside = column >= 1 && column <= editor.grid.Length() && row >= 0 && row <= height - 1;
    if (!inside || !edits)
        return;
    const int slice = editor.CurrentLayer();
    if (e.ctrl && LeftDraws(e)) {
        editor.selector.Select(editor.grid.At(slice, column, height - row));
        editor.window.FocusCanvasScroller();
        return;
    }
    if (LeftDraws(e)) {
        SetOneCell(editor, slice, column, height - row, editor.SelectedBlock());
        editor.lastDrawnCell = {column, row};
    }
    if (RightDraws(e)) {
        SetOneCell(editor, slice, column, height - row, 0);
    }
}

}  // namespace

void ShowTitleReadout(Editor& editor) {
    std::string title = "Stack Mason  " + std::to_string(editor.cursorCell.column) + "/" +
                        std::to_string(editor.cursorCell.row) + editor.lengthText;
    if (editor.mirrorMode != MirrorMode::Off)
        title += "  Mirror: " + std::string(MirrorModeName(editor.mirrorMode));
    editor.window.SetTitle(title + BoxReadout(editor));
}

void HandleCanvasEvent(Editor& editor, const CanvasEvent& event) {
    editor.window.FocusCanvasScroller();
    ShowTitleReadout(editor);
    FollowStroke(editor, event);
    const bool boxTool = BoxToolTakesMouse(editor);
    const bool edits = !DragAfterCut(editor, event) && !boxTool;
    if (editor.InTopView())
        HandleTopView(editor, event, edits);
    else
        HandleFrontView(editor, event, edits);
    if (boxTool)
        HandleBoxToolEvent(editor, event);
}

}  // namespace stackmason
