#pragma once

#include <cstdint>
#include <map>

// The bytes of a file that have been read, as a set of disjoint ranges:
// ranges that touch or overlap merge into one. It tells how many bytes of a
// range are new, which is what a reader may count as the file's data rather
// than the same data read again.
class ByteRangeSet {
public:
    // How many bytes of [begin, end) are not in the set.
    std::uint64_t NewBytes(std::int64_t begin, std::int64_t end) const;
    // Adds [begin, end) and returns how many of its bytes were new.
    std::uint64_t Add(std::int64_t begin, std::int64_t end);
    std::uint64_t ByteCount() const { return m_bytes; }
    std::size_t RangeCount() const { return m_ranges.size(); }

private:
    std::map<std::int64_t, std::int64_t> m_ranges; // begin -> end
    std::uint64_t m_bytes = 0;
};
