#include "app/SingleCopy.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray Request = "come forward\n";
const QByteArray Reply = "done\n";
// A copy may be busy for a while, waiting on the unit, before it answers.
constexpr int AnswerWaitMs = 10000;
constexpr int RetryPauseMs = 100;

} // namespace

SingleCopy::SingleCopy(const QString& runtimeFolder)
    : lock_(QDir(runtimeFolder).filePath(QStringLiteral("tandrel.lock"))),
      serverPath_(QDir(runtimeFolder).filePath(QStringLiteral("tandrel.socket"))) {
    // Only a holder that is gone makes a lock stale, never its age: a copy may run for weeks.
    lock_.setStaleLockTime(0);
}

SingleCopy::Start SingleCopy::Begin() {
    // Without a runtime folder the lock would land in whatever folder the program was started from.
    if (QDir::isRelativePath(serverPath_)) return Start::Unguarded;
    const QDeadlineTimer deadline(AnswerWaitMs);
    for (;;) {
        if (lock_.tryLock()) {
            Listen();
            return Start::First;
        }
        if (lock_.error() != QLockFile::LockFailedError) return Start::Unguarded;
        QLocalSocket socket;
        socket.connectToServer(serverPath_);
        if (socket.waitForConnected(AnswerWaitMs)) {
            socket.write(Request);
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(AnswerWaitMs)) return Start::NoAnswer;
            }
            return socket.readLine() == Reply ? Start::BroughtForward : Start::NoAnswer;
        }
        // The holder has only just taken the lock and does not listen yet, or it has just ended.
        if (deadline.hasExpired()) return Start::NoAnswer;
        QThread::msleep(RetryPauseMs);
    }
}

void SingleCopy::Listen() {
    // A copy that crashed left its socket behind; the holder of the lock may remove it.
    QLocalServer::removeServer(serverPath_);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection())
            Answer(socket);
    });
    server_.listen(serverPath_);
}

void SingleCopy::Answer(QLocalSocket* socket) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == Request) {
            emit forwardAsked();
            socket->write(Reply);
        }
        socket->disconnectFromServer();
    });
}

void SingleCopy::Release() {
    server_.close();
    lock_.unlock();
}
