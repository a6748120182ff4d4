#pragma once

#include "document/ColorTriple.h"

#include <string>

// The texts the palette view shows for a cell.

// The status text of the cell under the mouse: "Cell 17: rgb(12, 34, 56)".
std::string CellStatusText(int index, const ColorTriple& color);

// The status bar's selection pane for the run `start` to `end`: "Cells
// 32–47 (16)" for a run of several cells, "Cell 5" for one, "" when nothing
// is selected (`start` -1).
std::string SelectionStatusText(int start, int end);

// A printed cell's label: its index in upper-case hexadecimal, "0x0" to
// "0xFF".
std::string CellLabel(int index);

// Whether a printed cell's label is black (rather than white): the colour's
// squared distance from g_colorBlack exceeds half the squared distance
// between g_colorBlack and g_colorWhite.
bool CellLabelIsBlack(const ColorTriple& color);
