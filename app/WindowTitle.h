#pragma once

#include <QString>

class QWidget;

// Window titles that show unsaved changes by Qt's convention: the title
// carries the placeholder "[*]", which shows as "*" while the window is
// marked modified and as nothing otherwise.
namespace WindowTitle {

// `name` with the placeholder after it; a "[*]" of the name's own is
// written so that it shows as itself.
QString Marked(const QString& name);
// The title as the window shows it.
QString Shown(const QWidget& window);

} // namespace WindowTitle
