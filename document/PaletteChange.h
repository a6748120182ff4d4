#pragma once

#include "document/CellRun.h"
#include "document/ColorTriple.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What one action did to a document's palette, kept so that it can be taken
// back and done again: the run of entries from the first it changed to the
// last, as they were before and after (at most 256 entries, 768 bytes, each
// way), and the selection before and after. It also names itself for the
// Undo and Redo items: the action and the cells it worked on.
class PaletteChange {
public:
    static constexpr int kPaletteSize = 256;
    using Palette = std::array<ColorTriple, kPaletteSize>;
    enum class Direction { undo, redo };

    // The change from `before` to `after` made by `action` on `cells`. An
    // action without a name is called "Change", and one that names no cells
    // is named without them.
    PaletteChange(std::string_view action, const CellRun& cells, const Palette& before,
                  const Palette& after, const CellRun& selectionBefore,
                  const CellRun& selectionAfter);

    // Whether no palette entry differs. Such a change is not kept: a
    // selection that moved without a colour changing is no edit.
    bool IsEmpty() const { return m_before.empty(); }
    // "Gradient 32–47", "Edit Color 5", "Import Dark Forces Palette".
    std::string Text() const;

    // The first entry changed (-1 for none) and the entries from there as
    // they were before and after.
    int FirstEntry() const { return m_nFirstEntry; }
    std::span<const ColorTriple> EntriesBefore() const { return m_before; }
    std::span<const ColorTriple> EntriesAfter() const { return m_after; }

    // Writes the entries as they were before the change (undo) or after it
    // (redo); the selection too, where the change moved it.
    void WriteTo(Palette& palette, CellRun& selection, Direction direction) const;

private:
    std::string m_action;
    CellRun m_cells;
    int m_nFirstEntry = -1;
    std::vector<ColorTriple> m_before;
    std::vector<ColorTriple> m_after;
    CellRun m_selectionBefore;
    CellRun m_selectionAfter;
};
