#pragma once

// The keys that move the current cell of the palette grid, 16 cells a row.
enum class CellMove {
    left,  // the previous cell; from a row's first cell the previous row's last
    right, // the next cell; from a row's last cell the next row's first
    up,    // the cell above
    down,  // the cell below
    first, // cell 0
    last,  // cell 255
};

// The cell that `move` leads to from `current` (0 to 255). A move past the
// grid's edge stays on `current`.
int CellAfterMove(int current, CellMove move);
