#pragma once

#include <QString>

// The texts of desktop entries: how a value and an Exec argument are
// written so that launchers read back exactly the same string.
namespace DesktopEntryText {

// One argument of an Exec line: quoted when it holds a reserved character
// (then `"`, `` ` ``, `$` and `\` get a backslash), `%` doubled always.
QString QuoteExecArgument(const QString& argument);

// A value of the string type: `\`, newline, tab and carriage return as
// escapes, a leading space as `\s`. Applies on top of the Exec quoting.
QString EscapeValue(const QString& value);

// False when `value` holds a control character other than tab, newline and
// carriage return: a desktop entry has no way to write one.
bool CanHold(const QString& value);

} // namespace DesktopEntryText
