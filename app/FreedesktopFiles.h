#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The files that make the colormap type known to a freedesktop desktop,
// laid out as below a data folder (`~/.local/share`, `/usr/share`). The
// editor's one name there is its application id: the desktop entry, the
// application icon and the AppStream metadata are all named after it.
namespace FreedesktopFiles {

inline constexpr const char* kApplicationId = "com.quorvath.Palvane";
inline constexpr const char* kMimeType = "application/x-jediknight-cmp";
inline constexpr const char* kDesktopId = "com.quorvath.Palvane.desktop";
inline constexpr const char* kMimePackage = "mime/packages/palvane.xml";
inline constexpr const char* kApplicationEntry = "applications/com.quorvath.Palvane.desktop";
inline constexpr const char* kPrintEntry = "applications/com.quorvath.Palvane.Print.desktop";
// What earlier versions called the entry.
inline constexpr const char* kFormerDesktopId = "palvane.desktop";

// The sizes the desktop asks icons for, in pixels; each comes in the
// hicolor theme as a picture of its own, and both icons as SVG as well.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

struct File {
    QString path; // relative to the data folder
    QByteArray content;
};

QByteArray MimePackage();
// The document and application icons at every size in the hicolor theme.
std::vector<File> Icons();
// The editor's entry, and the one for printing that menus do not show.
// `executable` starts the Exec line, quoted as it needs.
QByteArray ApplicationEntry(const QString& executable);
QByteArray PrintEntry(const QString& executable);

// All of the above, in that order.
std::vector<File> All(const QString& executable);

// The files earlier versions wrote under names now given up, as they wrote
// them: the registration removes those still so. Their paths alone cost
// nothing to make, so that a home without them is told at once.
std::vector<QString> FormerPaths();
std::vector<File> Former(const QString& executable);

} // namespace FreedesktopFiles
