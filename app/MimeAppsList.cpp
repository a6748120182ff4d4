#include "app/MimeAppsList.h"

namespace {

const QString kGroup = QStringLiteral("[Default Applications]");

bool IsGroupHeader(const QString& line)
{
    return line.trimmed().startsWith(u'[');
}

} // namespace

MimeAppsList::MimeAppsList(const QString& text) : m_lines(text.split(u'\n')) {}

qsizetype MimeAppsList::GroupHeader() const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].trimmed() == kGroup)
            return i;
    return -1;
}

qsizetype MimeAppsList::GroupEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    for (qsizetype i = header + 1; i < m_lines.size() && !IsGroupHeader(m_lines[i]); ++i)
        if (!m_lines[i].trimmed().isEmpty())
            end = i + 1;
    return end;
}

qsizetype MimeAppsList::KeyLine(const QString& type) const
{
    const qsizetype header = GroupHeader();
    if (header < 0)
        return -1;
    for (qsizetype i = header + 1; i < GroupEnd(header); ++i) {
        const QString& line = m_lines[i];
        const qsizetype equals = line.indexOf(u'=');
        if (!line.trimmed().startsWith(u'#') && equals > 0 && line.left(equals).trimmed() == type)
            return i;
    }
    return -1;
}

QStringList MimeAppsList::DefaultFor(const QString& type) const
{
    const qsizetype line = KeyLine(type);
    if (line < 0)
        return {};
    const QString& text = m_lines[line];
    QStringList ids = text.mid(text.indexOf(u'=') + 1).split(u';', Qt::SkipEmptyParts);
    for (QString& id : ids)
        id = id.trimmed();
    ids.removeAll(QString());
    return ids;
}

void MimeAppsList::SetDefault(const QString& type, const QString& desktopId)
{
    const QString entry = type + u'=' + desktopId + u';';
    const qsizetype line = KeyLine(type);
    if (line >= 0) {
        m_lines[line] = entry;
        return;
    }
    const qsizetype header = GroupHeader();
    if (header >= 0) {
        m_lines.insert(GroupEnd(header), entry);
        return;
    }
    // A new group at the end, after one blank line, and the file ends with
    // a line break.
    while (!m_lines.isEmpty() && m_lines.back().trimmed().isEmpty())
        m_lines.removeLast();
    if (!m_lines.isEmpty())
        m_lines << QString();
    m_lines << kGroup << entry << QString();
}

void MimeAppsList::RemoveDefault(const QString& type)
{
    for (qsizetype line = KeyLine(type); line >= 0; line = KeyLine(type))
        m_lines.removeAt(line);
    const qsizetype header = GroupHeader();
    if (header < 0 || GroupEnd(header) != header + 1)
        return;
    m_lines.removeAt(header);
    // The blank line that separated the group from the one before it.
    if (header > 0 && header < m_lines.size() && m_lines[header - 1].trimmed().isEmpty() &&
        m_lines[header].trimmed().isEmpty())
        m_lines.removeAt(header);
}
