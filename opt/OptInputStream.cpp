#include "opt/OptInputStream.h"

#include <algorithm>

OptInputStream::OptInputStream(std::istream& stream) : m_stream(stream)
{
    m_stream.clear();
    if (m_stream.seekg(0, std::ios::end)) {
        const std::streamoff end = m_stream.tellg();
        m_length = end > 0 ? static_cast<std::int64_t>(end) : 0;
    }
    m_stream.clear();
    m_budget = kBudgetFloor + kBudgetPerFileByte * static_cast<std::uint64_t>(m_length);
}

void OptInputStream::Seek(std::int64_t position)
{
    m_position = position >= 0 && position <= m_length ? position : -1;
}

std::size_t OptInputStream::Read(void* buffer, std::size_t count)
{
    if (m_position < 0 || count == 0)
        return 0;
    const std::size_t available = std::min(count, static_cast<std::size_t>(m_length - m_position));
    if (!Charge(available))
        return 0;
    if (m_streamPosition != m_position) {
        m_stream.clear();
        if (!m_stream.seekg(m_position)) {
            m_position = m_streamPosition = -1;
            return 0;
        }
    }
    m_stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(available));
    const auto got = static_cast<std::size_t>(m_stream.gcount());
    if (got != available) {
        // The file changed under us: trust nothing more from this position.
        m_position = m_streamPosition = -1;
        return 0;
    }
    m_position += static_cast<std::int64_t>(got);
    m_streamPosition = m_position;
    return got;
}

bool OptInputStream::ReadUInt32(std::uint32_t& value)
{
    unsigned char bytes[4];
    if (!ReadExactly(bytes, sizeof bytes))
        return false;
    value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
            (static_cast<std::uint32_t>(bytes[2]) << 16) |
            (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

bool OptInputStream::ReadInt32(std::int32_t& value)
{
    std::uint32_t bits = 0;
    if (!ReadUInt32(bits))
        return false;
    value = static_cast<std::int32_t>(bits);
    return true;
}

bool OptInputStream::Charge(std::uint64_t bytes)
{
    if (bytes > m_budget) {
        m_budget = 0;
        m_position = -1;
        return false;
    }
    m_budget -= bytes;
    return true;
}
