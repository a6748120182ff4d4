#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
// Writes `bytes` to a new file and renames it over `path`, as editors save.
void ReplaceFileBytes(const std::string& path, const Bytes& bytes);
// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
