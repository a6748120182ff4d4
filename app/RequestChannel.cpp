#include "app/RequestChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

Q_LOGGING_CATEGORY(lcRequests, "palvane.requests", QtWarningMsg)

namespace {

const QString kName = QStringLiteral("palvane-requests");

QString RuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

QString RequestChannel::ServerName()
{
#ifdef _WIN32
    // A pipe name of the user's own; pipes live in no folder.
    return kName + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kName);
#endif
}

QString RequestChannel::LockFilePath()
{
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(kName + QStringLiteral(".lock"));
}

QByteArray RequestChannel::Frame(const QByteArray& payload)
{
    QByteArray frame(kLengthSize, '\0');
    qToBigEndian(static_cast<quint32>(payload.size()), frame.data());
    return frame + payload;
}

RequestChannel::Take RequestChannel::TakeFrame(QIODevice& device, QByteArray& payload)
{
    char length[kLengthSize];
    if (device.peek(length, kLengthSize) < kLengthSize)
        return Take::incomplete;
    const quint32 size = qFromBigEndian<quint32>(length);
    if (size > static_cast<quint32>(kMaxFrame))
        return Take::invalid;
    if (device.bytesAvailable() < kLengthSize + static_cast<qint64>(size))
        return Take::incomplete;
    device.skip(kLengthSize);
    payload = device.read(static_cast<qint64>(size));
    return Take::frame;
}

bool RequestChannel::WriteFrame(QLocalSocket& socket, const QByteArray& payload, int timeoutMs)
{
    const QByteArray frame = Frame(payload);
    if (socket.write(frame) != frame.size())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    return true;
}

bool RequestChannel::ReadFrame(QLocalSocket& socket, QByteArray& payload, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        switch (TakeFrame(socket, payload)) {
        case Take::frame:
            return true;
        case Take::invalid:
            return false;
        case Take::incomplete:
            break;
        }
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
}
