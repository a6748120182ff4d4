#pragma once

class CPalvaneDoc;

// What a click on palette cell `index` (0 to 255) does to the selection: a
// plain click selects that one cell; a click with Shift, while a selection
// exists, ends the run at the cell when it lies after the start, and does
// nothing at all otherwise. Returns whether the click acted, in which case
// the clicked view redraws.
bool ApplySelectionClick(CPalvaneDoc& document, int index, bool shift);
