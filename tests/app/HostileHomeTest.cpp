// Starts of the real editor in homes where something stands in the way of
// the file type's registration: each start must end promptly and change
// nothing that is not the user's own.
#include "app/FreedesktopFiles.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <tuple>

namespace {

namespace fs = std::filesystem;

// The folders of one start: the home, with its data and config folders as
// by default, and beside it a folder of someone else's.
struct StartFolders {
    explicit StartFolders(const fs::path& folder) : root(folder) {}

    fs::path root;
    fs::path Home() const { return root / "home"; }
    fs::path Data() const { return Home() / ".local/share"; }
    fs::path Config() const { return Home() / ".config"; }
    fs::path Package() const { return Data() / FreedesktopFiles::kMimePackage; }
    fs::path Lock() const { return Data() / "palvane-registration.lock"; }
    fs::path MimeApps() const { return Config() / "mimeapps.list"; }

    std::string executable = PALVANE_EXECUTABLE;
    fs::path obstacle;                   // what the row put in the way; it stays what it is
    fs::path untouched = root / "other"; // nothing below it may change
};

void Write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

void Fifo(StartFolders& setup, const fs::path& path)
{
    fs::create_directories(path.parent_path());
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    setup.obstacle = path;
}

void Link(StartFolders& setup, const fs::path& path, const fs::path& target)
{
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    setup.obstacle = path;
}

// The user's folder holds the entry an editor would write.
void OtherApplications(StartFolders& setup)
{
    const QByteArray entry = FreedesktopFiles::ApplicationEntry(
        QString::fromStdString(fs::canonical(PALVANE_EXECUTABLE).string()));
    Write(setup.root / "other/applications/palvane.desktop", entry.toStdString());
}

// Every entry below `folder`, links not followed: its kind, owner, time and
// content.
using Entry = std::tuple<int, unsigned, long long, std::string>;
std::map<std::string, Entry> Snapshot(const fs::path& folder)
{
    std::map<std::string, Entry> entries;
    if (!fs::exists(folder))
        return entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat status {};
        ::lstat(entry.path().c_str(), &status);
        const Bytes bytes = S_ISREG(status.st_mode) ? ReadFileBytes(entry.path()) : Bytes();
        entries[entry.path()] = {static_cast<int>(status.st_mode), status.st_uid,
                                 status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec,
                                 std::string(bytes.begin(), bytes.end())};
    }
    return entries;
}

// Long enough for two update tools that both run out of time, and for a
// busy machine.
constexpr int kPromptlyMs = 30000;

// What the start logged, or nothing when it did not end in time.
std::optional<std::string> RunEditor(const StartFolders& setup, const std::string& argument)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(name);
    environment.insert("HOME", QString::fromStdString(setup.Home()));
    for (const char* name : {"XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(name, QString::fromStdString(setup.root / "run"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(setup.executable), {QString::fromStdString(argument)});
    if (process.waitForFinished(kPromptlyMs))
        return process.readAllStandardError().toStdString();
    process.kill();
    process.waitForFinished();
    return std::nullopt;
}

struct HostileRow {
    const char* name;
    void (*prepare)(StartFolders& setup);
    const char* logged; // why the start left something alone
    bool needsRoot = false;
    // Unregistering has nothing to do with it, or leaves it alone for a
    // reason of its own.
    bool loggedOnlyWhenRegistering = false;
};

void PrintTo(const HostileRow& row, std::ostream* out)
{
    *out << row.name;
}

class HostileHomeTest : public ::testing::TestWithParam<HostileRow> {
protected:
    TempFolder m_folder;
};

TEST_P(HostileHomeTest, StartsPromptlyAndChangesOnlyWhatIsTheUsers)
{
    const HostileRow& row = GetParam();
    if (row.needsRoot && ::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can start in another user's home";
    StartFolders setup(m_folder.Path());
    for (const fs::path& folder :
         {setup.Data(), setup.Config(), setup.untouched, setup.root / "run"})
        fs::create_directories(folder);
    fs::permissions(setup.root / "run", fs::perms::owner_all);
    row.prepare(setup);
    const fs::file_type obstacle = fs::symlink_status(setup.obstacle).type();
    const auto before = Snapshot(setup.untouched);

    // A start that registers, then ends on a file it cannot open; then one
    // that unregisters.
    for (const std::string& argument :
         {(setup.root / "missing.cmp").string(), std::string("-Unregister")}) {
        const std::optional<std::string> log = RunEditor(setup, argument);
        ASSERT_TRUE(log) << argument << " did not end";
        if (argument != "-Unregister" || !row.loggedOnlyWhenRegistering) {
            EXPECT_NE(log->find(row.logged), std::string::npos) << argument << ": " << *log;
        }
    }
    EXPECT_EQ(Snapshot(setup.untouched), before);
    EXPECT_EQ(fs::symlink_status(setup.obstacle).type(), obstacle);
}

INSTANTIATE_TEST_SUITE_P(
    Registration, HostileHomeTest,
    ::testing::Values(
        // As `sudo -E palvane` starts: the superuser with the home of a user
        // who has registered the type already.
        HostileRow{"SuperuserInAnotherUsersHome",
                   [](StartFolders& setup) {
                       setup.untouched = setup.Home();
                       Write(setup.Data() / "applications/palvane.desktop", "the user's");
                       for (const auto& entry : fs::recursive_directory_iterator(setup.Home()))
                           ASSERT_EQ(::lchown(entry.path().c_str(), 65534, 65534), 0);
                       ASSERT_EQ(::lchown(setup.Home().c_str(), 65534, 65534), 0);
                   },
                   "home belongs to another user", true},
        HostileRow{"MimeFolderLinksOut",
                   [](StartFolders& setup) {
                       Write(setup.untouched / "mime/packages/theirs.xml", "<mime-info/>");
                       Link(setup, setup.Data() / "mime", setup.untouched / "mime");
                   },
                   "mime leads out of the user's folders"},
        HostileRow{"ApplicationsFolderLinksOut",
                   [](StartFolders& setup) {
                       OtherApplications(setup);
                       Link(setup, setup.Data() / "applications", setup.untouched / "applications");
                   },
                   "applications leads out of the user's folders"},
        HostileRow{"MimeAppsListLinksOut",
                   [](StartFolders& setup) {
                       Write(setup.untouched / "mimeapps.list", "[Default Applications]\n");
                       Link(setup, setup.MimeApps(), setup.untouched / "mimeapps.list");
                   },
                   "mimeapps.list leads out of the user's folders"},
        HostileRow{"FifoAsMimeAppsList", [](StartFolders& setup) { Fifo(setup, setup.MimeApps()); },
                   "mimeapps.list alone: it is not a regular file"},
        HostileRow{"FifoAsMimePackage", [](StartFolders& setup) { Fifo(setup, setup.Package()); },
                   "palvane.xml alone: it is not a regular file", false, true},
        HostileRow{"FifoAsLock", [](StartFolders& setup) { Fifo(setup, setup.Lock()); },
                   "lock alone: it is not a regular file"},
        HostileRow{"ZeroAsMimeAppsList",
                   [](StartFolders& setup) { Link(setup, setup.MimeApps(), "/dev/zero"); },
                   "mimeapps.list leads out of the user's folders"},
        HostileRow{"ZeroAsMimePackage",
                   [](StartFolders& setup) { Link(setup, setup.Package(), "/dev/zero"); },
                   "palvane.xml leads out of the user's folders"},
        HostileRow{"ZeroAsLock",
                   [](StartFolders& setup) { Link(setup, setup.Lock(), "/dev/zero"); },
                   "lock alone: it is not a regular file"},
        // The update tool waits for a writer for ever, and is stopped.
        HostileRow{
            "FifoAmongThePackages",
            [](StartFolders& setup) { Fifo(setup, setup.Data() / "mime/packages/theirs.xml"); },
            "update-mime-database did not finish in time"},
        // A desktop entry can write no other control character than tab,
        // newline and carriage return.
        HostileRow{"ControlCharacterInTheEditorsPath",
                   [](StartFolders& setup) {
                       fs::create_directories(setup.root / "bin\x01");
                       setup.executable = setup.root / "bin\x01/palvane";
                       std::error_code error;
                       fs::create_hard_link(PALVANE_EXECUTABLE, setup.executable, error);
                       if (error)
                           fs::copy_file(PALVANE_EXECUTABLE, setup.executable);
                   },
                   "cannot hold the control characters", false, true}),
    [](const ::testing::TestParamInfo<HostileRow>& info) { return std::string(info.param.name); });

} // namespace
