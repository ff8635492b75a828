#pragma once

#include <QWidget>

#include "editor/model/Editor.h"

namespace stackmason {

// The buttons' and hooks' operations, kept apart from the window that routes to them.
void RunLoadButton(Editor& editor);
void RunSaveButton(Editor& editor);
void RunDuplicateLayer(Editor& editor);

}  // namespace stackmason
