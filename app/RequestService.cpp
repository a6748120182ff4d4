#include "app/RequestService.h"

#include "app/RequestChannel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <utility>

namespace {

// Long enough for a crowd of starts on a busy machine; a lock older than
// this whose owner still runs is taken over anyway.
constexpr int kLockTimeoutMs = 10000;
constexpr int kProbeTimeoutMs = 1000;

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

} // namespace

RequestService::RequestService(std::function<void(const ShellRequest&)> handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
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
    QLockFile lock(RequestChannel::LockFilePath());
    lock.setStaleLockTime(kLockTimeoutMs);
    if (!lock.tryLock(kLockTimeoutMs)) {
        qCWarning(lcRequests) << "cannot lock" << RequestChannel::LockFilePath();
        return Offer::unavailable;
    }
    if (AnotherInstanceListens(name))
        return Offer::otherServes;
    // No socket options: with them the server is made elsewhere and renamed
    // into place, which would replace a live socket.
    QLocalServer::removeServer(name);
    auto* server = new QLocalServer(this);
    if (!server->listen(name)) {
        qCWarning(lcRequests) << "cannot listen at" << name << server->errorString();
        delete server;
        return Offer::unavailable;
    }
    m_pServer = server;
    connect(server, &QLocalServer::newConnection, this, &RequestService::OnNewConnection);
    qCInfo(lcRequests) << "serving at" << name;
    return Offer::serving;
}

void RequestService::Withdraw()
{
    if (m_pServer == nullptr)
        return;
    QLockFile lock(RequestChannel::LockFilePath());
    lock.setStaleLockTime(kLockTimeoutMs);
    const bool locked = lock.tryLock(kLockTimeoutMs);
    // Closing removes the socket file, which is still this server's own:
    // nobody replaces a socket that answers.
    m_pServer->close();
    delete m_pServer;
    m_pServer = nullptr;
    for (auto& [socket, connection] : m_connections) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_connections.clear();
    if (!locked)
        qCWarning(lcRequests) << "stopped without the lock";
}

void RequestService::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        m_connections[socket] = Connection();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_connections.erase(socket);
            socket->deleteLater();
        });
        OnReadyRead(socket);
    }
}

void RequestService::OnReadyRead(QLocalSocket* socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    Connection& connection = found->second;
    connection.buffer += socket->readAll();
    QByteArray payload;
    while (true) {
        const RequestChannel::Take take = RequestChannel::TakeFrame(connection.buffer, payload);
        if (take == RequestChannel::Take::incomplete)
            return;
        if (take == RequestChannel::Take::invalid || !OnFrame(socket, connection, payload)) {
            qCWarning(lcRequests) << "dropping a connection that broke the protocol";
            m_connections.erase(socket);
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
            return;
        }
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
        qCWarning(lcRequests) << "refused malformed request" << QString::fromUtf8(payload);
        socket->write(RequestChannel::Frame(RequestChannel::kRefused));
        return true;
    }
    connection.accepted = std::move(request);
    socket->write(RequestChannel::Frame(RequestChannel::kAccepted));
    return true;
}
