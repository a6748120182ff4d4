#include "app/DesktopEntryText.h"

#include <algorithm>

namespace {

// Characters that make an Exec argument need quotes.
const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters that need a backslash inside the quotes.
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");

} // namespace

QString DesktopEntryText::QuoteExecArgument(const QString& argument)
{
    bool quoted = argument.isEmpty();
    for (const QChar c : argument)
        quoted = quoted || kReserved.contains(c);
    QString text;
    for (const QChar c : argument) {
        if (c == u'%') {
            text += QStringLiteral("%%");
            continue;
        }
        if (quoted && kEscapedInQuotes.contains(c))
            text += u'\\';
        text += c;
    }
    return quoted ? u'"' + text + u'"' : text;
}

QString DesktopEntryText::EscapeValue(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\')
            text += QStringLiteral("\\\\");
        else if (c == u'\n')
            text += QStringLiteral("\\n");
        else if (c == u'\t')
            text += QStringLiteral("\\t");
        else if (c == u'\r')
            text += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            text += QStringLiteral("\\s");
        else
            text += c;
    }
    return text;
}

bool DesktopEntryText::CanHold(const QString& value)
{
    return std::none_of(value.begin(), value.end(), [](QChar c) {
        return (c < u' ' && c != u'\t' && c != u'\n' && c != u'\r') || c == QChar(0x7f);
    });
}
