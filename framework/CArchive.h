#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CFile;

// A buffered byte stream over a CFile, either storing (writing) or loading
// (reading). Integers are little-endian on the wire whatever the host.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    static constexpr std::size_t kDefaultBufferSize = 4096;

    CArchive(CFile* file, Mode mode, std::size_t bufferSize = kDefaultBufferSize);
    // Nothing buffered is written on destruction: a storing archive must be
    // closed to reach its file, so an archive left by an exception writes
    // nothing more.
    ~CArchive() = default;

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile* GetFile() const { return m_file; }

    // Storing.
    void Write(const void* data, std::size_t count);
    void WriteInt32(std::int32_t value);
    void WriteByte(std::uint8_t value);

    // Loading. Read returns how many bytes it read: fewer than asked at the
    // end of the file, which is not an error.
    std::size_t Read(void* data, std::size_t count);
    // Raises CArchiveException(endOfFile) when no byte is left.
    std::uint8_t ReadByte();
    // Discards whatever was read ahead and moves the file to an absolute
    // offset, so that the next read starts there.
    void SeekFromStart(std::uint64_t offset);

    // Storing: writes the buffer to the file. Loading: gives the read-ahead
    // back to the file, so that its position is where reading stopped.
    void Flush();
    // Flushes and detaches from the file; the file stays open.
    void Close();

private:
    std::size_t Refill();

    CFile* m_file;
    Mode m_mode;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_position = 0; // next byte to read, or the count written
    std::size_t m_limit = 0;    // loading: bytes valid in the buffer
};
