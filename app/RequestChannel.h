#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

class QIODevice;
class QLocalSocket;

Q_DECLARE_LOGGING_CATEGORY(lcRequests)

// Where and how requests travel from one start of the editor to the running
// one: a local socket of the user's own (a socket file in the runtime folder,
// a named pipe on Windows), a lock file beside it that serialises starting
// and stopping the service, and frames of a 32-bit big-endian length
// followed by that many bytes. The sender sends a request; the service
// answers "accepted" or "refused"; the sender confirms an accepted one with
// "commit", and only then does the service carry it out, so a sender that
// gave up waiting never has its request carried out twice.
class RequestChannel {
public:
    static constexpr int kMaxFrame = 64 * 1024;
    static constexpr int kLengthSize = 4;
    static constexpr const char* kAccepted = "accepted";
    static constexpr const char* kRefused = "refused";
    static constexpr const char* kCommit = "commit";

    // Empty when the runtime folder cannot be had.
    static QString ServerName();
    static QString LockFilePath();

    static QByteArray Frame(const QByteArray& payload);
    enum class Take { incomplete, frame, invalid };
    // Reads the next frame from `device` into `payload` once all of it has
    // arrived; until then the device keeps what came. A length beyond
    // kMaxFrame is invalid.
    static Take TakeFrame(QIODevice& device, QByteArray& payload);
    // Writes one frame and waits until it is written.
    static bool WriteFrame(QLocalSocket& socket, const QByteArray& payload, int timeoutMs);
    // Waits up to `timeoutMs` for one complete frame.
    static bool ReadFrame(QLocalSocket& socket, QByteArray& payload, int timeoutMs);
};
