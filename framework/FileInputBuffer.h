#pragma once

#include <cstdint>
#include <streambuf>
#include <vector>

class CFile;

// A read buffer over an open CFile, so that code written for the standard
// streams reads through the file layer. A read or seek that fails raises the
// file's CFileException; a stream whose exceptions() include badbit passes
// it on unchanged, so that the caller learns the cause. The end of the file
// is not an error.
class FileInputBuffer : public std::streambuf {
public:
    static constexpr std::size_t kDefaultSize = 4096;

    explicit FileInputBuffer(CFile& file, std::size_t size = kDefaultSize);

protected:
    int_type underflow() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    CFile& m_file;
    std::vector<char> m_buffer;
    std::uint64_t m_end = 0; // the file position just past the buffered bytes
};
