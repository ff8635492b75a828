#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/Edit.h"
#include "editor/model/MirrorMode.h"

namespace stackmason {

struct Editor;

// Off -> left-right -> front-back -> both -> off.
MirrorMode NextMirrorMode(MirrorMode mode);

// "off", "left-right", "front-back", "both": the words of the menu item and the title.
std::string_view MirrorModeName(MirrorMode mode);

// A column (x, y) of the building, through all its layers.
struct MirrorColumn {
    int x = 0;
    int y = 0;
    friend bool operator==(const MirrorColumn&, const MirrorColumn&) = default;
};

// The mirror images of column (x, y) in a building `width` by `length` other than the column
// itself, each once: on a centre line a column is its own image, and is not repeated.
struct ColumnImages {
    std::array<MirrorColumn, 3> columns{};
    int count = 0;
};
ColumnImages MirrorImagesOf(MirrorMode mode, int width, int length, int x, int y);

// The edits that write the mirror images of what `edit` writes, at the same layers: a pen cell
// becomes pen cells, a downward run runs between the same layers in the mirror columns (it is
// the run itself that is mirrored, not worked out again there), and the cells of a line or a
// brush become one list of their images. Nothing for any other edit, or with mirroring off.
std::vector<Edit> ReflectionsOf(const Edit& edit, MirrorMode mode, int width, int length);

// Applies a canvas tool's edit and then its reflections under the editor's mirror mode, each
// through ApplyEdit, within the step that is open: the mirrored stroke stays one step. A pen
// cell and its images stay cell repaints; images off the plane shown repaint nothing.
void ApplyMirrored(Editor& editor, Edit edit);

// The M key: the next mirror mode, which the title shows at once.
void CycleMirrorMode(Editor& editor);

// The menu item: "Mirror drawing: " and the mode.
std::string MirrorDrawingLabel(const Editor& editor);

}  // namespace stackmason
