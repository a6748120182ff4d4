#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr const char* kServing = "palvane.requests: serving at";
// Long enough for a crowd of starts on a busy machine under the sanitizers.
constexpr int kSettleMs = 120000;

// Starts of the editor as real processes, all of the same user: their
// runtime, data and configuration folders are the test's own, their log of
// requests goes to a file each.
class InstanceTest : public ::testing::Test {
protected:
    InstanceTest()
    {
        for (const char* name : {"run", "data", "config", "cache"}) {
            QDir().mkpath(Path(name));
            QFile::setPermissions(Path(name),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        m_environment.insert("XDG_RUNTIME_DIR", Path("run"));
        m_environment.insert("XDG_DATA_HOME", Path("data"));
        m_environment.insert("XDG_CONFIG_HOME", Path("config"));
        m_environment.insert("XDG_CACHE_HOME", Path("cache"));
        m_environment.insert("QT_LOGGING_RULES", "palvane.requests.info=true");
        m_environment.insert("CUPS_SERVER", "/nonexistent/cups.sock");
        m_environment.insert("QT_QPA_PLATFORM", "offscreen");
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
            m_environment.remove(name);
    }
    ~InstanceTest() override
    {
        for (const auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                ::kill(static_cast<pid_t>(process->processId()), SIGCONT);
                process->kill();
                process->waitForFinished(10000);
            }
        }
    }

    QString Path(const std::string& name) const { return QString::fromStdString(m_folder / name); }
    QString Colormap(const std::string& name) const
    {
        const std::string path = m_folder / name;
        if (!std::filesystem::exists(path))
            std::filesystem::copy_file(PALVANE_SAMPLE_COLORMAP, path);
        return QString::fromStdString(path);
    }
    QProcess& Launch(const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_environment);
        process->setStandardErrorFile(Path("log-" + std::to_string(m_processes.size())));
        process->start(PALVANE_EXECUTABLE, arguments);
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }
    QString Log(const QProcess& process) const
    {
        for (std::size_t i = 0; i < m_processes.size(); ++i) {
            if (m_processes[i].get() == &process) {
                QFile file(Path("log-" + std::to_string(i)));
                return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                      : QString();
            }
        }
        return QString();
    }
    QString AllLogs() const
    {
        QString logs;
        for (const auto& process : m_processes)
            logs += Log(*process);
        return logs;
    }
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = kSettleMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents();
            QThread::msleep(50);
        }
        return true;
    }
    // The line the process that carries out an open request writes.
    static QString Opened(const QString& path)
    {
        return QStringLiteral("carrying out \"[open(\\\"%1\\\")]\"").arg(path);
    }
    QProcess& StartServer()
    {
        QProcess& server = Launch({});
        EXPECT_TRUE(WaitFor([&] { return Log(server).contains(kServing); }))
            << Log(server).toStdString();
        return server;
    }

    TempFolder m_folder;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(InstanceTest, ACrowdOfStartsGetsOneServerAndEveryRequestOnce)
{
    constexpr int kStarts = 20;
    QStringList files;
    for (int i = 0; i < kStarts; ++i)
        files << Colormap("crowd-" + std::to_string(i) + ".cmp");
    for (const QString& file : files)
        Launch({"-dde", file});
    ASSERT_TRUE(WaitFor([&] {
        const QString logs = AllLogs();
        for (const QString& file : files)
            if (!logs.contains(Opened(file)))
                return false;
        return true;
    })) << AllLogs().toStdString();
    // A start whose request was taken ends at once, and well.
    WaitFor([&] { return AllLogs().count(kServing) > 0; });
    const QString logs = AllLogs();
    EXPECT_EQ(logs.count(kServing), 1) << logs.toStdString();
    for (const QString& file : files)
        EXPECT_EQ(logs.count(Opened(file)), 1) << file.toStdString();
    int ended = 0;
    for (const auto& process : m_processes) {
        if (process->state() == QProcess::NotRunning) {
            ++ended;
            EXPECT_EQ(process->exitCode(), 0);
        }
    }
    EXPECT_GE(ended, 1);
}

enum class PreviousEnd { killed, socketLeftBehind, stopsAnswering };

TEST_F(InstanceTest, AStartCopesWithAServerThatIsGoneOrSilent)
{
    const struct {
        PreviousEnd previous;
        bool takesOver; // the new start becomes the server
    } cases[] = {
        {PreviousEnd::killed, true},
        {PreviousEnd::socketLeftBehind, true},
        {PreviousEnd::stopsAnswering, false},
    };
    const QString socket = Path("run/palvane-requests");
    int round = 0;
    for (const auto& row : cases) {
        SCOPED_TRACE(round);
        QProcess* server = nullptr;
        if (row.previous == PreviousEnd::socketLeftBehind) {
            // A socket file that nobody listens on.
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, socket.toLocal8Bit().constData(),
                         sizeof address.sun_path - 1);
            ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(fd);
        } else {
            server = &StartServer();
            ::kill(static_cast<pid_t>(server->processId()),
                   row.previous == PreviousEnd::killed ? SIGKILL : SIGSTOP);
        }
        ASSERT_TRUE(QFile::exists(socket));

        const QString file = Colormap("late-" + std::to_string(round++) + ".cmp");
        QProcess& late = Launch({"-dde", file});
        ASSERT_TRUE(WaitFor([&] { return Log(late).contains(Opened(file)); }))
            << Log(late).toStdString();
        EXPECT_EQ(Log(late).contains(kServing), row.takesOver) << Log(late).toStdString();
        if (row.takesOver) {
            // ... and answers the next start.
            const QString next = Colormap("next-" + std::to_string(round) + ".cmp");
            QProcess& sender = Launch({"-dde", next});
            ASSERT_TRUE(sender.waitForFinished(kSettleMs));
            EXPECT_EQ(sender.exitCode(), 0);
            EXPECT_TRUE(WaitFor([&] { return Log(late).contains(Opened(next)); }));
        } else {
            // The silent server never carries out what it did not confirm.
            ::kill(static_cast<pid_t>(server->processId()), SIGCONT);
            QThread::msleep(500);
            EXPECT_FALSE(Log(*server).contains(Opened(file)));
        }
        for (const auto& process : m_processes) {
            process->kill();
            process->waitForFinished(10000);
        }
        QFile::remove(socket);
    }
}

TEST_F(InstanceTest, PrintingWithoutAPrinterSaysSoAndFailsWithoutADisplay)
{
    m_environment.remove("QT_QPA_PLATFORM");
    const QString file = Colormap("print.cmp");
    for (const QStringList& arguments :
         {QStringList{"-p", file}, QStringList{"-pt", file, "Office", "driver", "port"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QProcess& printing = Launch(arguments);
        ASSERT_TRUE(printing.waitForFinished(kSettleMs));
        EXPECT_NE(printing.exitCode(), 0);
        EXPECT_TRUE(Log(printing).contains("Could not start print job.\n"))
            << Log(printing).toStdString();
        EXPECT_FALSE(Log(printing).contains(kServing));
    }
}

} // namespace
