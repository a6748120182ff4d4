#include "document/CellNavigation.h"

#include "document/GridLayout.h"

int CellAfterMove(int current, CellMove move)
{
    constexpr int kLast = GridLayout::kCells - 1;
    // The cells run row after row, so a step to either side crosses rows
    // by itself.
    int next = current;
    switch (move) {
    case CellMove::left:
        next = current - 1;
        break;
    case CellMove::right:
        next = current + 1;
        break;
    case CellMove::up:
        next = current - GridLayout::kColumns;
        break;
    case CellMove::down:
        next = current + GridLayout::kColumns;
        break;
    case CellMove::first:
        return 0;
    case CellMove::last:
        return kLast;
    }
    return next < 0 || next > kLast ? current : next;
}
