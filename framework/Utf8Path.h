#pragma once

#include <filesystem>
#include <string>

// Conversions between our UTF-8 path strings and the standard library's
// paths, which on Windows hold UTF-16.
namespace platform_file {

std::filesystem::path ToPath(const std::string& utf8);
std::string FromPath(const std::filesystem::path& path);

} // namespace platform_file
