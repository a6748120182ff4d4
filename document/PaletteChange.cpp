#include "document/PaletteChange.h"

#include <algorithm>

namespace {

constexpr std::string_view kUnnamedAction = "Change";

} // namespace

PaletteChange::PaletteChange(std::string_view action, const CellRun& cells, const Palette& before,
                             const Palette& after, const CellRun& selectionBefore,
                             const CellRun& selectionAfter)
    : m_action(action.empty() ? kUnnamedAction : action), m_cells(cells),
      m_selectionBefore(selectionBefore), m_selectionAfter(selectionAfter)
{
    int first = 0;
    while (first < kPaletteSize && before[first] == after[first])
        ++first;
    if (first == kPaletteSize)
        return;
    int end = kPaletteSize;
    while (before[end - 1] == after[end - 1])
        --end;
    m_nFirstEntry = first;
    m_before.assign(before.begin() + first, before.begin() + end);
    m_after.assign(after.begin() + first, after.begin() + end);
    // An unnamed change is named by the cells it changed.
    if (action.empty() && m_cells.IsEmpty())
        m_cells = CellRun{first, end - 1};
}

std::string PaletteChange::Text() const
{
    const std::string cells = CellRunText(m_cells);
    return cells.empty() ? m_action : m_action + ' ' + cells;
}

void PaletteChange::WriteTo(Palette& palette, CellRun& selection, Direction direction) const
{
    const bool undo = direction == Direction::undo;
    const std::vector<ColorTriple>& entries = undo ? m_before : m_after;
    std::copy(entries.begin(), entries.end(), palette.begin() + std::max(m_nFirstEntry, 0));
    if (m_selectionBefore != m_selectionAfter)
        selection = undo ? m_selectionBefore : m_selectionAfter;
}
