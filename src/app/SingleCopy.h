#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One program per user, so that two copies never talk to the unit at once nor write the same files.
// The first start holds a lock in the user's runtime folder and listens beside it; a later start asks
// that copy to bring its window forward, and ends. The lock of a copy that is gone (it crashed, or was
// killed) is taken over.
class SingleCopy : public QObject {
    Q_OBJECT
public:
    enum class Start {
        First,          // this is the only copy
        Unguarded,      // the lock cannot be made: the program runs without the check
        BroughtForward, // another copy runs and has brought its window forward
        NoAnswer,       // another copy holds the lock but does not answer
    };

    explicit SingleCopy(const QString& runtimeFolder);

    // Takes the lock and listens, or asks the copy that holds the lock to come forward.
    Start Begin();
    // Gives up the lock and stops listening, for an end that skips the destructors.
    void Release();

signals:
    // A later start asks this copy to bring its window forward.
    void forwardAsked();

private:
    void Listen();
    void Answer(QLocalSocket* socket);

    QLockFile lock_;
    QString serverPath_;
    QLocalServer server_;
};
