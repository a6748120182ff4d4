#include "app/MainWindowState.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("Main Window");
const QString kGeometry = QStringLiteral("Geometry");
// The window manager's frame around it (left, top, right, bottom): the
// frame, title bar and all, is what must come onto the screen.
const QString kFrame = QStringLiteral("Frame");
const QString kMaximized = QStringLiteral("Maximized");
const QString kBars = QStringLiteral("State");
const QString kStatusBar = QStringLiteral("StatusBar");
// Bumped when the toolbars and panels change so much that an older state
// would restore them wrongly; restoreState then ignores it.
constexpr int kBarsVersion = 1;

// Room for a grid of comfortable cells beside the toolbar and menus.
constexpr QSize kPreferredSize(800, 600);
constexpr int kLargestShare = 80; // percent of the screen's room, each way

qint64 Area(const QRect& rect)
{
    return rect.isValid() ? qint64(rect.width()) * rect.height() : 0;
}

QList<QRect> AvailableGeometries()
{
    QList<QRect> available;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        available << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            available << screen->availableGeometry();
    return available;
}

} // namespace

QRect MainWindowState::FirstGeometry(const QRect& available)
{
    const QSize size(std::min(kPreferredSize.width(), available.width() * kLargestShare / 100),
                     std::min(kPreferredSize.height(), available.height() * kLargestShare / 100));
    QRect geometry(QPoint(), size);
    geometry.moveCenter(available.center());
    return geometry;
}

QRect MainWindowState::FitOntoScreens(const QRect& geometry, const QList<QRect>& available)
{
    if (available.isEmpty())
        return geometry;
    QRect room = available.front();
    for (const QRect& screen : available) {
        if (screen.contains(geometry))
            return geometry;
        if (Area(screen.intersected(geometry)) > Area(room.intersected(geometry)))
            room = screen;
    }
    QRect fitted(geometry.topLeft(), geometry.size().boundedTo(room.size()));
    fitted.moveLeft(std::clamp(fitted.left(), room.left(), room.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), room.top(), room.bottom() - fitted.height() + 1));
    return fitted;
}

bool MainWindowState::Restore(QMainWindow& window)
{
    QSettings settings;
    settings.beginGroup(kGroup);
    const QList<QRect> available = AvailableGeometries();
    const QRect saved = settings.value(kGeometry).toRect();
    if (!saved.isValid()) {
        if (!available.isEmpty())
            window.setGeometry(FirstGeometry(available.front()));
        return false;
    }
    const QVariantList frame = settings.value(kFrame).toList();
    const QMargins margins = frame.size() == 4 ? QMargins(frame[0].toInt(), frame[1].toInt(),
                                                          frame[2].toInt(), frame[3].toInt())
                                               : QMargins();
    window.setGeometry(
        FitOntoScreens(saved.marginsAdded(margins), available).marginsRemoved(margins));
    window.restoreState(settings.value(kBars).toByteArray(), kBarsVersion);
    window.statusBar()->setVisible(settings.value(kStatusBar, true).toBool());
    return settings.value(kMaximized, false).toBool();
}

void MainWindowState::Save(const QMainWindow& window)
{
    QSettings settings;
    settings.beginGroup(kGroup);
    // The place it takes when not maximised, so that it comes back there.
    settings.setValue(kGeometry, window.normalGeometry());
    if (!window.isMaximized() && !window.isFullScreen()) {
        const QRect frame = window.frameGeometry();
        const QRect inside = window.geometry();
        settings.setValue(
            kFrame, QVariantList{inside.left() - frame.left(), inside.top() - frame.top(),
                                 frame.right() - inside.right(), frame.bottom() - inside.bottom()});
    }
    settings.setValue(kMaximized, window.isMaximized());
    settings.setValue(kBars, window.saveState(kBarsVersion));
    settings.setValue(kStatusBar, !window.statusBar()->isHidden());
}
