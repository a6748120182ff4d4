// A save that cannot complete reports why, keeps the document modified and
// leaves the file that was there byte for byte as it was.

#include "tests/support/ChildProcess.h"
#include "tests/support/ColormapFixtures.h"

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

class SaveFailureTest : public ColormapTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(document.OnNewDocument());
        document.m_palette[50] = ColorTriple(1, 2, 3);
        document.SetModifiedFlag();
        ::chmod(folder.Path().c_str(), 0755); // reachable by an unprivileged child
        std::filesystem::create_directory(folder / "work");
        WriteFileBytes(Target(), kOldContents);
        ::chmod(Target().c_str(), 0666);
    }

    std::string Target() const { return folder / "work/good.cmp"; }

    // Attempts the save and describes whatever differs from a clean failure
    // with `message`.
    std::string SaveMustFail(const std::string& path, const std::string& message)
    {
        ui.ForgetAsked();
        ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDYES);
        if (document.OnSaveDocument(path))
            return "the save reported success";
        std::string problems;
        const std::vector<std::string> shown = ui.MessagesShown();
        if (shown.empty() || shown.back() != message)
            problems += "message was '" + (shown.empty() ? "" : shown.back()) + "'; ";
        if (!document.IsModified())
            problems += "the document is no longer modified; ";
        if (ReadFileBytes(Target()) != kOldContents)
            problems += "the old file changed; ";
        if (FolderEntries(folder / "work") != std::vector<std::string>{"good.cmp"})
            problems += "the folder holds other files; ";
        return problems;
    }

    const Bytes kOldContents = Bytes{'C', 'M', 'P', ' ', 1, 2, 3};
    CPalvaneDoc document;
};

} // namespace

TEST_F(SaveFailureTest, DirectoryInTheWay)
{
    const std::string directory = folder / "work/good.cmp.d";
    std::filesystem::create_directory(directory);
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    EXPECT_FALSE(document.OnSaveDocument(directory));
    EXPECT_EQ(ui.MessagesShown().back(), "Access to " + directory + " was denied.");
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_TRUE(std::filesystem::is_empty(directory));
}

TEST_F(SaveFailureTest, MissingFolder)
{
    const std::string path = folder / "absent/new.cmp";
    EXPECT_EQ(SaveMustFail(path, path + " contains an invalid path."), "");
}

TEST_F(SaveFailureTest, TheDocumentSavesNormallyAfterAFailure)
{
    EXPECT_EQ(SaveMustFail(folder / "absent/new.cmp",
                           folder / "absent/new.cmp" + " contains an invalid path."),
              "");
    ui.SetStandingAnswer(CPalvaneDoc::kTransparencyQuestion, IDNO);
    ASSERT_TRUE(document.OnSaveDocument(Target()));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadFileBytes(Target()).size(), 17216u);
}

#ifdef _WIN32
TEST_F(SaveFailureTest, PermissionsAndLimits)
{
    GTEST_SKIP() << kNeedsPosix;
}
#else
TEST_F(SaveFailureTest, ReadOnlyFolder)
{
    ::chmod((folder / "work").c_str(), 0555);
    EXPECT_EQ(
        RunInChild([&] { return SaveMustFail(Target(), "Access to " + Target() + " was denied."); },
                   true),
        "");
}

TEST_F(SaveFailureTest, WriteProtectedFile)
{
    ::chmod(Target().c_str(), 0444);
    EXPECT_EQ(
        RunInChild([&] { return SaveMustFail(Target(), "Access to " + Target() + " was denied."); },
                   true),
        "");
}

TEST_F(SaveFailureTest, DiskFullPartWay)
{
    // A file-size limit makes the system refuse writes beyond 20000 bytes, as
    // a full disk would, after part of the colormap has been written.
    EXPECT_EQ(RunInChild([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{20000, 20000};
                  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                      return std::string("cannot limit the file size");
                  return SaveMustFail(Target(), "Disk full while accessing " + Target() + ".");
              }),
              "");
}
#endif
