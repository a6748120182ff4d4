#include "framework/RecentFileList.h"

#include <algorithm>

void RecentFileList::SetEntries(const std::vector<std::string>& entries)
{
    m_entries.clear();
    for (const std::string& entry : entries)
        if (!entry.empty() && m_entries.size() < m_nSize &&
            std::find(m_entries.begin(), m_entries.end(), entry) == m_entries.end())
            m_entries.push_back(entry);
}

void RecentFileList::Add(const std::string& path)
{
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_nSize)
        m_entries.resize(m_nSize);
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string RecentFileList::GetMenuText(std::size_t index, std::size_t maxLength) const
{
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : AbbreviatePath(m_entries.at(index), maxLength)) {
        text += c;
        if (c == '&')
            text += c;
    }
    return text;
}

std::string AbbreviatePath(const std::string& path, std::size_t maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const std::size_t nameStart = path.find_last_of("/\\") + 1; // 0 when there is no folder
    const std::string name = path.substr(nameStart);
    if (name.size() >= maxLength || nameStart == 0)
        return name.substr(0, maxLength);
    const char separator = path[nameStart - 1];
    // The root: "/" or a drive like "C:\", kept in front of the dots.
    const std::size_t rootEnd = path.find_first_of("/\\", path.find_first_not_of("/\\")) + 1;
    const std::string root = rootEnd > 0 && rootEnd <= nameStart ? path.substr(0, rootEnd) : "";
    std::string tail = name;
    std::size_t start = nameStart - 1; // the separator before the tail
    if (root.size() + 3 + 1 + name.size() > maxLength)
        return name;
    while (start > rootEnd) {
        const std::size_t previous = path.find_last_of("/\\", start - 1);
        const std::size_t folderStart = previous == std::string::npos ? 0 : previous + 1;
        if (folderStart < rootEnd)
            break;
        const std::string longer = path.substr(folderStart, start - folderStart) + separator + tail;
        if (root.size() + 3 + 1 + longer.size() > maxLength)
            break;
        tail = longer;
        start = previous;
    }
    return root + "..." + separator + tail;
}
