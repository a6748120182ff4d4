#pragma once

class QMdiArea;
class QMdiSubWindow;
class QRect;

// Window, Cascade and Tile: the child windows of a multiple-document area
// laid out anew. Every child keeps at least its minimum size, so its whole
// palette grid stays usable, and lies inside the area as far as that size
// allows. Minimised and hidden children stay where they are; maximised ones
// are restored first.
class ChildWindowArrangement {
public:
    // The children overlap, each one title bar right of and below the one
    // behind it, all of one size: the area less the steps of a cascade that
    // takes a third of its height. A cascade that runs out of room starts
    // again at the top left.
    static void Cascade(QMdiArea& area);
    // The children side by side in rows, each row's children sharing its
    // width, with as many columns as give the children the most room. When
    // the tiles are smaller than a child can be, the children keep their
    // minimum size and overlap, spread over the area.
    static void Tile(QMdiArea& area);
    // Where a new child goes after `previous` (nullptr: the first): one
    // title bar right of and below it, or at the top left once the cascade
    // reaches a third of the area's height or leaves no room for the child;
    // its own size, within the room left, but not below its minimum.
    static QRect NextInCascade(const QMdiArea& area, const QMdiSubWindow& child,
                               const QMdiSubWindow* previous);
};
