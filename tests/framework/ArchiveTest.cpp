#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/CFile.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(ArchiveTest, StoresLittleEndianIntegersBytesAndRunsAcrossBufferEdges)
{
    TempFolder folder;
    const std::string path = folder / "out.bin";
    Bytes run(100);
    std::iota(run.begin(), run.end(), 0);
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive archive(&file, CArchive::store, 16);
        EXPECT_TRUE(archive.IsStoring());
        archive.WriteInt32(30);
        archive.WriteInt32(-2);
        for (int i = 0; i < 13; ++i)
            archive.WriteByte(static_cast<std::uint8_t>(0xA0 + i));
        archive.Write(run.data(), run.size()); // larger than the buffer
        archive.Write(run.data(), 5);
        archive.Close();
    }
    Bytes expected = {0x1E, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 13; ++i)
        expected.push_back(static_cast<std::uint8_t>(0xA0 + i));
    expected.insert(expected.end(), run.begin(), run.end());
    expected.insert(expected.end(), run.begin(), run.begin() + 5);
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(ArchiveTest, WritesNothingThatWasNotFlushed)
{
    TempFolder folder;
    const std::string path = folder / "out.bin";
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive archive(&file, CArchive::store);
        archive.WriteByte(1);
    }
    EXPECT_TRUE(ReadFileBytes(path).empty());
}

TEST(ArchiveTest, LoadsWithShortCountsSeeksAndRaisesAtTheEnd)
{
    TempFolder folder;
    const std::string path = folder / "in.bin";
    Bytes data(70);
    std::iota(data.begin(), data.end(), 0);
    WriteFileBytes(path, data);

    CFile file(path, CFile::modeRead);
    CArchive archive(&file, CArchive::load, 16);
    EXPECT_TRUE(archive.IsLoading());
    std::uint8_t buffer[64] = {};
    EXPECT_EQ(archive.Read(buffer, 4), 4u);
    EXPECT_EQ(buffer[3], 3);
    // The read-ahead is discarded: the next byte is the one at the offset.
    archive.SeekFromStart(64);
    EXPECT_EQ(archive.ReadByte(), 64);
    archive.SeekFromStart(10);
    EXPECT_EQ(archive.Read(buffer, 40), 40u); // spans several buffer fills
    EXPECT_EQ(buffer[0], 10);
    EXPECT_EQ(buffer[39], 49);
    EXPECT_EQ(archive.Read(buffer, 64), 20u) << "a short count at the end is not an error";
    EXPECT_EQ(archive.Read(buffer, 1), 0u);
    try {
        archive.ReadByte();
        FAIL() << "reading a byte past the end must raise";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::endOfFile);
    }
    // Seeking past the end is allowed; the next byte read raises.
    archive.SeekFromStart(1000);
    EXPECT_THROW(archive.ReadByte(), CArchiveException);
}

TEST(ArchiveTest, FlushingALoadGivesTheReadAheadBack)
{
    TempFolder folder;
    const std::string path = folder / "in.bin";
    WriteFileBytes(path, Bytes(50, 7));
    CFile file(path, CFile::modeRead);
    CArchive archive(&file, CArchive::load, 32);
    archive.ReadByte();
    archive.ReadByte();
    archive.Flush();
    EXPECT_EQ(file.Seek(0, CFile::current), 2u);
}

TEST(ArchiveTest, RefusesTheWrongDirection)
{
    TempFolder folder;
    const std::string path = folder / "x.bin";
    WriteFileBytes(path, {1});
    CFile file(path, CFile::modeRead);
    CArchive loading(&file, CArchive::load);
    EXPECT_THROW(loading.WriteByte(1), CArchiveException);
    CArchive storing(&file, CArchive::store);
    std::uint8_t byte = 0;
    EXPECT_THROW(storing.Read(&byte, 1), CArchiveException);
}
