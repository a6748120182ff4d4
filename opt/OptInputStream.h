#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

// Reads a model file at absolute positions. Every value is little-endian.
//
// A read that cannot be completed (a position outside the file, the end of
// the file) yields nothing and reports failure, so that no value that could
// not be read is ever used; a later Seek makes the stream usable again.
//
// The offsets in a model file can make the same bytes be read again and
// again (two child lists sharing their nodes, repeated at every level, grow
// exponentially). Reading therefore spends a budget proportional to the
// file's length: the bytes read and the bytes of every record built from
// them. A well-formed file spends a few times its length; once the budget is
// gone every read fails.
class OptInputStream {
public:
    static constexpr std::uint64_t kBudgetPerFileByte = 8;
    static constexpr std::uint64_t kBudgetFloor = std::uint64_t{1} << 16;

    explicit OptInputStream(std::istream& stream);

    std::int64_t Length() const { return m_length; }
    // Moves to `position`. A position outside the file makes the reads that
    // follow fail.
    void Seek(std::int64_t position);
    // Reads up to `count` bytes and returns how many were read: fewer only at
    // the end of the file, none after a failure.
    std::size_t Read(void* buffer, std::size_t count);
    bool ReadExactly(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
    bool ReadInt32(std::int32_t& value);
    bool ReadUInt32(std::uint32_t& value);
    // Pays for `bytes` of records about to be built. False when the budget
    // cannot pay; reading then stops altogether.
    bool Charge(std::uint64_t bytes);

private:
    std::istream& m_stream;
    std::int64_t m_length = 0;
    std::int64_t m_position = -1;       // the next read's position; -1: unusable
    std::int64_t m_streamPosition = -1; // where the stream itself stands
    std::uint64_t m_budget = 0;
};
