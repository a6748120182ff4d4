#pragma once

#include "framework/ShellRequest.h"

#ifndef _WIN32
#include "app/RequestSocketFile.h"
#endif

#include <QObject>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QTimer;

// Answers the requests that later starts of the editor send to the running
// one. At most one instance of the user's offers it: starting and stopping
// happen under the channel's lock file, so two starts at the same moment
// cannot both listen, and a closing instance removes only its own socket.
//
// Whatever a connection does, it costs the service little: it holds at most
// kMaxConnections at once and refuses more, stops reading from a sender that
// does not read its answers, drops a connection that makes no progress for
// the idle timeout, and logs a sender's first malformed request and then
// only how many more there were.
class RequestService : public QObject {
    Q_OBJECT

public:
    enum class Offer { serving, otherServes, unavailable };

    static constexpr std::size_t kMaxConnections = 64;
    // A sender writes a frame and waits for its answer within seconds.
    static constexpr int kIdleTimeoutMs = 10000;
    // The environment variable that sets another idle timeout, in
    // milliseconds, for tests that cannot wait that long.
    static constexpr const char* kIdleTimeoutVariable = "PALVANE_REQUEST_IDLE_MS";

    // `handler` carries out each committed request, in the order they came.
    explicit RequestService(std::function<void(const ShellRequest&)> handler,
                            QObject* parent = nullptr);
    ~RequestService() override;

    // Under the lock: when another instance answers, leaves the service to
    // it; otherwise puts its socket in place of one left behind by an
    // instance that ended without stopping, and listens. Without a usable
    // lock file nothing is offered.
    Offer OfferService();
    // Stops listening, under the lock. Nothing when not serving.
    void Withdraw();
    bool IsServing() const { return m_pServer != nullptr; }
    // A sender is still connected: more of its requests may follow.
    bool HasConnections() const { return !m_connections.empty(); }

private:
    struct Connection {
        std::optional<ShellRequest> accepted;
        QTimer* idle = nullptr; // a child of the socket
        long long malformed = 0;
    };

    // The reason it cannot listen at `name`, or an empty string.
    QString Listen(QLocalServer& server, const QString& name);
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    // False when the connection must end.
    bool OnFrame(QLocalSocket* socket, Connection& connection, const QByteArray& payload);
    void Refuse(QLocalSocket* socket);
    void Drop(QLocalSocket* socket);

    std::function<void(const ShellRequest&)> m_handler;
    int m_idleTimeoutMs = kIdleTimeoutMs;
    QLocalServer* m_pServer = nullptr;
#ifndef _WIN32
    RequestSocketFile m_socketFile;
#endif
    std::map<QLocalSocket*, Connection> m_connections;
    long long m_refusedConnections = 0; // since the service last had room
};
