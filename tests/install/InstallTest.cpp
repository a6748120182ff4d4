// The installed tree (`cmake --install` into a DESTDIR) and the Debian
// package made from the same install rules: every file where the desktop
// looks for it, and each checked by the tool that reads it.
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

ProgramRun RunTool(const std::vector<std::string>& command)
{
    std::vector<std::string> full{"/usr/bin/env", "LC_ALL=C.UTF-8"};
    full.insert(full.end(), command.begin(), command.end());
    return RunProgram(full);
}

bool Installed(const char* tool)
{
    return RunTool({"sh", "-c", std::string("command -v ") + tool}).exitCode == 0;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct ExpectedFile {
    std::string path; // below the prefix
    int iconSize = 0; // a PNG icon: its width and height
};

void PrintTo(const ExpectedFile& file, std::ostream* out)
{
    *out << file.path;
}

// What a freedesktop system installs, below the prefix /usr.
std::vector<ExpectedFile> ExpectedFiles()
{
    std::vector<ExpectedFile> files = {
        {"bin/palvane"},
        {"bin/palvane-cli"},
        {"share/applications/com.quorvath.Palvane.desktop"},
        {"share/applications/com.quorvath.Palvane.Print.desktop"},
        {"share/mime/packages/palvane.xml"},
        {"share/metainfo/com.quorvath.Palvane.metainfo.xml"},
        {"share/man/man1/palvane.1.gz"},
        {"share/man/man1/palvane-cli.1.gz"},
        {"share/bash-completion/completions/palvane-cli"},
        {"share/doc/palvane/copyright"},
        {"share/doc/palvane/changelog.gz"},
        {"share/icons/hicolor/scalable/apps/com.quorvath.Palvane.svg"},
        {"share/icons/hicolor/scalable/mimetypes/application-x-jediknight-cmp.svg"},
    };
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder =
            "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
        files.push_back({folder + "apps/com.quorvath.Palvane.png", size});
        files.push_back({folder + "mimetypes/application-x-jediknight-cmp.png", size});
    }
    return files;
}

void ExpectInPlace(const std::string& root, const ExpectedFile& file)
{
    const std::string path = root + "/usr/" + file.path;
    ASSERT_TRUE(fs::is_regular_file(path)) << path;
    if (file.iconSize == 0)
        return;
    // The width and height in the PNG's header, big-endian at 16 and 20.
    const Bytes png = ReadFileBytes(path);
    ASSERT_GE(png.size(), 24u);
    auto at = [&](std::size_t offset) {
        return png[offset] << 24 | png[offset + 1] << 16 | png[offset + 2] << 8 | png[offset + 3];
    };
    EXPECT_EQ(at(16), file.iconSize);
    EXPECT_EQ(at(20), file.iconSize);
}

// What a test made once for every test of the run: a folder, or why not.
struct Made {
    std::unique_ptr<TempFolder> folder = std::make_unique<TempFolder>();
    std::string error;
    std::string package; // the Debian package in it
};

// `cmake --install` with DESTDIR.
const Made& InstalledTree()
{
    static const Made made = [] {
        Made tree;
        const ProgramRun install = RunTool({"DESTDIR=" + tree.folder->Path(), PALVANE_CMAKE,
                                            "--install", PALVANE_BUILD_DIR, "--prefix", "/usr"});
        if (install.exitCode != 0)
            tree.error = install.out + install.err;
        return tree;
    }();
    return made;
}

class InstalledTreeTest : public ::testing::TestWithParam<ExpectedFile> {
protected:
    void SetUp() override { ASSERT_EQ(InstalledTree().error, ""); }
    static std::string Usr(const std::string& path)
    {
        return InstalledTree().folder->Path() + "/usr/" + path;
    }
};

TEST_P(InstalledTreeTest, HoldsTheFile)
{
    ExpectInPlace(InstalledTree().folder->Path(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Files, InstalledTreeTest, ::testing::ValuesIn(ExpectedFiles()));

// The metadata, alone and with the desktop entry and the icon it names.
TEST_F(InstalledTreeTest, MetadataValidates)
{
    if (!Installed("appstreamcli"))
        GTEST_SKIP() << "appstreamcli is not installed (package appstream)";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"appstreamcli", "validate", "--no-net",
                                   Usr("share/metainfo/com.quorvath.Palvane.metainfo.xml")},
          std::vector<std::string>{"appstreamcli", "validate-tree", "--no-net",
                                   InstalledTree().folder->Path()}}) {
        const ProgramRun run = RunTool(command);
        EXPECT_EQ(run.exitCode, 0) << command[1] << ": " << run.out << run.err;
        EXPECT_NE(run.out.find("Validation was successful"), std::string::npos) << run.out;
    }
}

TEST_F(InstalledTreeTest, ManualPagesRenderWithoutWarnings)
{
    if (!Installed("man"))
        GTEST_SKIP() << "man is not installed (package man-db)";
    for (const char* page : {"palvane.1.gz", "palvane-cli.1.gz"}) {
        const ProgramRun run = RunTool(
            {"MANWIDTH=80", "man", "--warnings", "-l", Usr(std::string("share/man/man1/") + page)});
        EXPECT_EQ(run.exitCode, 0) << page;
        EXPECT_EQ(run.err, "") << page;
        // The hand-written sections beside those made from the program's help.
        for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "SEE ALSO"})
            EXPECT_NE(run.out.find(std::string("\n") + section + "\n"), std::string::npos)
                << page << " has no " << section << ":\n"
                << run.out;
    }
}

struct CompletionRow {
    const char* name;
    std::vector<std::string> words; // after palvane-cli, the last being completed
    // What bash offers, given the installed palvane-cli's --help and the
    // folder of the files.
    std::vector<std::string> (*offers)(const std::string& help, const std::string& folder);
};

// The steps --help lists that begin with `prefix`.
std::vector<std::string> StepsInHelp(const std::string& help, const std::string& prefix)
{
    std::vector<std::string> steps;
    for (const std::string& line : Lines(help))
        if (line.rfind("  " + prefix, 0) == 0)
            steps.push_back(line.substr(2, line.find(' ', 2) - 2));
    return steps;
}

TEST_F(InstalledTreeTest, CompletionOffersTheStepsAndTheFilesTheyTake)
{
    if (!Installed("bash"))
        GTEST_SKIP() << "bash is not installed";
    const TempFolder folder;
    WriteFileBytes(folder / "sample.cmp", {});
    WriteFileBytes(folder / "saved.cmp", {});
    const ProgramRun help = RunTool({Usr("bin/palvane-cli"), "--help"});
    EXPECT_GE(StepsInHelp(help.out, "--export-").size(), 2u) << help.out;
    const CompletionRow rows[] = {
        // The export steps, however many the option table has.
        {"ExportSteps",
         {"--ex"},
         [](const std::string& text, const std::string&) { return StepsInHelp(text, "--ex"); }},
        {"FileOfAStep",
         {"--open", "/sa"},
         [](const std::string&, const std::string& in) {
             return std::vector<std::string>{in + "/sample.cmp", in + "/saved.cmp"};
         }},
        {"ValueTypedByTheUser",
         {"--open", "x.cmp", "--select", ""},
         [](const std::string&, const std::string&) { return std::vector<std::string>{}; }},
    };
    for (const CompletionRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string words = "palvane-cli";
        for (const std::string& word : row.words)
            words += " '" + (word.rfind('/', 0) == 0 ? folder.Path() + word : word) + "'";
        const std::string script =
            "source '" + Usr("share/bash-completion/completions/palvane-cli") +
            "' && COMP_WORDS=(" + words + ") && COMP_CWORD=" + std::to_string(row.words.size()) +
            " && _palvane_cli && printf '%s\\n' \"${COMPREPLY[@]}\" | sort";
        const ProgramRun run = RunTool({"bash", "--norc", "-c", script});
        EXPECT_EQ(run.err, "");
        std::vector<std::string> expected = row.offers(help.out, folder.Path());
        std::sort(expected.begin(), expected.end());
        std::vector<std::string> offered = Lines(run.out);
        offered.erase(std::remove(offered.begin(), offered.end(), ""), offered.end());
        EXPECT_EQ(offered, expected);
    }
}

// The package, made by cpack from the same install rules and unpacked.
const Made& Package()
{
    static const Made made = [] {
        Made package;
        const ProgramRun cpack = RunTool({PALVANE_CPACK, "-G", "DEB", "--config",
                                          std::string(PALVANE_BUILD_DIR) + "/CPackConfig.cmake",
                                          "-B", package.folder->Path()});
        for (const auto& entry : fs::directory_iterator(package.folder->Path()))
            if (entry.path().extension() == ".deb")
                package.package = entry.path().string();
        if (cpack.exitCode != 0 || package.package.empty()) {
            package.error = cpack.out + cpack.err;
            return package;
        }
        const ProgramRun extract =
            RunTool({"dpkg-deb", "-x", package.package, *package.folder / "root"});
        if (extract.exitCode != 0)
            package.error = extract.err;
        return package;
    }();
    return made;
}

class DebianPackageTest : public ::testing::TestWithParam<ExpectedFile> {
protected:
    void SetUp() override
    {
        if (!Installed("dpkg-deb") || !Installed("dpkg-shlibdeps"))
            GTEST_SKIP() << "dpkg-deb and dpkg-shlibdeps are not installed (package dpkg-dev)";
        ASSERT_EQ(Package().error, "");
    }
};

TEST_P(DebianPackageTest, PutsTheFileWhereTheDesktopLooks)
{
    ExpectInPlace(*Package().folder / "root", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Files, DebianPackageTest, ::testing::ValuesIn(ExpectedFiles()));

TEST_F(DebianPackageTest, LintianFindsNoErrors)
{
    if (!Installed("lintian"))
        GTEST_SKIP() << "lintian is not installed";
    const ProgramRun run = RunTool({"lintian", "--fail-on", "error", Package().package});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

TEST_F(DebianPackageTest, DependsOnTheLibrariesItLinksAndRefreshesTheCaches)
{
    const ProgramRun depends = RunTool({"dpkg-deb", "--field", Package().package, "Depends"});
    for (const char* library : {"libc6", "libstdc++6", "libqt6widgets6", "libqt6printsupport6"})
        EXPECT_NE(depends.out.find(library), std::string::npos) << depends.out;
    const ProgramRun triggers = RunTool({"dpkg-deb", "--info", Package().package, "triggers"});
    for (const char* cache :
         {"/usr/share/mime/packages", "/usr/share/applications", "/usr/share/icons/hicolor"})
        EXPECT_NE(triggers.out.find(std::string("activate-noawait ") + cache), std::string::npos)
            << triggers.out;
}

} // namespace
