#include "app/DesktopRegistration.h"
#include "app/DesktopEntryText.h"
#include "app/FreedesktopFiles.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Text = std::optional<std::string>; // a file's content, or none

// Reads an Exec value back as a launcher does: the value's escapes, then
// the quoting of each argument, then `%%`.
std::vector<std::string> ReadExec(const std::string& value)
{
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const char c = value[++i];
        const std::map<char, char> escapes{{'s', ' '}, {'n', '\n'}, {'t', '\t'}, {'r', '\r'}};
        unescaped += escapes.count(c) != 0 ? escapes.at(c) : c;
    }
    std::vector<std::string> arguments;
    std::string argument;
    bool quoted = false;
    bool started = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (quoted && c == '\\') {
            const char next = unescaped.at(++i);
            EXPECT_NE(std::string("\"`$\\").find(next), std::string::npos) << unescaped;
            argument += next;
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started)
                arguments.push_back(argument);
            argument.clear();
            started = false;
        } else if (c == '%') {
            // `%%` is a percent sign; anything else a field code, kept.
            const char next = unescaped.at(++i);
            argument += next == '%' ? std::string("%") : std::string{'%', next};
            started = true;
        } else {
            EXPECT_TRUE(quoted || std::string("\t\n'><~|&;$*?#()`").find(c) == std::string::npos)
                << "unquoted reserved character in " << unescaped;
            argument += c;
            started = true;
        }
    }
    EXPECT_FALSE(quoted) << unescaped;
    if (started)
        arguments.push_back(argument);
    return arguments;
}

TEST(DesktopEntryTextTest, ExecQuotingReadsBackToTheSamePath)
{
    const char* paths[] = {
        "/usr/bin/palvane",
        "/opt/my programs/palvane",
        "/tmp/say \"hi\"/palvane",
        "/tmp/back\\slash/palvane",
        "/tmp/$HOME/`ls`/palvane",
        "/tmp/100%/%F/palvane",
        "/tmp/Ωmega déjà/ヴ/palvane",
        "/tmp/it's (a) #test;&|<>~*?/palvane",
        "/tmp/tab\there/new\nline/palvane",
    };
    for (const char* path : paths) {
        const QString exec = DesktopEntryText::QuoteExecArgument(QString::fromUtf8(path)) +
                             QStringLiteral(" -dde %F");
        const std::vector<std::string> expected{path, "-dde", "%F"};
        EXPECT_EQ(ReadExec(DesktopEntryText::EscapeValue(exec).toStdString()), expected) << path;
    }
}

std::string Read(const std::string& path)
{
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

Text ReadIfAny(const std::string& path)
{
    return fs::exists(path) ? Text(Read(path)) : std::nullopt;
}

void Write(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

const std::string kOurDefault = "application/x-jediknight-cmp=com.quorvath.Palvane.desktop;\n";
// An earlier version's line, under the entry's former name.
const std::string kFormerDefault = "application/x-jediknight-cmp=palvane.desktop;\n";

// The editor's start in a home of the test's own.
class DesktopRegistrationTest : public ::testing::Test {
protected:
    DesktopRegistrationTest()
    {
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_DATA_HOME", Data().c_str(), 1);
        setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(Config()));
    }
    // The tests after this one find the run's folders again.
    ~DesktopRegistrationTest() override
    {
        setenv("HOME", m_home.c_str(), 1);
        setenv("XDG_DATA_HOME", m_data.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_config));
    }
    std::string Data() const { return home / "data"; }
    std::string Config() const { return home / "config"; }
    std::string Entry() const { return Data() + "/" + FreedesktopFiles::kApplicationEntry; }
    std::string MimeApps() const { return Config() + "/mimeapps.list"; }

    // Every file below the home: its content and its modification time.
    std::map<std::string, std::pair<std::string, long long>> Snapshot() const
    {
        std::map<std::string, std::pair<std::string, long long>> files;
        for (const auto& entry : fs::recursive_directory_iterator(home.Path())) {
            struct stat status {};
            if (entry.is_regular_file() && ::stat(entry.path().c_str(), &status) == 0)
                files[entry.path()] = {Read(entry.path()), status.st_mtim.tv_sec * 1000000000LL +
                                                               status.st_mtim.tv_nsec};
        }
        return files;
    }

    const std::string m_home = qEnvironmentVariable("HOME").toStdString();
    const std::string m_data = std::getenv("XDG_DATA_HOME");
    const std::string m_config = std::getenv("XDG_CONFIG_HOME");
    TempFolder home;
};

TEST_F(DesktopRegistrationTest, WritesTheTypeOnceAndTheDesktopKnowsIt)
{
    DesktopRegistration::Register();
    for (const FreedesktopFiles::File& file :
         FreedesktopFiles::All(QCoreApplication::applicationFilePath()))
        EXPECT_TRUE(fs::exists(Data() + "/" + file.path.toStdString())) << file.path.toStdString();
    EXPECT_NE(Read(Entry()).find("\nExec=" + QCoreApplication::applicationFilePath().toStdString() +
                                 " -dde %F\n"),
              std::string::npos);
    EXPECT_EQ(Read(MimeApps()), "[Default Applications]\n" + kOurDefault);

    // A program started afterwards knows the type by name and, for a file
    // without the extension, by its first bytes.
    Write(home / "palette.cmp", "no header");
    Write(home / "renamed", std::string("CMP ") + std::string(60, '\0'));
    const ProgramRun probe =
        RunProgram({PALVANE_MIME_PROBE, home / "palette.cmp", home / "renamed"});
    EXPECT_EQ(probe.out, "application/x-jediknight-cmp\napplication/x-jediknight-cmp\n");

    const auto before = Snapshot();
    DesktopRegistration::Register();
    EXPECT_EQ(Snapshot(), before) << "a second start changed files";
}

// What an earlier version wrote under the names given up goes, unless the
// user changed it.
TEST_F(DesktopRegistrationTest, FilesUnderFormerNamesGiveWay)
{
    const std::string changed = Data() + "/applications/palvane-print.desktop";
    const std::vector<FreedesktopFiles::File> former =
        FreedesktopFiles::Former(QCoreApplication::applicationFilePath());
    for (const FreedesktopFiles::File& file : former)
        Write(Data() + "/" + file.path.toStdString(), file.content.toStdString());
    Write(changed, "the user's");
    DesktopRegistration::Register();
    for (const FreedesktopFiles::File& file : former) {
        const std::string path = Data() + "/" + file.path.toStdString();
        EXPECT_EQ(fs::exists(path), path == changed) << path;
    }
    EXPECT_TRUE(fs::exists(Entry()));
}

struct DefaultRow {
    const char* name;
    Text before;         // mimeapps.list before the first start
    Text registered;     // after it
    Text unregistered;   // after -Unregister
    bool removed = true; // -Unregister could tell that nothing of ours is left
};

void PrintTo(const DefaultRow& row, std::ostream* out)
{
    *out << row.name;
}

class DefaultApplicationTest : public DesktopRegistrationTest,
                               public ::testing::WithParamInterface<DefaultRow> {};

TEST_P(DefaultApplicationTest, IsOursOnlyWhereTheUserHasNoneOfTheirOwn)
{
    const DefaultRow& row = GetParam();
    if (row.before)
        Write(MimeApps(), *row.before);
    DesktopRegistration::Register();
    EXPECT_EQ(ReadIfAny(MimeApps()), row.registered);
    EXPECT_EQ(DesktopRegistration::Unregister(), row.removed);
    EXPECT_EQ(ReadIfAny(MimeApps()), row.unregistered);
}

const std::string kUserLines = "# mine\n[Default Applications]\ntext/plain=editor.desktop;\n";
const std::string kOtherGroup = "[Added Associations]\ntext/plain=viewer.desktop;\n";
const std::string kUserDefault = "[Default Applications]\n"
                                 "application/x-jediknight-cmp=other.desktop;"
                                 "com.quorvath.Palvane.desktop;\n";
const std::string kLatin1 = "# caf\xE9 cr\xE8me\n[Added Associations]\ntext/plain=vi.desktop;\n";

// A default group of `lines` lines of other types, 45 bytes each.
std::string LongGroup(int lines)
{
    std::string text = "[Default Applications]\n";
    for (int i = 0; i < lines; ++i) {
        const std::string number = std::to_string(100000 + i);
        text += "application/x-type-" + number + "=app" + number + ".desktop;\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    MimeApps, DefaultApplicationTest,
    ::testing::Values(
        DefaultRow{"NoFile", std::nullopt, "[Default Applications]\n" + kOurDefault, std::nullopt},
        DefaultRow{"OtherDefaults", kUserLines, kUserLines + kOurDefault, kUserLines},
        DefaultRow{"OtherGroupOnly", kOtherGroup,
                   kOtherGroup + "\n[Default Applications]\n" + kOurDefault, kOtherGroup},
        DefaultRow{"UsersOwnDefault", kUserDefault, kUserDefault, kUserDefault},
        // The user's file stays, emptied.
        DefaultRow{"EmptyValue", "[Default Applications]\napplication/x-jediknight-cmp=\n",
                   "[Default Applications]\n" + kOurDefault, ""},
        DefaultRow{"EmptyFile", "", "[Default Applications]\n" + kOurDefault, ""},
        // Bytes that are not UTF-8, and a byte order mark before the group.
        DefaultRow{"Latin1", kLatin1, kLatin1 + "\n[Default Applications]\n" + kOurDefault,
                   kLatin1},
        DefaultRow{"ByteOrderMark", "\xEF\xBB\xBF" + kUserLines.substr(7),
                   "\xEF\xBB\xBF" + kUserLines.substr(7) + kOurDefault,
                   "\xEF\xBB\xBF" + kUserLines.substr(7)},
        DefaultRow{"ChoiceInTheSecondGroup", kUserLines + kOtherGroup + kUserDefault,
                   kUserLines + kOtherGroup + kUserDefault,
                   kUserLines + kOtherGroup + kUserDefault},
        DefaultRow{"FormerName", kUserLines + kFormerDefault, kUserLines + kOurDefault, kUserLines},
        DefaultRow{"LongGroup", LongGroup(20000), LongGroup(20000) + kOurDefault, LongGroup(20000)},
        DefaultRow{"OverOneMebibyte", LongGroup(30000), LongGroup(30000), LongGroup(30000), false}),
    [](const ::testing::TestParamInfo<DefaultRow>& info) { return std::string(info.param.name); });

// A list kept elsewhere in the home is edited through its link.
TEST_F(DesktopRegistrationTest, EditsTheListThroughALinkWithinTheHome)
{
    const std::string kept = home / "dotfiles/mimeapps.list";
    Write(kept, kUserLines);
    fs::create_directories(Config());
    fs::create_symlink(kept, MimeApps());
    DesktopRegistration::Register();
    EXPECT_EQ(Read(kept), kUserLines + kOurDefault);
    EXPECT_TRUE(DesktopRegistration::Unregister());
    EXPECT_EQ(Read(kept), kUserLines);
    EXPECT_TRUE(fs::is_symlink(MimeApps()));
}

struct UnregisterRow {
    const char* name;
    // Makes something of ours impossible to remove; null: nothing does.
    void (*obstruct)(const std::string& data);
    bool needsUnprivileged; // a read-only folder does not stop the superuser
    bool result;
};

void PrintTo(const UnregisterRow& row, std::ostream* out)
{
    *out << row.name;
}

class UnregisterTest : public DesktopRegistrationTest,
                       public ::testing::WithParamInterface<UnregisterRow> {};

TEST_P(UnregisterTest, RemovesWhatIsOursAndTellsWhetherAllWent)
{
    const UnregisterRow& row = GetParam();
    if (row.needsUnprivileged && ::geteuid() == 0)
        GTEST_SKIP() << "the superuser removes files from read-only folders";
    DesktopRegistration::Register();
    QSettings(QStringLiteral("Quorvath"), QStringLiteral("Palvane")).setValue("Settings/x", 1);
    QSettings(QStringLiteral("Quorvath"), QStringLiteral("Other")).setValue("kept", 1);
    if (row.obstruct != nullptr)
        row.obstruct(Data());

    EXPECT_EQ(DesktopRegistration::Unregister(), row.result);
    EXPECT_FALSE(fs::exists(Config() + "/Quorvath/Palvane.conf"));
    EXPECT_TRUE(fs::exists(Config() + "/Quorvath/Other.conf"));
    EXPECT_FALSE(fs::exists(Data() + "/mime/packages/palvane.xml"));
    EXPECT_FALSE(fs::exists(Data() + "/mime/application/x-jediknight-cmp.xml"));
    EXPECT_FALSE(fs::exists(Data() + "/icons/hicolor/32x32/apps/com.quorvath.Palvane.png"));
    EXPECT_FALSE(fs::exists(Data() + "/icons/hicolor/scalable/apps/com.quorvath.Palvane.svg"));
    EXPECT_FALSE(fs::exists(MimeApps()));
    fs::permissions(Data() + "/applications", fs::perms::owner_all);

    // The organisation's folder goes with its last settings.
    fs::remove(Config() + "/Quorvath/Other.conf");
    DesktopRegistration::Unregister();
    EXPECT_FALSE(fs::exists(Config() + "/Quorvath"));
}

INSTANTIATE_TEST_SUITE_P(
    Obstacles, UnregisterTest,
    ::testing::Values(UnregisterRow{"None", nullptr, false, true},
                      UnregisterRow{"FolderInPlaceOfAnEntry",
                                    [](const std::string& data) {
                                        const std::string entry =
                                            data + "/" + FreedesktopFiles::kPrintEntry;
                                        fs::remove(entry);
                                        Write(entry + "/inside", "");
                                    },
                                    false, false},
                      // Someone else's entry now: it stays.
                      UnregisterRow{"EntryChanged",
                                    [](const std::string& data) {
                                        Write(data + "/" + FreedesktopFiles::kApplicationEntry,
                                              "changed");
                                    },
                                    false, false},
                      UnregisterRow{"ReadOnlyFolder",
                                    [](const std::string& data) {
                                        fs::permissions(data + "/applications",
                                                        fs::perms::owner_read |
                                                            fs::perms::owner_exec);
                                    },
                                    true, false}),
    [](const ::testing::TestParamInfo<UnregisterRow>& info) {
        return std::string(info.param.name);
    });

TEST(DesktopEntryValidationTest, BothEntriesAreValid)
{
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    const TempFolder folder;
    for (const char* program : {"/usr/bin/palvane", "/tmp/a \"b\"/$c `d`\\e 100%/palvane",
                                "/tmp/tab\there/new\nline/palvane"}) {
        const QString executable = QString::fromUtf8(program);
        for (const auto& [name, content] :
             {std::pair{"com.quorvath.Palvane.desktop",
                        FreedesktopFiles::ApplicationEntry(executable)},
              std::pair{"com.quorvath.Palvane.Print.desktop",
                        FreedesktopFiles::PrintEntry(executable)}}) {
            WriteFileBytes(folder / name, Bytes(content.begin(), content.end()));
            const ProgramRun run = RunProgram({validator.toStdString(), folder / name});
            EXPECT_EQ(run.exitCode, 0) << name << " for " << program << ": " << run.out << run.err;
            EXPECT_EQ(run.out + run.err, "") << name;
        }
    }
}

} // namespace
