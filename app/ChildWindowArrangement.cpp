#include "app/ChildWindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

// The children to arrange, in `order`, restored from maximised.
QList<QMdiSubWindow*> ArrangedWindows(QMdiArea& area, QMdiArea::WindowOrder order)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(order)) {
        if (window->isHidden() || window->isMinimized())
            continue;
        if (window->isMaximized())
            window->showNormal();
        windows.push_back(window);
    }
    return windows;
}

QSize LargestMinimumSize(const QList<QMdiSubWindow*>& windows)
{
    QSize minimum(0, 0);
    for (const QMdiSubWindow* window : windows)
        minimum = minimum.expandedTo(window->minimumSizeHint());
    return minimum;
}

// `start` moved back towards `areaStart` so that `length` ends inside an
// area of `areaLength`, but never before the area's start.
int KeepInside(int start, int length, int areaStart, int areaLength)
{
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

void ChildWindowArrangement::Cascade(QMdiArea& area)
{
    const QList<QMdiSubWindow*> windows = ArrangedWindows(area, QMdiArea::StackingOrder);
    if (windows.isEmpty())
        return;
    const QRect domain = area.viewport()->rect();
    const QSize minimum = LargestMinimumSize(windows);
    // The frame above a child's view: one step shows the title bar of the
    // child behind.
    const QWidget* content = windows.front()->widget();
    const int step = std::max(content != nullptr ? content->y() : 0, 1);
    const int stepsInAThird = domain.height() / (3 * step);
    const int stepsLeavingMinimum = std::min((domain.width() - minimum.width()) / step,
                                             (domain.height() - minimum.height()) / step);
    const int steps = std::max(0, std::min(stepsInAThird, stepsLeavingMinimum));
    const QSize size = (domain.size() - QSize(steps * step, steps * step)).expandedTo(minimum);
    // The front child, at the end of the stacking order, comes last.
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const int offset = step * static_cast<int>(i % (steps + 1));
        windows[i]->setGeometry(QRect(domain.topLeft() + QPoint(offset, offset), size));
    }
}

QRect ChildWindowArrangement::NextInCascade(const QMdiArea& area, const QMdiSubWindow& child,
                                            const QMdiSubWindow* previous)
{
    const QRect domain = area.viewport()->rect();
    const QSize minimum = child.minimumSizeHint();
    // The frame above the child's view is its title bar.
    const int step = std::max(child.contentsMargins().top(), 1);
    QPoint corner = previous != nullptr ? previous->pos() + QPoint(step, step) : domain.topLeft();
    if (corner.y() - domain.top() > domain.height() / 3 ||
        corner.x() + minimum.width() > domain.right() + 1 ||
        corner.y() + minimum.height() > domain.bottom() + 1)
        corner = domain.topLeft();
    // Its own size, as far as the area has room for it from there.
    const QSize room(domain.right() + 1 - corner.x(), domain.bottom() + 1 - corner.y());
    return QRect(corner, child.sizeHint().boundedTo(room).expandedTo(minimum));
}

void ChildWindowArrangement::Tile(QMdiArea& area)
{
    const QList<QMdiSubWindow*> windows = ArrangedWindows(area, QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    const QRect domain = area.viewport()->rect();
    const QSize minimum = LargestMinimumSize(windows);
    const int count = static_cast<int>(windows.size());
    const auto rowsFor = [count](int columns) { return (count + columns - 1) / columns; };
    // How many times the minimum fits the tighter side of a tile.
    const auto room = [&](int columns) {
        return std::min(double(domain.width() / columns) / std::max(minimum.width(), 1),
                        double(domain.height() / rowsFor(columns)) / std::max(minimum.height(), 1));
    };
    int columns = 1;
    for (int candidate = 2; candidate <= count; ++candidate)
        if (room(candidate) > room(columns))
            columns = candidate;
    const int rows = rowsFor(columns);

    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        const int inRow = std::min(columns, count - row * columns);
        // Each tile ends where the next begins.
        const int left = domain.left() + domain.width() * column / inRow;
        const int right = domain.left() + domain.width() * (column + 1) / inRow;
        const int top = domain.top() + domain.height() * row / rows;
        const int bottom = domain.top() + domain.height() * (row + 1) / rows;
        const QSize size = QSize(right - left, bottom - top).expandedTo(minimum);
        windows[i]->setGeometry(KeepInside(left, size.width(), domain.left(), domain.width()),
                                KeepInside(top, size.height(), domain.top(), domain.height()),
                                size.width(), size.height());
    }
}
