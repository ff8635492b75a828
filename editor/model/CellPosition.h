#pragma once

namespace stackmason {

// A cell of the canvas: column and row, in the coordinates each use states.
struct CellPosition {
    int column = 0;
    int row = 0;
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

}  // namespace stackmason
