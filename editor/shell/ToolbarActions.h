#pragma once

#include "editor/model/Editor.h"

namespace stackmason {

// The toolbar's buttons and the editor's start, each step one user action inside its error
// boundary (UserAction.h): a failure shows one "Error" box and throws nothing.

// Loads the default texture pack, then makes the first building; a pack that cannot be had
// still leaves the first building to be made.
void StartEditor(Editor& editor);

void PressLoadButton(Editor& editor);
void PressSaveButton(Editor& editor);
void PressNewButton(Editor& editor);
void PressInfoButton(Editor& editor);

}  // namespace stackmason
