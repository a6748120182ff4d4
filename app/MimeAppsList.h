#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <vector>

// The default applications of a `mimeapps.list`, edited as bytes, line by
// line: every other byte of the user's file stays exactly as it was,
// whatever its encoding, a leading byte order mark included. Each edit
// reads the file once, however long its groups are.
class MimeAppsList {
public:
    explicit MimeAppsList(const QByteArray& bytes);

    // Some default line for the type names something other than
    // `desktopId` alone. A line with an empty value names nothing.
    bool HasOtherDefault(const QByteArray& type, const QByteArray& desktopId) const;
    // Some default line for the type names `desktopId` alone.
    bool HasDefault(const QByteArray& type, const QByteArray& desktopId) const;
    // Makes `desktopId` the type's default: the last line for the type
    // takes it, or a line at the end of the first default group, or a new
    // group at the end of the file.
    void SetDefault(const QByteArray& type, const QByteArray& desktopId);
    // Removes the lines that name `desktopId` alone, and each group left
    // with nothing but blank lines by that, with the blank line before it.
    void RemoveDefault(const QByteArray& type, const QByteArray& desktopId);

    QByteArray Bytes() const { return m_lines.join('\n'); }

private:
    struct Group {
        qsizetype header;
        qsizetype end; // one past its last line that is not blank
    };
    // Where the default groups and the type's lines in them are.
    struct Layout {
        std::vector<Group> groups;
        std::vector<qsizetype> typeLines;
    };
    Layout Scan(const QByteArray& type) const;
    QByteArrayList DesktopIds(qsizetype line) const;
    bool NamesAlone(qsizetype line, const QByteArray& desktopId) const;

    // The file's lines without their line breaks; a file that ends with a
    // line break ends with an empty one.
    QByteArrayList m_lines;
};
