// palvane-cli against what a save can meet: nodes that are not files, links,
// long names, signals and being killed, other saves of the same file, a
// file-size limit and standard output that fails.

#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
TEST(CliSavingTest, NodesLinksSignalsAndLimits)
{
    GTEST_SKIP() << kNeedsPosix;
}
#else
#include "framework/FrameworkMessages.h"
#include "framework/PlatformFile.h"
#include "tests/cli/CliRun.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

ProgramRun RunCliProcess(std::vector<std::string> arguments, const ProgramOptions& options = {})
{
    arguments.insert(arguments.begin(), PALVANE_CLI_PATH);
    return RunProgram(arguments, options);
}

std::string Message(const std::string& format, const std::string& path)
{
    return "palvane-cli: " + AfxFormatString1(format, path) + "\n";
}

mode_t NodeType(const std::string& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? (status.st_mode & S_IFMT) : 0;
}

// Makes the node a row names; returns why it cannot be made, or "".
std::string MakeNode(const std::string& kind, const std::string& path, int& reader)
{
    if (kind == "fifo") {
        if (::mkfifo(path.c_str(), 0644) != 0)
            return "mkfifo failed";
        reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        return "";
    }
    if (kind == "socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.size() >= sizeof address.sun_path)
            return "the folder's path is too long for a socket";
        path.copy(address.sun_path, path.size());
        const int handle = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound =
            ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(handle);
        return bound ? "" : "cannot bind a socket";
    }
    // Devices need the privilege to make them and a file system that honours them.
    const dev_t device = kind == "null device" ? makedev(1, 3) : makedev(1, 7);
    if (::mknod(path.c_str(), S_IFCHR | 0666, device) != 0)
        return "making device nodes is not permitted here";
    const int probe = ::open(path.c_str(), O_WRONLY);
    if (probe < 0)
        return "this file system does not open device nodes";
    ::close(probe);
    return "";
}

} // namespace

TEST(CliSavingTest, DevicesAndPipesAreWrittenThroughAndOtherNodesRefused)
{
    struct Row {
        const char* kind;
        int status;
        const char* message; // with %1 for the path; "" for none
    };
    const Row rows[] = {
        {"fifo", 0, ""},
        {"null device", 0, ""},
        {"full device", 1, "Disk full while accessing %1."},
        {"socket", 1, "Access to %1 was denied."},
    };
    // An export adds its extension to names that have none, but not to these.
    const std::pair<const char*, ssize_t> steps[] = {{"--save", 17216}, {"--export-jasc", 3349}};
    for (const Row& row : rows) {
        for (const auto& [step, size] : steps) {
            SCOPED_TRACE(std::string(row.kind) + " " + step);
            const TempFolder folder;
            const std::string node = folder / "node";
            int reader = -1;
            const std::string unavailable = MakeNode(row.kind, node, reader);
            if (!unavailable.empty()) {
                std::cout << "[ SKIPPED ROW ] " << row.kind << ": " << unavailable << '\n';
                continue;
            }
            const mode_t type = NodeType(node);
            const ProgramRun run = RunCliProcess({"--new", step, node});
            EXPECT_EQ(run.exitCode, row.status);
            EXPECT_EQ(run.err, *row.message == '\0' ? "" : Message(row.message, node));
            EXPECT_EQ(NodeType(node), type) << "the node must never be replaced";
            EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"node"});
            if (reader >= 0) {
                char buffer[32768];
                EXPECT_EQ(::read(reader, buffer, sizeof buffer), size);
                ::close(reader);
            }
        }
    }
    // Output of earlier steps comes first, then the colormap; standard
    // output keeps its name whether a pipe or a file stands behind it.
    const TempFolder folder;
    for (const std::string& behind : {std::string(), folder / "out"}) {
        SCOPED_TRACE(behind);
        ProgramOptions options;
        options.standardOutput = behind;
        ProgramRun run = RunCliProcess(
            {"--new", "--dump", "--save", "/dev/stdout", "--export-jasc", "/dev/stdout"}, options);
        if (!behind.empty()) {
            const Bytes written = ReadFileBytes(behind);
            run.out.assign(written.begin(), written.end());
        }
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::size_t colormap = run.out.find('\n') + 1;
        EXPECT_EQ(run.out.rfind("{\"palette\"", 0), 0u);
        EXPECT_EQ(run.out.compare(colormap, 4, "CMP "), 0);
        EXPECT_EQ(run.out.compare(colormap + 17216, 8, "JASC-PAL"), 0);
        EXPECT_EQ(run.out.size() - colormap, 17216u + 3349u);
    }
}

TEST(CliSavingTest, ASaveOntoAPipeWaitsForItsReaderUntilInterrupted)
{
    const TempFolder folder;
    const std::string pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    constexpr auto kLater = std::chrono::milliseconds(300);

    // The reader comes once palvane-cli has found nobody there.
    std::size_t received = 0;
    std::thread reader([&] {
        std::this_thread::sleep_for(kLater);
        const int handle = ::open(pipe.c_str(), O_RDONLY);
        char buffer[4096];
        for (ssize_t got = 0; (got = ::read(handle, buffer, sizeof buffer)) > 0;)
            received += std::size_t(got);
        ::close(handle);
    });
    const ProgramRun run = RunCliProcess({"--new", "--save", pipe});
    ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK)); // a reader still waiting
    reader.join();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(received, 17216u);

    // Waiting for a reader that never comes ends with the signal, promptly.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ProgramOptions options;
        options.signal = signal;
        options.signalDelay = kLater;
        const auto start = std::chrono::steady_clock::now();
        const ProgramRun waiting = RunCliProcess({"--new", "--save", pipe}, options);
        EXPECT_EQ(waiting.signal, signal) << waiting.exitCode << ' ' << waiting.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, kLater + std::chrono::seconds(2));
    }
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"pipe"});
}

TEST(CliSavingTest, LinkLoopsAndOverlongChainsChangeNothing)
{
    struct Row {
        const char* what;
        int links; // a chain of this many links to the file; 0: a loop of two
        int status;
    };
    const Row rows[] = {{"a loop", 0, 1}, {"41 links", 41, 1}, {"40 links", 40, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TempFolder folder;
        const Bytes old = {'o', 'l', 'd'};
        WriteFileBytes(folder / "file.cmp", old);
        std::string first = folder / "link0";
        if (row.links == 0) {
            std::filesystem::create_symlink("loopB", folder / "loopA");
            std::filesystem::create_symlink("loopA", folder / "loopB");
            first = folder / "loopA";
        }
        for (int i = 0; i < row.links; ++i)
            std::filesystem::create_symlink(i + 1 == row.links ? "file.cmp"
                                                               : "link" + std::to_string(i + 1),
                                            folder / ("link" + std::to_string(i)));
        const std::vector<std::string> before = FolderEntries(folder.Path());
        const CliResult result = RunCli({"--new", "--save", first});
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(FolderEntries(folder.Path()), before);
        for (const std::string& name : before)
            EXPECT_TRUE(name == "file.cmp" || std::filesystem::is_symlink(folder / name)) << name;
        if (row.status == 0) {
            EXPECT_EQ(ReadFileBytes(folder / "file.cmp").size(), 17216u);
        } else {
            EXPECT_EQ(result.err, Message("%1 contains an invalid path.", first));
            EXPECT_EQ(ReadFileBytes(folder / "file.cmp"), old);
        }
    }
}

TEST(CliSavingTest, NamesUpToTheSystemsLimitSaveAndSaveAgain)
{
    for (const std::size_t length : {238u, 250u, 255u}) {
        const TempFolder folder;
        const std::string path = folder / (std::string(length - 4, 'n') + ".cmp");
        CliResult result = RunCli({"--new", "--save", path});
        EXPECT_EQ(result.status, 0) << length << ": " << result.err;
        result = RunCli({"--open", path, "--transparency", "--save", path});
        EXPECT_EQ(result.status, 0) << length << ": " << result.err;
        EXPECT_EQ(ReadFileBytes(path).size(), 82752u);
        EXPECT_EQ(FolderEntries(folder.Path()).size(), 1u);
    }
}

TEST(CliSavingTest, TheDocumentsPathIsWhereTheDataWent)
{
    const TempFolder folder;
    std::filesystem::create_directories(folder / "real/sub");
    std::filesystem::create_symlink("real/sub", folder / "lnk");
    const CliResult result = RunCli({"--new", "--save", folder / "lnk/../y.cmp", "--dump"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(folder / "real/y.cmp").size(), 17216u);
    EXPECT_NE(result.out.find("\"path\":\"" + (folder / "real/y.cmp") + "\""), std::string::npos)
        << result.out;
}

TEST(CliSavingTest, AFileThatReportsNoSizeIsJudgedByWhatItHolds)
{
    if (!std::filesystem::exists("/proc/cpuinfo"))
        GTEST_SKIP() << "no /proc/cpuinfo here";
    const CliResult result = RunCli({"--open", "/proc/cpuinfo", "--dump"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "palvane-cli: /proc/cpuinfo: Not a CMP File.\n");
}

TEST(CliSavingTest, AFileSizeLimitIsADiskFullError)
{
    const TempFolder folder;
    const std::string path = folder / "a.cmp";
    ProgramOptions limited;
    limited.fileSizeLimit = 40960;
    const ProgramRun run = RunCliProcess({"--new", "--transparency", "--save", path}, limited);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, Message("Disk full while accessing %1.", path));
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

TEST(CliSavingTest, SignalsDuringASaveLeaveNoTemporaryFiles)
{
    const TempFolder folder;
    const std::string path = folder / "t.cmp";
    ASSERT_EQ(RunCliProcess({"--new", "--save", path}).exitCode, 0);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        int interrupted = 0;
        for (const int delay : {0, 2, 5, 10, 20, 30, 45, 60, 80}) {
            ProgramOptions options;
            options.signal = signal;
            options.signalDelay = std::chrono::milliseconds(delay);
            const ProgramRun run =
                RunCliProcess({"--new", "--transparency", "--save", path}, options);
            SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(delay) + " ms");
            EXPECT_TRUE(run.signal == signal || (run.signal == 0 && run.exitCode == 0))
                << run.signal << ' ' << run.exitCode << ' ' << run.err;
            interrupted += run.signal == signal ? 1 : 0;
            EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"t.cmp"});
            const std::size_t size = ReadFileBytes(path).size();
            EXPECT_TRUE(size == 17216u || size == 82752u) << size;
        }
        EXPECT_GT(interrupted, 0) << "no run was interrupted by signal " << signal;
    }
}

TEST(CliSavingTest, AKilledSaveLeavesTheOldFileOrTheWholeNewOne)
{
    const TempFolder folder;
    const std::string path = folder / "t.cmp";
    const std::vector<std::string> save = {"--open", PALVANE_SAMPLE_COLORMAP, "--transparency",
                                           "--save", path};
    ASSERT_EQ(RunCliProcess({"--new", "--save", path}).exitCode, 0);
    const Bytes old = ReadFileBytes(path);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunCliProcess(save).exitCode, 0);
    const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const Bytes whole = ReadFileBytes(path);
    ASSERT_NE(whole, old);

    // Moments spread over the save's whole run and a little past it.
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    constexpr int kRuns = 40;
    int killed = 0;
    int leftovers = 0;
    for (int run = 0; run < kRuns; ++run) {
        WriteFileBytes(path, old);
        ProgramOptions options;
        options.signal = SIGKILL;
        options.signalDelay = std::chrono::microseconds(static_cast<long long>(
            1.2 * static_cast<double>(duration.count()) * (run + jitter(random)) / kRuns));
        const ProgramRun result = RunCliProcess(save, options);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", killed after " +
                     std::to_string(options.signalDelay.count()) + " us");
        killed += result.signal == SIGKILL ? 1 : 0;
        const Bytes now = ReadFileBytes(path);
        EXPECT_TRUE(now == old || now == whole) << now.size() << " bytes";
        EXPECT_TRUE(result.signal == SIGKILL || (result.exitCode == 0 && now == whole));
        for (const std::string& name : FolderEntries(folder.Path())) {
            EXPECT_TRUE(name == "t.cmp" || platform_file::IsTemporaryName(name)) << name;
            leftovers += name == "t.cmp" ? 0 : 1;
        }
    }
    EXPECT_GT(killed, 0);
    // What a save killed where its temporary file has a name leaves, the next
    // save removes.
    WriteFileBytes(folder / ".t.cmp.palvane-0123456789abcdef.tmp",
                   Bytes(old.begin(), old.end() - 9));
    ASSERT_EQ(RunCliProcess({"--new", "--save", path}).exitCode, 0);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"t.cmp"});
    EXPECT_EQ(ReadFileBytes(path), old);
    std::cout << "[ KILLED    ] " << killed << " of " << kRuns << " saves, " << leftovers
              << " temporary files left\n";
}

TEST(CliSavingTest, SavesToOneFileAtOnceEndWithOneWholeFile)
{
    const TempFolder folder;
    const TempFolder alone;
    const std::string path = folder / "t.cmp";
    constexpr int kWriters = 4;
    // The writers' palettes differ in cell 0; each one's file, saved alone first.
    std::vector<Bytes> files;
    for (int i = 0; i < kWriters; ++i) {
        const std::string single = alone / (std::to_string(i) + ".cmp");
        ASSERT_EQ(RunCliProcess({"--new", "--set", "0=#00000" + std::to_string(i), "--transparency",
                                 "--save", single})
                      .exitCode,
                  0);
        files.push_back(ReadFileBytes(single));
    }
    for (int round = 0; round < 5; ++round) {
        std::vector<ProgramRun> runs(kWriters);
        std::vector<std::thread> writers;
        for (int i = 0; i < kWriters; ++i)
            writers.emplace_back([&runs, &path, i] {
                runs[i] = RunCliProcess({"--new", "--set", "0=#00000" + std::to_string(i),
                                         "--transparency", "--save", path});
            });
        for (std::thread& writer : writers)
            writer.join();
        for (const ProgramRun& run : runs)
            EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(std::find(files.begin(), files.end(), ReadFileBytes(path)), files.end());
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"t.cmp"});
    }
}

TEST(CliSavingTest, LostStandardOutputIsAnError)
{
    struct Row {
        std::vector<std::string> arguments;
        bool closed; // else /dev/full
        const char* message;
    };
    const Row rows[] = {
        {{"--new", "--dump"}, false, "Disk full while accessing standard output."},
        {{"--help"}, false, "Disk full while accessing standard output."},
        {{"--version"}, false, "Disk full while accessing standard output."},
        {{"--new", "--dump"}, true, "An invalid file handle was associated with standard output."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        ProgramOptions options;
        options.standardOutput = "/dev/full";
        options.closeStandardOutput = row.closed;
        const ProgramRun run = RunCliProcess(row.arguments, options);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, std::string("palvane-cli: ") + row.message + "\n");
    }
}
#endif
