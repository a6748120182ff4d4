#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The current fuzz input as a real file, so that it reaches a reader through
// the program's own open path. The file lives in memory where the system has
// a memory-backed folder (/dev/shm), else in the temporary folder, and is
// removed when this is destroyed.
class FuzzInputFile {
public:
    // `name` tells the targets of one process apart; the process id tells
    // processes apart.
    explicit FuzzInputFile(const std::string& name);
    ~FuzzInputFile();
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's contents with these bytes and returns its path.
    const std::string& Hold(const std::uint8_t* data, std::size_t size);

private:
    std::string m_path;
};
