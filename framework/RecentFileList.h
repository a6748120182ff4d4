#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The files most recently opened or saved, newest first, never more than the
// list's size and each path at most once.
class RecentFileList {
public:
    explicit RecentFileList(std::size_t size) : m_nSize(size) {}

    std::size_t GetSize() const { return m_nSize; }
    const std::vector<std::string>& GetEntries() const { return m_entries; }
    // Replaces the list, as read back from the settings: empty entries are
    // skipped and the list is cut to its size.
    void SetEntries(const std::vector<std::string>& entries);
    // Puts `path` first; a path already listed moves, the oldest falls off.
    void Add(const std::string& path);
    void Remove(std::size_t index);

    // The menu text of entry `index`: its number as mnemonic, then the path
    // shortened to `maxLength` characters, '&' doubled so it shows as itself.
    std::string GetMenuText(std::size_t index, std::size_t maxLength) const;

private:
    std::size_t m_nSize;
    std::vector<std::string> m_entries;
};

// `path` shortened to at most `maxLength` characters: the root, "...", and
// as many whole trailing folders as fit before the file name. A file name
// that does not fit on its own is cut.
std::string AbbreviatePath(const std::string& path, std::size_t maxLength);
