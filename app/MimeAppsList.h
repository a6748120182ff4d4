#pragma once

#include <QString>
#include <QStringList>

// The default applications of a `mimeapps.list`, edited line by line so
// that every other line of the user's file stays exactly as it was.
class MimeAppsList {
public:
    explicit MimeAppsList(const QString& text);

    // The desktop ids named as the type's default, in their order.
    QStringList DefaultFor(const QString& type) const;
    // Makes `desktopId` alone the type's default.
    void SetDefault(const QString& type, const QString& desktopId);
    // Removes the type's default lines, and the group once nothing but
    // blank lines is left in it.
    void RemoveDefault(const QString& type);

    QString Text() const { return m_lines.join(u'\n'); }

private:
    // The lines of the default group: its header, and one past its last
    // line that is not blank. -1 for a file without the group.
    qsizetype GroupHeader() const;
    qsizetype GroupEnd(qsizetype header) const;
    // The line of the type's key within the group, or -1.
    qsizetype KeyLine(const QString& type) const;

    QStringList m_lines;
};
