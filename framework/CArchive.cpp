#include "framework/CArchive.h"

#include "framework/CArchiveException.h"
#include "framework/CFile.h"

#include <algorithm>
#include <cstring>

CArchive::CArchive(CFile* file, Mode mode, std::size_t bufferSize)
    : m_file(file), m_mode(mode), m_buffer(std::max<std::size_t>(bufferSize, 16))
{
}

void CArchive::Write(const void* data, std::size_t count)
{
    if (!IsStoring())
        throw CArchiveException(CArchiveException::readOnly, m_file->GetFilePath());
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
        if (m_position == m_buffer.size())
            Flush();
        if (m_position == 0 && count >= m_buffer.size()) {
            m_file->Write(bytes, count);
            return;
        }
        const std::size_t chunk = std::min(count, m_buffer.size() - m_position);
        std::memcpy(m_buffer.data() + m_position, bytes, chunk);
        m_position += chunk;
        bytes += chunk;
        count -= chunk;
    }
}

void CArchive::WriteInt32(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(bits),
        static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16),
        static_cast<std::uint8_t>(bits >> 24),
    };
    Write(bytes, sizeof bytes);
}

void CArchive::WriteByte(std::uint8_t value)
{
    if (IsStoring() && m_position < m_buffer.size()) {
        m_buffer[m_position++] = value;
        return;
    }
    Write(&value, 1);
}

std::size_t CArchive::Read(void* data, std::size_t count)
{
    if (!IsLoading())
        throw CArchiveException(CArchiveException::writeOnly, m_file->GetFilePath());
    auto* bytes = static_cast<std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        if (m_position == m_limit) {
            if (count - done >= m_buffer.size()) {
                const std::size_t got = m_file->Read(bytes + done, count - done);
                return done + got;
            }
            if (Refill() == 0)
                break;
        }
        const std::size_t chunk = std::min(count - done, m_limit - m_position);
        std::memcpy(bytes + done, m_buffer.data() + m_position, chunk);
        m_position += chunk;
        done += chunk;
    }
    return done;
}

std::uint8_t CArchive::ReadByte()
{
    if (IsLoading() && m_position < m_limit)
        return m_buffer[m_position++];
    std::uint8_t value = 0;
    if (Read(&value, 1) != 1)
        throw CArchiveException(CArchiveException::endOfFile, m_file->GetFilePath());
    return value;
}

void CArchive::SeekFromStart(std::uint64_t offset)
{
    if (IsStoring())
        Flush();
    m_position = m_limit = 0;
    m_file->Seek(static_cast<std::int64_t>(offset), CFile::begin);
}

void CArchive::Flush()
{
    if (IsStoring()) {
        if (m_position > 0) {
            const std::size_t count = m_position;
            m_position = 0;
            m_file->Write(m_buffer.data(), count);
        }
        return;
    }
    if (m_limit > m_position)
        m_file->Seek(-static_cast<std::int64_t>(m_limit - m_position), CFile::current);
    m_position = m_limit = 0;
}

void CArchive::Close()
{
    Flush();
}

std::size_t CArchive::Refill()
{
    m_position = 0;
    m_limit = m_file->Read(m_buffer.data(), m_buffer.size());
    return m_limit;
}
