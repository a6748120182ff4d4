#include "app/RequestChannel.h"
#include "app/RequestService.h"
#include "tests/support/TempFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
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

#include <poll.h>
#include <sys/resource.h>
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

sockaddr_un AddressOf(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof address.sun_path - 1);
    return address;
}

// A connection to the socket at `path`, or -1.
int Connect(const QString& path)
{
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval timeout{10, 0};
    ::setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    const sockaddr_un address = AddressOf(path);
    if (::connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(handle);
        return -1;
    }
    return handle;
}

// Whether the other end has closed `handle`; answers waiting are read.
bool Ended(int handle)
{
    char buffer[4096];
    pollfd readable{handle, POLLIN, 0};
    while (::poll(&readable, 1, 0) > 0) {
        if (::recv(handle, buffer, sizeof buffer, MSG_DONTWAIT) <= 0)
            return true;
    }
    return false;
}

// The most memory the process has held, in KiB.
long long PeakMemoryKiB(const QProcess& process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    return -1;
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
        if (m_childSetup)
            process->setChildProcessModifier(m_childSetup);
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

    QString SocketPath() const { return Path("XDG_RUNTIME_DIR/palvane-requests"); }
    QProcess& LaunchServer(const QStringList& arguments = {})
    {
        QProcess& server = Launch(arguments);
        EXPECT_TRUE(WaitFor([&] { return Log(server).contains(kServing); }))
            << Logs().toStdString();
        return server;
    }
    // A later start hands `name` over to `server`, and ends.
    void ExpectHandedOver(const QProcess& server, const std::string& name)
    {
        const QString file = Colormap(name);
        QProcess& sender = Launch({"-dde", file});
        ASSERT_TRUE(sender.waitForFinished(kSettleMs));
        EXPECT_EQ(sender.exitCode(), 0);
        EXPECT_TRUE(WaitFor([&] { return Log(server).contains(Opened(file)); }))
            << Logs().toStdString();
    }

    TempFolder m_folder;
    std::function<void()> m_childSetup;
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
            const sockaddr_un address = AddressOf(socket);
            ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
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
            ExpectHandedOver(late, "next-" + std::to_string(round) + ".cmp");
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

TEST_F(InstanceTest, ASenderThatNeverReadsItsAnswersCostsLittleAndIsLoggedOnce)
{
    QProcess& server = LaunchServer();
    const long long before = PeakMemoryKiB(server);
    constexpr std::size_t kFlood = 40u << 20;
    std::vector<int> senders;
    for (int i = 0; i < 2; ++i) {
        const int sender = Connect(SocketPath());
        ASSERT_GE(sender, 0);
        senders.push_back(sender);
        // Empty frames, each a malformed request, until the service stops
        // taking them.
        const std::string frames(64 * 1024, '\0');
        std::size_t sent = 0;
        pollfd writable{sender, POLLOUT, 0};
        while (sent<kFlood&& ::poll(&writable, 1, 1000)> 0) {
            const ssize_t written =
                ::send(sender, frames.data(), frames.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (written < 0 && errno != EAGAIN)
                break;
            sent += written > 0 ? std::size_t(written) : 0;
        }
        EXPECT_LT(sent, kFlood / 10);
    }
    EXPECT_LT(PeakMemoryKiB(server) - before, 16 * 1024);
    for (const int sender : senders)
        ::close(sender);
    ASSERT_TRUE(WaitFor([&] { return Log(server).count("more malformed requests") == 2; }))
        << Log(server).toStdString();
    EXPECT_EQ(Log(server).count("refused malformed request"), 2);
}

TEST_F(InstanceTest, ConnectionsThatMakeNoProgressAreDropped)
{
    constexpr qint64 kIdleMs = 1000;
    m_environment.insert(RequestService::kIdleTimeoutVariable, QString::number(kIdleMs));
    LaunchServer();
    const std::pair<const char*, QByteArray> rows[] = {
        {"silent", {}},
        {"half a frame", QByteArray("\0\0\0\x10[op", 8)},
        {"accepted, never committed", RequestChannel::Frame(R"([open("/nowhere/never.cmp")])")},
    };
    QElapsedTimer clock;
    clock.start();
    std::vector<int> idle;
    for (const auto& [what, bytes] : rows) {
        idle.push_back(Connect(SocketPath()));
        ASSERT_GE(idle.back(), 0) << what;
        ASSERT_EQ(::send(idle.back(), bytes.constData(), std::size_t(bytes.size()), 0),
                  bytes.size());
    }
    // One that keeps sending stays, however long it takes.
    const int busy = Connect(SocketPath());
    std::vector<qint64> endedAfter(idle.size(), -1);
    while (clock.elapsed() < 3 * kIdleMs) {
        ASSERT_EQ(::send(busy, "\0\0\0\0", 4, MSG_NOSIGNAL), 4);
        for (std::size_t i = 0; i < idle.size(); ++i)
            if (endedAfter[i] < 0 && Ended(idle[i]))
                endedAfter[i] = clock.elapsed();
        QThread::msleep(kIdleMs / 5);
    }
    // Qt's timers may fire a few per cent early.
    for (std::size_t i = 0; i < idle.size(); ++i) {
        EXPECT_GE(endedAfter[i], kIdleMs - 100) << rows[i].first;
        ::close(idle[i]);
    }
    EXPECT_FALSE(Ended(busy));
    ::close(busy);
}

TEST_F(InstanceTest, UnderADescriptorLimitManyConnectionsLeaveTheServiceServing)
{
    constexpr std::size_t kConnections = 1100;
    rlimit own{};
    ::getrlimit(RLIMIT_NOFILE, &own);
    own.rlim_cur = std::max<rlim_t>(own.rlim_cur, std::min<rlim_t>(own.rlim_max, 4096));
    if (::setrlimit(RLIMIT_NOFILE, &own) != 0 || own.rlim_cur < kConnections + 100)
        GTEST_SKIP() << "this process may not open " << kConnections << " connections";
    m_environment.insert(RequestService::kIdleTimeoutVariable, "2000");
    m_childSetup = [] {
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_NOFILE, &limit);
    };
    QProcess& server = LaunchServer();
    std::vector<int> connections;
    for (std::size_t i = 0; i < kConnections; ++i) {
        connections.push_back(Connect(SocketPath()));
        ASSERT_GE(connections.back(), 0) << i;
    }
    const auto open = [&] {
        return std::count_if(connections.begin(), connections.end(),
                             [](int handle) { return !Ended(handle); });
    };
    // Those beyond the cap are refused at once, the rest dropped when idle.
    EXPECT_TRUE(WaitFor([&] { return open() <= std::ptrdiff_t(RequestService::kMaxConnections); }));
    EXPECT_TRUE(WaitFor([&] { return open() == 0; }));
    for (const int handle : connections)
        ::close(handle);
    EXPECT_TRUE(Log(server).contains("refusing connections beyond")) << Log(server).toStdString();
    EXPECT_NE(server.state(), QProcess::NotRunning);
    EXPECT_TRUE(QFile::exists(SocketPath()));
    ExpectHandedOver(server, "after-the-crowd.cmp");
}

TEST_F(InstanceTest, APipeInPlaceOfTheLockLeavesTheStartWithoutTheService)
{
    const QString lock = Path("XDG_RUNTIME_DIR/palvane-requests.lock");
    ASSERT_EQ(::mkfifo(lock.toLocal8Bit().constData(), 0600), 0);
    const QString file = Colormap("alone.cmp");
    QProcess& start = Launch({"-dde", file});
    ASSERT_TRUE(WaitFor([&] { return Log(start).contains(Opened(file)); })) << Logs().toStdString();
    EXPECT_TRUE(Log(start).contains("cannot lock"));
    EXPECT_FALSE(Log(start).contains(kServing));
    // Still running (QProcess may not have seen it start yet).
    EXPECT_NE(start.state(), QProcess::NotRunning);
    struct stat status {};
    EXPECT_TRUE(::stat(lock.toLocal8Bit().constData(), &status) == 0 && S_ISFIFO(status.st_mode));
}

TEST_F(InstanceTest, AnEditorThatEndsLeavesTheSocketOfTheOneServingNow)
{
    QProcess& first = LaunchServer({"-dde"});
    // Its socket moves aside, and another start serves in its place.
    const QString aside = SocketPath() + "-aside";
    ASSERT_TRUE(QFile::rename(SocketPath(), aside));
    QProcess& second = LaunchServer();

    // Asked through the socket aside to print, the first does so (and fails,
    // for want of a printer) and ends.
    QLocalSocket client;
    client.connectToServer(aside);
    ASSERT_TRUE(client.waitForConnected(kSettleMs));
    const ShellRequest print(ShellRequest::Command::print, {Colormap("print.cmp").toStdString()});
    QByteArray answer;
    ASSERT_TRUE(
        RequestChannel::WriteFrame(client, QByteArray::fromStdString(print.Encode()), kSettleMs));
    ASSERT_TRUE(RequestChannel::ReadFrame(client, answer, kSettleMs));
    ASSERT_EQ(answer, RequestChannel::kAccepted);
    ASSERT_TRUE(RequestChannel::WriteFrame(client, RequestChannel::kCommit, kSettleMs));
    client.disconnectFromServer();
    ASSERT_TRUE(first.waitForFinished(kSettleMs));

    EXPECT_TRUE(QFile::exists(SocketPath()));
    ExpectHandedOver(second, "to-the-second.cmp");
}

} // namespace
