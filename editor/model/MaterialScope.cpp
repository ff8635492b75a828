#include "editor/model/MaterialScope.h"

#include "editor/model/Editor.h"

namespace stackmason {

CellBox ScopeCells(const Editor& editor, MaterialScope scope) {
    const Building& grid = editor.grid;
    const CellBox building{1, 1, 1, grid.Width(), grid.Length(), grid.Height()};
    if (scope == MaterialScope::Building)
        return building;
    const int plane = editor.CurrentLayer();
    if (editor.InTopView())
        return building.Intersected({1, 1, plane, grid.Width(), grid.Length(), plane});
    return building.Intersected({plane, 1, 1, plane, grid.Length(), grid.Height()});
}

}  // namespace stackmason
