#include "tests/support/TempFolder.h"

#include "framework/Utf8Path.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

TempFolder::TempFolder()
{
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / ("palvane-test-" + std::to_string(random()) + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = platform_file::FromPath(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

std::string TempFolder::operator/(const std::string& name) const
{
    return m_path + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

TempFolder::~TempFolder()
{
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(platform_file::ToPath(m_path), error))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    std::filesystem::permissions(platform_file::ToPath(m_path), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(platform_file::ToPath(m_path), error);
}
