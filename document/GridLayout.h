#pragma once

#include <cstdint>

// A rectangle in device units: left and top inside, right and bottom just
// outside.
struct GridRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend constexpr bool operator==(const GridRect&, const GridRect&) = default;
};

// The 16 by 16 palette grid laid out in a drawing area: a gap around and
// between the cells, and every cell the same size. Width and height are
// divided independently and truncated, so what the division leaves over
// stays as an extra margin on the right and at the bottom. An area smaller
// than 17 gaps gives cells of zero or negative size; they are kept as they
// are, since the hit test works with the recorded values.
class GridLayout {
public:
    static constexpr int kColumns = 16;
    static constexpr int kCells = 256;
    static constexpr std::int32_t kScreenGap = 4;
    static constexpr std::int32_t kPrintGap = 10;

    GridLayout(const GridRect& area, std::int32_t gap);

    // The width (or height) of an area whose cells come out `cellSize` wide
    // (or high) with `gap`: 16 cells and 17 gaps.
    static constexpr std::int32_t AreaFor(std::int32_t cellSize, std::int32_t gap)
    {
        return kColumns * cellSize + (kColumns + 1) * gap;
    }

    std::int32_t Gap() const { return m_gap; }
    std::int32_t CellWidth() const { return m_cellWidth; }
    std::int32_t CellHeight() const { return m_cellHeight; }

    // Cell `index` (0 to 255): column index mod 16, row index div 16.
    GridRect CellRect(int index) const;

    // The cell under (x, y) in an area at (0, 0) laid out with the given
    // recorded values. A cell owns the gap to its right and the gap below it;
    // the margins left and above belong to the first column and row; points
    // right of the last column wrap to the next row, and anything past 254
    // is 255. A layout whose step (gap plus cell size) is zero or negative
    // maps nothing, so `previous` is kept; a point that maps before the
    // first cell is cell 0.
    static int HitTest(std::int32_t x, std::int32_t y, std::int32_t gap, std::int32_t cellWidth,
                       std::int32_t cellHeight, int previous);

private:
    std::int32_t m_left;
    std::int32_t m_top;
    std::int32_t m_gap;
    std::int32_t m_cellWidth;
    std::int32_t m_cellHeight;
};
