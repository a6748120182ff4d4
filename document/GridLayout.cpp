#include "document/GridLayout.h"

namespace {

constexpr int kRows = GridLayout::kCells / GridLayout::kColumns;
// 16 cells and 17 gaps across and down.
constexpr std::int32_t kGapsAcross = GridLayout::kColumns + 1;

} // namespace

GridLayout::GridLayout(const GridRect& area, std::int32_t gap)
    : m_left(area.left), m_top(area.top), m_gap(gap),
      m_cellWidth((area.right - area.left - kGapsAcross * gap) / kColumns),
      m_cellHeight((area.bottom - area.top - kGapsAcross * gap) / kRows)
{
}

GridRect GridLayout::CellRect(int index) const
{
    const std::int32_t column = index % kColumns;
    const std::int32_t row = index / kColumns;
    GridRect cell;
    cell.left = m_left + m_gap + column * (m_cellWidth + m_gap);
    cell.top = m_top + m_gap + row * (m_cellHeight + m_gap);
    cell.right = cell.left + m_cellWidth;
    cell.bottom = cell.top + m_cellHeight;
    return cell;
}

int GridLayout::HitTest(std::int32_t x, std::int32_t y, std::int32_t gap, std::int32_t cellWidth,
                        std::int32_t cellHeight, int previous)
{
    // 64-bit, so that no recorded value can overflow the sums.
    const std::int64_t stepAcross = std::int64_t{gap} + cellWidth;
    const std::int64_t stepDown = std::int64_t{gap} + cellHeight;
    if (stepAcross <= 0 || stepDown <= 0)
        return previous;
    const std::int64_t column = (std::int64_t{x} - gap) / stepAcross;
    const std::int64_t row = (std::int64_t{y} - gap) / stepDown;
    const std::int64_t index = column + std::int64_t{kColumns} * row;
    if (index > kCells - 2)
        return kCells - 1;
    if (index < 0)
        return 0;
    return static_cast<int>(index);
}
