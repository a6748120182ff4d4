#pragma once

#include <QList>
#include <QRect>

class QMainWindow;

// The main window as the user left it, kept in the settings from one run to
// the next: its place and size, whether it was maximised, its toolbars and
// panels (by their object names) and whether the status bar shows.
namespace MainWindowState {

// Gives `window`, about to show for the first time, what the last run
// saved, brought onto the screens there are now; without a saved state, its
// first place. True when it is to show maximised.
bool Restore(QMainWindow& window);
void Save(const QMainWindow& window);

// The first window on a screen with `available` room: its preferred size,
// but at most 80% of the room each way, centred in it.
QRect FirstGeometry(const QRect& available);
// `geometry` moved, and shrunk where it is larger, as little as it takes to
// lie within the room of one screen: the one it overlaps most, or the
// first of `available` when it overlaps none. Unchanged when it lies
// within one already.
QRect FitOntoScreens(const QRect& geometry, const QList<QRect>& available);

} // namespace MainWindowState
