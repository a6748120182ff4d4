#include "app/RequestService.h"

#include "app/FileLock.h"
#include "app/RequestChannel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <chrono>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <unistd.h>
#endif

namespace {

// Long enough for a crowd of starts on a busy machine.
constexpr std::chrono::milliseconds kLockTimeout(10000);
constexpr int kProbeTimeoutMs = 1000;
// A sender has one answer to read at a time; one that lets this many bytes
// of answers pile up is not reading them.
constexpr qint64 kMaxUnreadAnswers = 4096;
// As much of a malformed request as the log shows.
constexpr qsizetype kLoggedRequestLength = 200;

// Whether a live instance answers at `name`. A socket that refuses or does
// not exist is not one; a connection that does not complete in time is
// taken for a busy instance, whose socket must stay.
bool AnotherInstanceListens(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        return true;
    }
    const QLocalSocket::LocalSocketError error = probe.error();
    return error != QLocalSocket::ServerNotFoundError &&
           error != QLocalSocket::ConnectionRefusedError;
}

bool IsAbsolutePath(const std::string& path)
{
    return QDir::isAbsolutePath(QString::fromStdString(path));
}

int IdleTimeoutMs()
{
    bool valid = false;
    const int timeout = qEnvironmentVariableIntValue(RequestService::kIdleTimeoutVariable, &valid);
    return valid && timeout > 0 ? timeout : RequestService::kIdleTimeoutMs;
}

} // namespace

RequestService::RequestService(std::function<void(const ShellRequest&)> handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_idleTimeoutMs(IdleTimeoutMs())
{
}

RequestService::~RequestService()
{
    Withdraw();
}

RequestService::Offer RequestService::OfferService()
{
    if (m_pServer != nullptr)
        return Offer::serving;
    const QString name = RequestChannel::ServerName();
    if (name.isEmpty())
        return Offer::unavailable;
    FileLock lock;
    if (!lock.TakeWithin(RequestChannel::LockFilePath().toStdString(), kLockTimeout)) {
        qCWarning(lcRequests) << "cannot lock" << RequestChannel::LockFilePath()
                              << "- later starts cannot hand their files to this one";
        return Offer::unavailable;
    }
    if (AnotherInstanceListens(name))
        return Offer::otherServes;
    auto* server = new QLocalServer(this);
    const QString failure = Listen(*server, name);
    if (!failure.isEmpty()) {
        qCWarning(lcRequests) << "cannot listen at" << name << failure;
        delete server;
        return Offer::unavailable;
    }
    m_pServer = server;
    connect(server, &QLocalServer::newConnection, this, &RequestService::OnNewConnection);
    qCInfo(lcRequests) << "serving at" << name;
    return Offer::serving;
}

QString RequestService::Listen(QLocalServer& server, const QString& name)
{
#ifdef _WIN32
    return server.listen(name) ? QString() : server.errorString();
#else
    const int handle = m_socketFile.Listen(name.toStdString());
    if (handle < 0)
        return qt_error_string(errno);
    if (server.listen(handle))
        return QString();
    ::close(handle);
    m_socketFile.RemoveIfOwn();
    return server.errorString();
#endif
}

void RequestService::Withdraw()
{
    if (m_pServer == nullptr)
        return;
    FileLock lock;
    const bool locked = lock.TakeWithin(RequestChannel::LockFilePath().toStdString(), kLockTimeout);
    m_pServer->close();
    delete m_pServer;
    m_pServer = nullptr;
#ifndef _WIN32
    // Without the lock another instance may be putting its socket in place
    // right now: a socket file left behind does no harm.
    if (locked)
        m_socketFile.RemoveIfOwn();
#endif
    std::vector<QLocalSocket*> sockets;
    for (const auto& entry : m_connections)
        sockets.push_back(entry.first);
    for (QLocalSocket* socket : sockets)
        Drop(socket);
    if (!locked)
        qCWarning(lcRequests) << "stopped without the lock";
}

void RequestService::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        if (m_connections.size() >= kMaxConnections) {
            Refuse(socket);
            continue;
        }
        Connection& connection = m_connections[socket];
        // The socket holds at most one frame; the rest waits with the system
        // until it is read, and a sender that sends more than is read waits.
        socket->setReadBufferSize(RequestChannel::kLengthSize + RequestChannel::kMaxFrame);
        connection.idle = new QTimer(socket);
        connection.idle->setSingleShot(true);
        connection.idle->start(m_idleTimeoutMs);
        connect(connection.idle, &QTimer::timeout, this, [this, socket] {
            qCInfo(lcRequests) << "dropping a connection idle for" << m_idleTimeoutMs << "ms";
            Drop(socket);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        // Answers read make room for more requests.
        connect(socket, &QLocalSocket::bytesWritten, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        OnReadyRead(socket);
    }
}

void RequestService::OnReadyRead(QLocalSocket* socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    Connection& connection = found->second;
    QByteArray payload;
    while (socket->bytesToWrite() < kMaxUnreadAnswers) {
        const RequestChannel::Take take = RequestChannel::TakeFrame(*socket, payload);
        if (take == RequestChannel::Take::incomplete)
            return;
        if (take == RequestChannel::Take::invalid || !OnFrame(socket, connection, payload)) {
            qCWarning(lcRequests) << "dropping a connection that broke the protocol";
            Drop(socket);
            return;
        }
        connection.idle->start(m_idleTimeoutMs);
    }
}

bool RequestService::OnFrame(QLocalSocket* socket, Connection& connection,
                             const QByteArray& payload)
{
    if (connection.accepted) {
        if (payload != RequestChannel::kCommit)
            return false;
        const ShellRequest request = *connection.accepted;
        connection.accepted.reset();
        m_handler(request);
        return true;
    }
    std::optional<ShellRequest> request = ShellRequest::Parse(payload.toStdString());
    if (request && request->GetCommand() != ShellRequest::Command::activate &&
        !IsAbsolutePath(request->GetPath()))
        request.reset();
    if (!request) {
        if (connection.malformed++ == 0)
            qCWarning(lcRequests) << "refused malformed request"
                                  << QString::fromUtf8(payload.left(kLoggedRequestLength));
        socket->write(RequestChannel::Frame(RequestChannel::kRefused));
        return true;
    }
    connection.accepted = std::move(request);
    socket->write(RequestChannel::Frame(RequestChannel::kAccepted));
    return true;
}

void RequestService::Refuse(QLocalSocket* socket)
{
    if (m_refusedConnections++ == 0)
        qCWarning(lcRequests) << "refusing connections beyond" << kMaxConnections << "at once";
    socket->abort();
    delete socket;
}

void RequestService::Drop(QLocalSocket* socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    if (found->second.malformed > 1)
        qCWarning(lcRequests) << "refused" << found->second.malformed - 1
                              << "more malformed requests from the same sender";
    m_connections.erase(found);
    socket->disconnect(this);
    if (socket->state() != QLocalSocket::UnconnectedState)
        socket->abort();
    socket->deleteLater();
    if (m_refusedConnections > 0 && m_connections.size() < kMaxConnections) {
        qCWarning(lcRequests) << "refused" << m_refusedConnections << "connections";
        m_refusedConnections = 0;
    }
}
