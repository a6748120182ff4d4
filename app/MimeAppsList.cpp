#include "app/MimeAppsList.h"

#include <algorithm>

namespace {

const QByteArray kGroup = QByteArrayLiteral("[Default Applications]");
const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// The line as a parser sees it: without surrounding white space, and the
// first without a byte order mark.
QByteArrayView Content(const QByteArrayList& lines, qsizetype line)
{
    QByteArrayView text = lines[line];
    if (line == 0 && text.startsWith(kByteOrderMark))
        text = text.sliced(kByteOrderMark.size());
    return text.trimmed();
}

} // namespace

MimeAppsList::MimeAppsList(const QByteArray& bytes) : m_lines(bytes.split('\n')) {}

MimeAppsList::Layout MimeAppsList::Scan(const QByteArray& type) const
{
    Layout layout;
    bool inDefaults = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArrayView line = Content(m_lines, i);
        if (line.startsWith('[')) {
            inDefaults = line == kGroup;
            if (inDefaults)
                layout.groups.push_back({i, i + 1});
            continue;
        }
        if (!inDefaults || line.isEmpty())
            continue;
        layout.groups.back().end = i + 1;
        const qsizetype equals = line.indexOf('=');
        if (!line.startsWith('#') && equals > 0 && line.first(equals).trimmed() == type)
            layout.typeLines.push_back(i);
    }
    return layout;
}

QByteArrayList MimeAppsList::DesktopIds(qsizetype line) const
{
    const QByteArrayView text = Content(m_lines, line);
    QByteArrayList ids;
    for (const QByteArray& id : text.sliced(text.indexOf('=') + 1).toByteArray().split(';'))
        if (!id.trimmed().isEmpty())
            ids << id.trimmed();
    return ids;
}

bool MimeAppsList::NamesAlone(qsizetype line, const QByteArray& desktopId) const
{
    return DesktopIds(line) == QByteArrayList{desktopId};
}

bool MimeAppsList::HasOtherDefault(const QByteArray& type, const QByteArray& desktopId) const
{
    const std::vector<qsizetype> lines = Scan(type).typeLines;
    return std::any_of(lines.begin(), lines.end(), [&](qsizetype line) {
        return !DesktopIds(line).isEmpty() && !NamesAlone(line, desktopId);
    });
}

bool MimeAppsList::HasDefault(const QByteArray& type, const QByteArray& desktopId) const
{
    const std::vector<qsizetype> lines = Scan(type).typeLines;
    return std::any_of(lines.begin(), lines.end(),
                       [&](qsizetype line) { return NamesAlone(line, desktopId); });
}

void MimeAppsList::SetDefault(const QByteArray& type, const QByteArray& desktopId)
{
    const QByteArray entry = type + '=' + desktopId + ';';
    const Layout layout = Scan(type);
    if (!layout.typeLines.empty()) {
        if (!HasDefault(type, desktopId))
            m_lines[layout.typeLines.back()] = entry;
        return;
    }
    if (!layout.groups.empty()) {
        m_lines.insert(layout.groups.front().end, entry);
        return;
    }
    // A new group at the end, after a blank line, and the file ends with a
    // line break.
    if (!m_lines.isEmpty() && m_lines.back().isEmpty())
        m_lines.removeLast();
    if (!m_lines.isEmpty() && !m_lines.back().trimmed().isEmpty())
        m_lines << QByteArray();
    m_lines << kGroup << entry << QByteArray();
}

void MimeAppsList::RemoveDefault(const QByteArray& type, const QByteArray& desktopId)
{
    const Layout layout = Scan(type);
    std::vector<bool> dropped(static_cast<std::size_t>(m_lines.size()), false);
    auto line = layout.typeLines.begin();
    for (const Group& group : layout.groups) {
        bool emptied = false;
        bool keptAny = false;
        for (; line != layout.typeLines.end() && *line < group.end; ++line) {
            const bool ours = NamesAlone(*line, desktopId);
            dropped[static_cast<std::size_t>(*line)] = ours;
            emptied = emptied || ours;
        }
        for (qsizetype i = group.header + 1; i < group.end; ++i)
            keptAny = keptAny ||
                      (!dropped[static_cast<std::size_t>(i)] && !Content(m_lines, i).isEmpty());
        if (!emptied || keptAny)
            continue;
        dropped[static_cast<std::size_t>(group.header)] = true;
        // The blank line that set the group apart, when a blank line or the
        // end of the file follows it.
        const qsizetype next = group.end;
        if (group.header > 0 && Content(m_lines, group.header - 1).isEmpty() &&
            (next == m_lines.size() || Content(m_lines, next).isEmpty()))
            dropped[static_cast<std::size_t>(group.header - 1)] = true;
    }
    QByteArrayList kept;
    kept.reserve(m_lines.size());
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (!dropped[static_cast<std::size_t>(i)])
            kept << m_lines[i];
    m_lines = std::move(kept);
}
