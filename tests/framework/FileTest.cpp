#include "framework/AtomicReplaceFile.h"
#include "framework/CFile.h"
#include "framework/FrameworkMessages.h"
#include "framework/Utf8Path.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

CFileException OpenError(const std::string& path, unsigned flags)
{
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(path, flags, &error));
    EXPECT_FALSE(file.IsOpen());
    return error;
}

} // namespace

TEST(FileExceptionTest, MessagesNameThePathOrAnUnnamedFile)
{
    EXPECT_EQ(CFileException::MessageFor(CFileException::fileNotFound, "/a/b.cmp"),
              "/a/b.cmp was not found.");
    EXPECT_EQ(CFileException::MessageFor(CFileException::accessDenied, ""),
              "Access to an unnamed file was denied.");
    EXPECT_EQ(CFileException::MessageFor(CFileException::none, "x"), "No error occurred.");
    EXPECT_EQ(CFileException::MessageFor(CFileException::badSeek, "x"), "Seek failed on x");
    EXPECT_EQ(CFileException::MessageFor(CFileException::diskFull, "x"),
              "Disk full while accessing x.");
    EXPECT_EQ(CFileException::MessageFor(CFileException::endOfFile, "x"),
              "An attempt was made to access x past its end.");
    EXPECT_EQ(CFileException::MessageFor(CFileException::noReader, "x"),
              "Nobody is reading the pipe x.");
    // A cause outside the table reads as an unknown error rather than crashing.
    EXPECT_EQ(CFileException::MessageFor(static_cast<CFileException::Cause>(99), "x"),
              "An unknown error occurred while accessing x.");
    std::string message;
    EXPECT_TRUE(CFileException(CFileException::hardIO, EIO, "f").GetErrorMessage(message));
    EXPECT_EQ(message, "A hardware I/O error was reported while accessing f.");
}

TEST(FileExceptionTest, OperatingSystemErrorsMapToCauses)
{
    EXPECT_EQ(CFileException::ErrnoToCause(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOENT, true), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToCause(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToCause(EROFS), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToCause(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToCause(EFBIG), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToCause(EIO), CFileException::hardIO);
    EXPECT_EQ(CFileException::ErrnoToCause(EBUSY), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOLCK), CFileException::lockViolation);
    EXPECT_EQ(CFileException::ErrnoToCause(ECONNRESET), CFileException::genericException);
}

TEST(FileTest, OpeningWhatIsNotAReadableFileFailsWithItsCause)
{
    TempFolder folder;
    CFileException missing = OpenError(folder / "missing.cmp", CFile::modeRead);
    EXPECT_EQ(missing.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(missing.m_strFileName, folder / "missing.cmp");

    EXPECT_EQ(
        OpenError(folder / "no/such/folder.cmp", CFile::modeCreate | CFile::modeWrite).m_cause,
        CFileException::badPath);
    EXPECT_EQ(OpenError(folder.Path(), CFile::modeRead).m_cause, CFileException::accessDenied);

#ifndef _WIN32
    // A named pipe with no writer must be refused at once, not block the program.
    const std::string pipe = folder / "pipe.cmp";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(OpenError(pipe, CFile::modeRead).m_cause, CFileException::accessDenied);
#endif
}

TEST(FileTest, ReadsShortAtTheEndAndRaisesNamedErrors)
{
    TempFolder folder;
    const std::string path = folder / "data.bin";
    WriteFileBytes(path, {1, 2, 3, 4, 5});
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(file.GetLength(), 5u);
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(file.Seek(3, CFile::begin), 3u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    try {
        file.Seek(-10, CFile::begin);
        FAIL() << "a seek before the start must fail";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::badSeek);
        EXPECT_EQ(error.m_strFileName, path);
    }
    EXPECT_THROW(CFile(folder / "absent", CFile::modeRead), CFileException);
}

TEST(AtomicReplaceFileTest, ReplacesOnlyWhenClosed)
{
    TempFolder folder;
    const std::string target = folder / "palette.cmp";
    WriteFileBytes(target, {9, 9, 9});
    {
        AtomicReplaceFile file;
        ASSERT_TRUE(file.Open(target));
        file.Write("\1\2", 2);
        EXPECT_EQ(ReadFileBytes(target), (Bytes{9, 9, 9})) << "the target changes only on Close";
        file.Close();
    }
    EXPECT_EQ(ReadFileBytes(target), (Bytes{1, 2}));
    {
        AtomicReplaceFile abandoned;
        ASSERT_TRUE(abandoned.Open(target));
        abandoned.Write("\7", 1);
    }
    EXPECT_EQ(ReadFileBytes(target), (Bytes{1, 2}));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"palette.cmp"})
        << "no temporary file may be left behind";
}

namespace {

std::string SaveBytes(const std::string& path, const Bytes& bytes)
{
    AtomicReplaceFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) {
        std::string message;
        error.GetErrorMessage(message);
        return message;
    }
    file.Write(bytes.data(), bytes.size());
    file.Close();
    return "";
}

// Holds a file as a save in progress holds its temporary file: locked on
// POSIX, open without sharing on Windows.
class HeldAsBySave {
public:
    explicit HeldAsBySave(const std::string& path)
    {
#ifdef _WIN32
        _wsopen_s(&m_handle, platform_file::ToPath(path).c_str(), _O_RDONLY, _SH_DENYRW, 0);
#else
        m_handle = ::open(path.c_str(), O_RDONLY);
        ::flock(m_handle, LOCK_EX);
#endif
    }
    ~HeldAsBySave()
    {
        ::close(m_handle);
    }
    HeldAsBySave(const HeldAsBySave&) = delete;
    HeldAsBySave& operator=(const HeldAsBySave&) = delete;

private:
    int m_handle = -1;
};

} // namespace

TEST(AtomicReplaceFileTest, ASaveRemovesOnlyTheLeftoversOfDeadSaves)
{
    TempFolder folder;
    const std::string dead = ".gone.cmp.palvane-0123456789abcdef.tmp";
    const std::string live = ".busy.cmp.palvane-fedcba9876543210.tmp";
    const std::vector<std::string> kept = {
        ".gone.cmp.palvane-0123456789ABCDEF.tmp", // not a name we make
        ".notes.tmp",
        "gone.cmp.palvane-0123456789abcdef.tmp",
    };
    for (const std::string& name : kept)
        WriteFileBytes(folder / name, {1});
    WriteFileBytes(folder / dead, {1});
    WriteFileBytes(folder / live, {1});
    {
        const HeldAsBySave busy(folder / live);
        EXPECT_EQ(SaveBytes(folder / "new.cmp", {3}), "");
    }
    std::vector<std::string> expected = kept;
    expected.push_back(live);
    expected.push_back("new.cmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder.Path()), expected);
}

TEST(AtomicReplaceFileTest, ReplacesFilesWhateverTheirNamesAndRefusesWhatItMayNot)
{
    struct Row {
        const char* what;
        const char* name;
        bool exists;
        bool readOnly;
        const char* message; // %1 for the path; "" when the save succeeds
    };
    const Row rows[] = {
        {"a file that exists", "old.cmp", true, false, ""},
        {"a new file", "new.cmp", false, false, ""},
        {"names beyond ASCII", "\xCE\xA9mega \xC3\xA9t\xC3\xA9/p\xC3\xA4l\xE2\x82\xAC.cmp", true,
         false, ""},
        {"a missing folder", "absent/new.cmp", false, false, "%1 contains an invalid path."},
        {"a read-only file", "locked.cmp", true, true, "Access to %1 was denied."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
#ifndef _WIN32
        if (row.readOnly && ::geteuid() == 0)
            continue; // the superuser may write to any file; a child checks it as nobody
#endif
        TempFolder folder;
        const std::string path = folder / row.name;
        const bool saved = *row.message == '\0';
        const std::filesystem::path native = platform_file::ToPath(path);
        if (saved || row.exists)
            std::filesystem::create_directories(native.parent_path());
        if (row.exists)
            WriteFileBytes(path, {1});
        if (row.readOnly)
            std::filesystem::permissions(native, std::filesystem::perms::owner_read);
        EXPECT_EQ(SaveBytes(path, {2}), AfxFormatString1(row.message, path));
        if (saved || row.exists) {
            EXPECT_EQ(ReadFileBytes(path), saved ? Bytes{2} : Bytes{1});
            EXPECT_EQ(FolderEntries(platform_file::FolderOf(path)).size(), 1u);
        } else {
            EXPECT_FALSE(std::filesystem::exists(native.parent_path()));
        }
    }
}

#ifdef _WIN32
TEST(AtomicReplaceFileTest, OwnersPermissionBitsAndLinks)
{
    GTEST_SKIP() << kNeedsPosix;
}
#else
TEST(AtomicReplaceFileTest, KeepsLinksAndPermissionsAndRespectsWriteProtection)
{
    TempFolder folder;
    const std::string real = folder / "real.cmp";
    const std::string link = folder / "link.cmp";
    WriteFileBytes(real, {1});
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink("real.cmp", link);
    {
        AtomicReplaceFile file;
        ASSERT_TRUE(file.Open(link));
        file.Write("\2", 1);
        file.Close();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "saving through a link keeps the link";
    EXPECT_EQ(ReadFileBytes(real), (Bytes{2}));
    struct stat status {};
    ASSERT_EQ(::stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    if (::geteuid() != 0) {
        ::chmod(real.c_str(), 0444);
        AtomicReplaceFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(real, CFile::modeCreate | CFile::modeWrite, &error));
        EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    }

    AtomicReplaceFile onFolder;
    CFileException error;
    EXPECT_FALSE(onFolder.Open(folder.Path(), CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
}

TEST(AtomicReplaceFileTest, KeepsOwnerAndGroupOrDropsSetuidAndSetgid)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to give files to other users";
    constexpr uid_t kNobody = 65534;
    struct Row {
        uid_t owner;
        mode_t mode;
        bool savedByNobody;
        uid_t ownerAfter;
        mode_t modeAfter;
    };
    const Row rows[] = {
        {kNobody, 0600, false, kNobody, 0600},
        {kNobody, 04755, false, kNobody, 04755},
        {0, 06777, true, kNobody, 0777}, // nobody cannot give the file to root
    };
    for (const Row& row : rows) {
        TempFolder folder;
        ::chmod(folder.Path().c_str(), 0777);
        const std::string path = folder / "owned.cmp";
        WriteFileBytes(path, {1});
        ASSERT_EQ(::chown(path.c_str(), row.owner, kNobody), 0);
        ASSERT_EQ(::chmod(path.c_str(), row.mode), 0);
        EXPECT_EQ(RunInChild([&] { return SaveBytes(path, {2}); }, row.savedByNobody), "");
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, row.ownerAfter) << std::oct << row.mode;
        EXPECT_EQ(status.st_gid, kNobody);
        EXPECT_EQ(status.st_mode & 07777, row.modeAfter) << std::oct << row.mode;
        EXPECT_EQ(ReadFileBytes(path), Bytes{2});
    }
}
#endif
