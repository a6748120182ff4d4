#include "fuzz/FuzzInputFile.h"

#include "fuzz/FuzzExpect.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

std::filesystem::path Folder()
{
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    if (std::filesystem::is_directory(memory, error))
        return memory;
    return std::filesystem::temp_directory_path();
}

} // namespace

FuzzInputFile::FuzzInputFile(const std::string& name)
    : m_path((Folder() / ("palvane-fuzz-" + std::to_string(getpid()) + "-" + name)).string())
{
}

FuzzInputFile::~FuzzInputFile()
{
    std::error_code error;
    std::filesystem::remove(m_path, error);
}

const std::string& FuzzInputFile::Hold(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(m_path.c_str(), "wb");
    const bool written = file != nullptr && std::fwrite(data, 1, size, file) == size;
    const bool closed = file != nullptr && std::fclose(file) == 0;
    FuzzExpect(written && closed, "the input file could not be written");
    return m_path;
}
