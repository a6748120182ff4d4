#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The files that make the colormap type known to a freedesktop desktop,
// laid out as below a data folder (`~/.local/share`, `/usr/share`).
namespace FreedesktopFiles {

inline constexpr const char* kMimeType = "application/x-jediknight-cmp";
inline constexpr const char* kDesktopId = "palvane.desktop";
inline constexpr const char* kMimePackage = "mime/packages/palvane.xml";
inline constexpr const char* kApplicationEntry = "applications/palvane.desktop";
inline constexpr const char* kPrintEntry = "applications/palvane-print.desktop";

struct File {
    QString path; // relative to the data folder
    QByteArray content;
};

QByteArray MimePackage();
// The document and application icons at 16 and 32 pixels in the hicolor
// theme.
std::vector<File> Icons();
// The editor's entry, and the one for printing that menus do not show.
// `executable` starts the Exec line, quoted as it needs.
QByteArray ApplicationEntry(const QString& executable);
QByteArray PrintEntry(const QString& executable);

// All of the above, in that order.
std::vector<File> All(const QString& executable);

} // namespace FreedesktopFiles
