#include "app/RequestSender.h"

#include "app/RequestChannel.h"

#include <QLocalSocket>

namespace {

bool Deliver(QLocalSocket& socket, const ShellRequest& request, int timeoutMs)
{
    QByteArray answer;
    return RequestChannel::WriteFrame(socket, QByteArray::fromStdString(request.Encode()),
                                      timeoutMs) &&
           RequestChannel::ReadFrame(socket, answer, timeoutMs) &&
           answer == RequestChannel::kAccepted &&
           RequestChannel::WriteFrame(socket, RequestChannel::kCommit, timeoutMs);
}

} // namespace

RequestSender::Result RequestSender::Send(const std::vector<ShellRequest>& requests,
                                          const std::string& activationToken, int timeoutMs)
{
    Result result;
    const QString name = RequestChannel::ServerName();
    if (name.isEmpty() || requests.empty())
        return result;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return result;
    result.connected = true;
    if (!activationToken.empty() &&
        !Deliver(socket, ShellRequest(ShellRequest::Command::activate, {activationToken}),
                 timeoutMs)) {
        qCWarning(lcRequests) << "the running instance did not take the activation token";
        return result;
    }
    for (const ShellRequest& request : requests) {
        if (!Deliver(socket, request, timeoutMs)) {
            qCWarning(lcRequests) << "no answer to" << QString::fromStdString(request.Encode());
            break;
        }
        ++result.delivered;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return result;
}
