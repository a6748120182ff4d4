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
    const auto length = std::min(static_cast<std::uint64_t>(m_length), kFloorCap);
    m_floor = std::min(kFloorBase + kFloorPerFileByte * length, kFloorCap);
}

void OptInputStream::Seek(std::int64_t position)
{
    m_position = !m_stopped && position >= 0 && position <= m_length ? position : -1;
}

std::uint64_t OptInputStream::Available(std::int64_t position, std::uint64_t count) const
{
    if (position < 0 || position > m_length)
        return 0;
    return std::min(count, static_cast<std::uint64_t>(m_length - position));
}

std::int64_t OptInputStream::PageBegin(std::int64_t position) const
{
    return position - position % kPageBytes;
}

std::int64_t OptInputStream::PageEnd(std::int64_t position) const
{
    return std::min(PageBegin(position + kPageBytes - 1), m_length);
}

std::uint64_t OptInputStream::KeptAllowance(std::uint64_t newBytes) const
{
    return m_floor + kKeptPerByteRead * (BytesRead() + newBytes);
}

std::uint64_t OptInputStream::WorkAllowance(std::uint64_t newBytes) const
{
    return m_floor + kWorkPerByteRead * (BytesRead() + newBytes);
}

bool OptInputStream::AffordRead(std::int64_t position, std::uint64_t count, std::uint64_t kept)
{
    const std::uint64_t available = Available(position, count);
    const std::uint64_t newBytes =
        available == 0 ? 0
                       : m_read.NewBytes(PageBegin(position),
                                         PageEnd(position + static_cast<std::int64_t>(available)));
    if (m_stopped || m_work + available > WorkAllowance(newBytes) ||
        m_kept + kept + kRangeBytes > KeptAllowance(newBytes))
        return Stop();
    return true;
}

std::uint64_t OptInputStream::EntriesHeld(std::int64_t position, std::int64_t count,
                                          std::uint64_t entryBytes) const
{
    if (count <= 0)
        return 0;
    const std::uint64_t held = Available(position, m_length) / entryBytes;
    return std::min(static_cast<std::uint64_t>(count), held);
}

std::size_t OptInputStream::Read(void* buffer, std::size_t count)
{
    if (m_position < 0 || count == 0)
        return 0;
    const auto available = static_cast<std::size_t>(Available(m_position, count));
    if (available == 0)
        return 0;
    const std::int64_t end = m_position + static_cast<std::int64_t>(available);
    // New pages may add a range to remember; pages read before add none.
    const std::int64_t pageBegin = PageBegin(m_position);
    const std::int64_t pageEnd = PageEnd(end);
    const std::uint64_t newBytes = m_read.NewBytes(pageBegin, pageEnd);
    const std::uint64_t rangeCost = newBytes > 0 ? kRangeBytes : 0;
    if (m_work + available > WorkAllowance(newBytes) ||
        m_kept + rangeCost > KeptAllowance(newBytes)) {
        Stop();
        return 0;
    }
    m_work += available;
    if (m_streamPosition != m_position) {
        m_stream.clear();
        if (!m_stream.seekg(m_position)) {
            m_position = m_streamPosition = -1;
            return 0;
        }
    }
    m_stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(available));
    if (static_cast<std::size_t>(m_stream.gcount()) != available) {
        // The file changed under us: trust nothing more from this position.
        m_position = m_streamPosition = -1;
        return 0;
    }
    const std::size_t ranges = m_read.RangeCount();
    m_read.Add(pageBegin, pageEnd);
    if (m_read.RangeCount() > ranges)
        m_kept += kRangeBytes;
    m_position = m_streamPosition = end;
    return available;
}

std::uint32_t OptInputStream::UInt32At(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool OptInputStream::ReadUInt32(std::uint32_t& value)
{
    std::uint8_t bytes[4];
    if (!ReadExactly(bytes, sizeof bytes))
        return false;
    value = UInt32At(bytes);
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

bool OptInputStream::Keep(std::uint64_t bytes)
{
    if (m_stopped || bytes > KeptAllowance(0) - m_kept)
        return Stop();
    m_kept += bytes;
    return true;
}

bool OptInputStream::Repeat(std::uint64_t bytes)
{
    if (m_stopped || bytes > WorkAllowance(0) - m_work)
        return Stop();
    m_work += bytes;
    return true;
}

bool OptInputStream::Stop()
{
    m_stopped = true;
    m_position = -1;
    return false;
}
