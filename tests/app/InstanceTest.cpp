#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr const char* kServing = "palvane.requests: serving at";
// Long enough for a crowd of starts on a busy machine under the sanitizers.
constexpr int kSettleMs = 120000;
// A start that waited on a question nobody can answer would take longer.
constexpr int kPromptlyMs = 30000;

bool WaitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(kSettleMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    return done();
}

// The line a process writes when it carries out the request to open `path`.
QString Opened(const QString& path)
{
    return QStringLiteral("carrying out \"[open(\\\"%1\\\")]\"").arg(path);
}

// Starts of the editor as processes of one user, whose folders are the
// test's own; each logs its requests to a file.
class InstanceTest : public ::testing::Test {
protected:
    InstanceTest()
    {
        for (const char* name :
             {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
            QDir().mkpath(Path(name));
            QFile::setPermissions(Path(name),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            m_environment.insert(name, Path(name));
        }
        m_environment.insert("QT_LOGGING_RULES", "palvane.requests.info=true");
        m_environment.insert("CUPS_SERVER", "/nonexistent/cups.sock");
        m_environment.insert("QT_QPA_PLATFORM", "offscreen");
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
            m_environment.remove(name);
    }
    ~InstanceTest() override { EndAll(); }

    QString Path(const std::string& name) const { return QString::fromStdString(m_folder / name); }
    QString Colormap(const std::string& name) const
    {
        std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, m_folder / name);
        return Path(name);
    }
    QProcess& Launch(const QStringList& arguments)
    {
        auto& process = m_processes.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(m_environment);
        process->setStandardErrorFile(Path("log-" + std::to_string(m_processes.size())));
        process->start(PALVANE_EXECUTABLE, arguments);
        return *process;
    }
    QString Log(const QProcess& process) const
    {
        for (std::size_t i = 0; i < m_processes.size(); ++i) {
            QFile file(Path("log-" + std::to_string(i + 1)));
            if (m_processes[i].get() == &process && file.open(QIODevice::ReadOnly))
                return QString::fromUtf8(file.readAll());
        }
        return QString();
    }
    QString Logs() const
    {
        QString logs;
        for (const auto& process : m_processes)
            logs += Log(*process);
        return logs;
    }
    void EndAll()
    {
        for (const auto& process : m_processes) {
            if (process->state() == QProcess::NotRunning)
                continue;
            ::kill(static_cast<pid_t>(process->processId()), SIGCONT);
            process->kill();
            process->waitForFinished(10000);
        }
    }

    TempFolder m_folder;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(InstanceTest, ACrowdOfStartsGetsOneServerAndEveryRequestOnce)
{
    QStringList files;
    for (int i = 0; i < 20; ++i)
        files << Colormap("crowd-" + std::to_string(i) + ".cmp");
    for (const QString& file : files)
        Launch({"-dde", file});
    ASSERT_TRUE(WaitFor([&] {
        return std::all_of(files.begin(), files.end(),
                           [&](const QString& file) { return Logs().contains(Opened(file)); });
    })) << Logs().toStdString();
    const QString logs = Logs();
    EXPECT_EQ(logs.count(kServing), 1) << logs.toStdString();
    for (const QString& file : files)
        EXPECT_EQ(logs.count(Opened(file)), 1) << file.toStdString();
    // A start whose request was taken has ended, and well.
    for (const auto& process : m_processes) {
        if (process->state() == QProcess::NotRunning) {
            EXPECT_EQ(process->exitCode(), 0);
        }
    }
}

TEST_F(InstanceTest, AStartCopesWithAServerThatIsGoneOrSilent)
{
    enum class Previous { killed, socketLeftBehind, stopsAnswering };
    const QString socket = Path("XDG_RUNTIME_DIR/palvane-requests");
    int round = 0;
    for (const Previous previous :
         {Previous::killed, Previous::socketLeftBehind, Previous::stopsAnswering}) {
        SCOPED_TRACE(++round);
        QProcess* server = nullptr;
        if (previous == Previous::socketLeftBehind) {
            // A socket file that nobody listens on.
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, socket.toLocal8Bit().constData(),
                         sizeof address.sun_path - 1);
            ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(fd);
        } else {
            server = &Launch({});
            ASSERT_TRUE(WaitFor([&] { return Log(*server).contains(kServing); }));
            ::kill(static_cast<pid_t>(server->processId()),
                   previous == Previous::killed ? SIGKILL : SIGSTOP);
        }
        ASSERT_TRUE(QFile::exists(socket));

        const QString file = Colormap("late-" + std::to_string(round) + ".cmp");
        QProcess& late = Launch({"-dde", file});
        ASSERT_TRUE(WaitFor([&] { return Log(late).contains(Opened(file)); }));
        if (previous == Previous::stopsAnswering) {
            // The late start did the work itself; the silent server never
            // carries out what was not confirmed.
            EXPECT_FALSE(Log(late).contains(kServing));
            ::kill(static_cast<pid_t>(server->processId()), SIGCONT);
            QThread::msleep(500);
            EXPECT_FALSE(Log(*server).contains(Opened(file)));
        } else {
            // The late start took over and answers the next one.
            EXPECT_TRUE(Log(late).contains(kServing));
            const QString next = Colormap("next-" + std::to_string(round) + ".cmp");
            QProcess& sender = Launch({"-dde", next});
            ASSERT_TRUE(sender.waitForFinished(kSettleMs));
            EXPECT_EQ(sender.exitCode(), 0);
            EXPECT_TRUE(WaitFor([&] { return Log(late).contains(Opened(next)); }));
        }
        EndAll();
        QFile::remove(socket);
    }
}

TEST_F(InstanceTest, AFileThatDoesNotOpenEndsTheStartWithItsMessage)
{
    QFile pal(Path("x.pal"));
    ASSERT_TRUE(pal.open(QIODevice::WriteOnly));
    pal.write("JASC-PAL\r\n0100\r\n256\r\n");
    pal.close();
    const std::pair<QString, QString> rows[] = {
        {Path("x.pal"), Path("x.pal") + ": Not a CMP File.\n"},
        {Path("none.cmp"), Path("none.cmp") + " was not found.\n"},
    };
    for (const auto& [file, message] : rows) {
        QProcess& start = Launch({file});
        ASSERT_TRUE(start.waitForFinished(kSettleMs));
        EXPECT_EQ(start.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(start.exitCode(), 1);
        EXPECT_TRUE(Log(start).endsWith(message)) << Log(start).toStdString();
    }
    ASSERT_TRUE(pal.open(QIODevice::ReadOnly));
    EXPECT_EQ(pal.readAll(), "JASC-PAL\r\n0100\r\n256\r\n");
}

// Without a display nobody could answer a message box: every start to print
// ends at once, its reason on standard error, 1 when it could not print and
// 2 when its command line makes no sense.
TEST_F(InstanceTest, PrintingWithoutADisplayEndsPromptlyWithItsReason)
{
    m_environment.remove("QT_QPA_PLATFORM");
    const QString file = Colormap("print.cmp");
    QDir().mkdir(Path("folder"));
    ASSERT_EQ(::mkfifo(Path("fifo").toLocal8Bit().constData(), 0600), 0);
    QFile damaged(Path("damaged.cmp"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("CMP ").leftJustified(100, '\0'));
    damaged.close();
    const struct {
        QStringList arguments;
        int status;
        QString error;
    } rows[] = {
        {{"-p", file}, 1, "Could not start print job.\n"},
        {{"-pt", file, "Office", "d", "p"}, 1, "Could not start print job.\n"},
        {{"-p", Path("none.cmp")}, 1, Path("none.cmp") + " was not found.\n"},
        {{"-dde", "-p", Path("none.cmp")}, 1, Path("none.cmp") + " was not found.\n"},
        {{"-p", Path("folder")}, 1, "Access to " + Path("folder") + " was denied.\n"},
        {{"-p", "/dev/null"}, 1, "Access to /dev/null was denied.\n"},
        {{"-p", Path("fifo")}, 1, "Access to " + Path("fifo") + " was denied.\n"},
        {{"-p", Path("damaged.cmp")}, 1, "Unexpected file format.\n"},
        {{"-p"}, 2, "palvane: -p needs a file name\nusage: palvane"},
        {{"-pt", file}, 2, "palvane: -pt needs a file name and a printer name\n"},
        {{"-p", "-print.cmp"},
         2,
         "-print.cmp is taken for a flag (a file of that name is ./-print.cmp)\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        QProcess& printing = Launch(row.arguments);
        ASSERT_TRUE(printing.waitForFinished(kPromptlyMs)) << Log(printing).toStdString();
        EXPECT_EQ(printing.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(printing.exitCode(), row.status);
        EXPECT_TRUE(Log(printing).contains(row.error)) << Log(printing).toStdString();
    }
}

TEST_F(InstanceTest, AHiddenServerEndsAfterPrintingButStaysForAFile)
{
    m_environment.insert("XDG_ACTIVATION_TOKEN", "token");
    const QString file = Colormap("hidden.cmp");
    for (const bool print : {true, false}) {
        SCOPED_TRACE(print);
        QProcess& server = Launch({"-dde"});
        ASSERT_TRUE(WaitFor([&] { return Log(server).contains(kServing); }));
        QProcess& sender =
            Launch(print ? QStringList{"-dde", "-p", file} : QStringList{"-dde", file});
        ASSERT_TRUE(sender.waitForFinished(kSettleMs));
        EXPECT_EQ(sender.exitCode(), 0);
        // Printing fails here, for want of a printer, and the server says so.
        EXPECT_EQ(server.waitForFinished(print ? kSettleMs : 2000), print);
        EXPECT_EQ(server.state() == QProcess::NotRunning && server.exitCode() == 1, print);
        EXPECT_TRUE(Log(server).contains(print ? "Could not start print job." : Opened(file)));
        EndAll();
    }
}

} // namespace
