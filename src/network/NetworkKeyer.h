#pragma once

#include "network/CwDaemonProtocol.h"
#include "network/ListenAddress.h"

#include <QObject>
#include <QUdpSocket>

// The UDP side of the network keyer: listens, reads each datagram as a request and answers replies.
// What the requests do, and how many of them the window takes, is the window's business.
class NetworkKeyer : public QObject {
    Q_OBJECT
public:
    explicit NetworkKeyer(QObject* parent = nullptr);

    // Listens at where, alone: a port that another socket holds is refused, not shared. False, with
    // the reason in words, when it cannot; the keyer is then not listening.
    bool Listen(const ListenAddress& where, QString& reason);
    void Stop();
    bool IsListening() const;
    // Where it listens, with the port the system chose when 0 was asked for; only while listening.
    ListenAddress Address() const;

    // Answers an <ESC>h request: "h" and its text, from the listening port; nothing when stopped.
    void SendReply(const QHostAddress& address, quint16 port, const QByteArray& text);

signals:
    void requestArrived(const CwDaemon::Request& request, const QHostAddress& sender, quint16 senderPort);

private:
    void ReadPending();

    QUdpSocket* socket_ = nullptr;
};
