#include "framework/FileInputBuffer.h"

#include "framework/CFile.h"

#include <algorithm>

FileInputBuffer::FileInputBuffer(CFile& file, std::size_t size)
    : m_file(file), m_buffer(std::max<std::size_t>(size, 1))
{
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
}

FileInputBuffer::int_type FileInputBuffer::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    const std::size_t got = m_file.Read(m_buffer.data(), m_buffer.size());
    m_end += got;
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + got);
    return got == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

FileInputBuffer::pos_type FileInputBuffer::seekoff(off_type offset,
                                                   std::ios_base::seekdir direction,
                                                   std::ios_base::openmode which)
{
    const auto failed = pos_type(off_type(-1));
    if ((which & std::ios_base::in) == 0)
        return failed;
    const auto buffered = static_cast<std::uint64_t>(egptr() - gptr());
    const auto current = static_cast<off_type>(m_end - buffered);
    off_type target = offset;
    if (direction == std::ios_base::cur)
        target += current;
    else if (direction == std::ios_base::end)
        target += static_cast<off_type>(m_file.GetLength());
    if (target < 0)
        return failed;
    // Within the buffer nothing needs reading again.
    const off_type start = current - (gptr() - eback());
    if (target >= start && target <= static_cast<off_type>(m_end)) {
        setg(eback(), eback() + (target - start), egptr());
        return pos_type(target);
    }
    m_end = m_file.Seek(target, CFile::begin);
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
    return pos_type(static_cast<off_type>(m_end));
}

FileInputBuffer::pos_type FileInputBuffer::seekpos(pos_type position, std::ios_base::openmode which)
{
    return seekoff(off_type(position), std::ios_base::beg, which);
}
