#pragma once

#include "framework/ShellRequest.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <map>
#include <optional>

class QLocalServer;
class QLocalSocket;

// Answers the requests that later starts of the editor send to the running
// one. At most one instance of the user's offers it: starting and stopping
// happen under the channel's lock file, so two starts at the same moment
// cannot both listen, and a closing instance removes only its own socket.
class RequestService : public QObject {
    Q_OBJECT

public:
    enum class Offer { serving, otherServes, unavailable };

    // `handler` carries out each committed request, in the order they came.
    explicit RequestService(std::function<void(const ShellRequest&)> handler,
                            QObject* parent = nullptr);
    ~RequestService() override;

    // Under the lock: when another instance answers, leaves the service to
    // it; otherwise removes a socket left behind by an instance that ended
    // without stopping, and listens.
    Offer OfferService();
    // Stops listening, under the lock. Nothing when not serving.
    void Withdraw();
    bool IsServing() const { return m_pServer != nullptr; }
    // A sender is still connected: more of its requests may follow.
    bool HasConnections() const { return !m_connections.empty(); }

private:
    struct Connection {
        QByteArray buffer;
        std::optional<ShellRequest> accepted;
    };

    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    // False when the connection must end.
    bool OnFrame(QLocalSocket* socket, Connection& connection, const QByteArray& payload);

    std::function<void(const ShellRequest&)> m_handler;
    QLocalServer* m_pServer = nullptr;
    std::map<QLocalSocket*, Connection> m_connections;
};
