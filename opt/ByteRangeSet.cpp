#include "opt/ByteRangeSet.h"

#include <algorithm>
#include <iterator>

std::uint64_t ByteRangeSet::NewBytes(std::int64_t begin, std::int64_t end) const
{
    if (begin >= end)
        return 0;
    std::uint64_t known = 0;
    // The first range that could overlap is the last one beginning before `end`.
    auto range = m_ranges.upper_bound(begin);
    if (range != m_ranges.begin())
        --range;
    for (; range != m_ranges.end() && range->first < end; ++range) {
        const std::int64_t from = std::max(begin, range->first);
        const std::int64_t to = std::min(end, range->second);
        if (from < to)
            known += static_cast<std::uint64_t>(to - from);
    }
    return static_cast<std::uint64_t>(end - begin) - known;
}

std::uint64_t ByteRangeSet::Add(std::int64_t begin, std::int64_t end)
{
    if (begin >= end)
        return 0;
    const std::uint64_t fresh = NewBytes(begin, end);
    // Merge every range that overlaps or touches [begin, end) into one.
    auto first = m_ranges.upper_bound(begin);
    if (first != m_ranges.begin() && std::prev(first)->second >= begin)
        --first;
    auto last = first;
    for (; last != m_ranges.end() && last->first <= end; ++last) {
        begin = std::min(begin, last->first);
        end = std::max(end, last->second);
    }
    m_ranges.erase(first, last);
    m_ranges.emplace(begin, end);
    m_bytes += fresh;
    return fresh;
}
