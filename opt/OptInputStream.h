#pragma once

#include "opt/ByteRangeSet.h"

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
// exponentially), and a file's length says nothing about its data: a sparse
// file of a few kilobytes on disk can claim gigabytes. Reading therefore
// earns its budgets from the bytes it has read, each byte counted once
// however often it is read again, and in whole pages of 4 KiB, as the file
// system and the stream's buffer hand them out (which also keeps the set of
// what has been read small): what the reader keeps (its records) may
// grow to four times those bytes, and its work (every byte read, and every
// byte of kept data that a record lists once more) to sixteen times. Both
// start from a floor that lets a file's structure (its top-level nodes and
// meshes) be set up before its data are read: a small file gets 64 KiB and
// eight bytes per byte of its length, as much as its whole reading could
// need, but no file more than 4 MiB, so that a file's apparent size buys
// nothing beyond that. A well-formed file spends a fraction of both budgets;
// once either is gone every read fails and reading stops.
class OptInputStream {
public:
    static constexpr std::int64_t kPageBytes = 4096;
    static constexpr std::uint64_t kKeptPerByteRead = 4;
    static constexpr std::uint64_t kWorkPerByteRead = 16;
    static constexpr std::uint64_t kFloorBase = std::uint64_t{1} << 16;
    static constexpr std::uint64_t kFloorPerFileByte = 8;
    static constexpr std::uint64_t kFloorCap = std::uint64_t{1} << 22;
    // What remembering one more range of pages read costs.
    static constexpr std::uint64_t kRangeBytes = 64;

    explicit OptInputStream(std::istream& stream);

    // The little-endian value in the four bytes at `bytes`.
    static std::uint32_t UInt32At(const std::uint8_t* bytes);
    static std::int32_t Int32At(const std::uint8_t* bytes)
    {
        return static_cast<std::int32_t>(UInt32At(bytes));
    }

    std::int64_t Length() const { return m_length; }
    // How many of `count` entries of `entryBytes` each the file holds from
    // `position` on: fewer than `count` where the file ends first.
    std::uint64_t EntriesHeld(std::int64_t position, std::int64_t count,
                              std::uint64_t entryBytes) const;
    // Moves to `position`. A position outside the file makes the reads that
    // follow fail.
    void Seek(std::int64_t position);
    // Reads up to `count` bytes and returns how many were read: fewer only at
    // the end of the file, none after a failure.
    std::size_t Read(void* buffer, std::size_t count);
    bool ReadExactly(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
    bool ReadInt32(std::int32_t& value);
    bool ReadUInt32(std::uint32_t& value);

    // Whether reading `count` bytes at `position` and then keeping `kept`
    // bytes of records built from them fits the budgets, so that a caller
    // can allocate for them before reading. When it does not, reading stops
    // altogether, as if the budget had run out halfway.
    bool AffordRead(std::int64_t position, std::uint64_t count, std::uint64_t kept);
    // Pays for `bytes` of records about to be kept. False when the budget
    // cannot pay; reading then stops altogether.
    bool Keep(std::uint64_t bytes);
    // Pays for listing `bytes` of kept data once more, as reading them again
    // would. False when the budget cannot pay; reading then stops altogether.
    bool Repeat(std::uint64_t bytes);
    // The bytes of the pages read so far, each counted once.
    std::uint64_t BytesRead() const { return m_read.ByteCount(); }

private:
    // How many of the `count` bytes at `position` the file holds.
    std::uint64_t Available(std::int64_t position, std::uint64_t count) const;
    // The start of the page that holds `position`, and the end of the page
    // before which `position` lies (at most the end of the file).
    std::int64_t PageBegin(std::int64_t position) const;
    std::int64_t PageEnd(std::int64_t position) const;
    std::uint64_t KeptAllowance(std::uint64_t newBytes) const;
    std::uint64_t WorkAllowance(std::uint64_t newBytes) const;
    bool Stop();

    std::istream& m_stream;
    std::int64_t m_length = 0;
    std::uint64_t m_floor = 0;
    std::int64_t m_position = -1;       // the next read's position; -1: unusable
    std::int64_t m_streamPosition = -1; // where the stream itself stands
    ByteRangeSet m_read;
    std::uint64_t m_kept = 0;
    std::uint64_t m_work = 0;
    bool m_stopped = false;
};
