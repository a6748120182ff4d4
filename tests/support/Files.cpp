#include "tests/support/Files.h"

#include "framework/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(platform_file::ToPath(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(platform_file::ToPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void ReplaceFileBytes(const std::string& path, const Bytes& bytes)
{
    WriteFileBytes(path + ".new", bytes);
    std::filesystem::rename(platform_file::ToPath(path + ".new"), platform_file::ToPath(path));
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform_file::ToPath(folder)))
        names.push_back(platform_file::FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}
