#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// The commands on a box of cells through the layers: select, copy, cut, clear, paste as a
// floating copy that the canvas places, stack. Every change of the building is one step of
// the history; the selection and the clipboard are not part of it.

// Switches the box mode on or off: in it, a left drag on the canvas marks a box. Leaving it
// fixes the box's far plane where it is.
void ToggleBoxMode(Editor& editor);
void SelectWholeBuilding(Editor& editor);
// A floating copy is dropped first; otherwise the selection, and the box mode ends.
void DropBoxOrCopy(Editor& editor);

void CopyBox(Editor& editor);
void CutBox(Editor& editor);
void DeleteBox(Editor& editor);

// The clipboard's copy starts to follow the pointer; the canvas places it.
void FloatClipboard(Editor& editor);
void TurnFloatingClockwise(Editor& editor);
void TurnFloatingAnticlockwise(Editor& editor);
void MirrorFloatingLeftRight(Editor& editor);
void MirrorFloatingFrontBack(Editor& editor);

// Asks for a count and a direction and puts that many copies of the box next to it, one
// after the other; air in the box leaves the cells it lands on as they are. Copies cut off at
// the building's edge are put in as far as they fit, and the user is told how many fitted.
void StackBox(Editor& editor);
// The stacking itself, as one step; the number of copies that fitted whole.
int StackCopies(Editor& editor, const CellBox& box, const StackRequest& request);

bool HasSelectedBox(const Editor& editor);
bool HasClipboard(const Editor& editor);

}  // namespace stackmason
