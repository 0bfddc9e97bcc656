#include "network/NetworkKeyer.h"

#include <QNetworkDatagram>
#include <QNetworkProxy>

namespace {

// Datagrams read in one go before the window's other events get their turn: a flood is read as fast
// as it comes, and the window stays responsive.
constexpr int DatagramsPerTurn = 64;

QString ListenFailure(const QUdpSocket& socket, const ListenAddress& where) {
    const QString at = ListenAddressText(where);
    switch (socket.error()) {
    case QAbstractSocket::AddressInUseError:
        return QStringLiteral("%1 is in use by another program").arg(at);
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QStringLiteral("%1 is not an address of this computer").arg(where.address.toString());
    case QAbstractSocket::SocketAccessError:
        return QStringLiteral("listening at %1 needs privileges this program does not have").arg(at);
    default:
        return QStringLiteral("cannot listen at %1: %2").arg(at, socket.errorString());
    }
}

} // namespace

NetworkKeyer::NetworkKeyer(QObject* parent) : QObject(parent) {}

bool NetworkKeyer::Listen(const ListenAddress& where, QString& reason) {
    Stop();
    // A fresh socket each time: one that failed to bind keeps reporting its first failure.
    auto* socket = new QUdpSocket(this);
    // Loggers are reached directly; asking the desktop's proxy settings would only start a thread.
    socket->setProxy(QNetworkProxy::NoProxy);
    // Shared, a second program on the port would take some of the datagrams meant for the other.
    if (!socket->bind(where.address, where.port, QAbstractSocket::DontShareAddress)) {
        reason = ListenFailure(*socket, where);
        delete socket;
        return false;
    }
    socket_ = socket;
    connect(socket_, &QUdpSocket::readyRead, this, &NetworkKeyer::ReadPending);
    return true;
}

void NetworkKeyer::Stop() {
    if (!socket_) return;
    socket_->close();
    // It may be the sender of the signal being handled.
    socket_->deleteLater();
    socket_ = nullptr;
}

bool NetworkKeyer::IsListening() const {
    return socket_ != nullptr;
}

ListenAddress NetworkKeyer::Address() const {
    return {socket_->localAddress(), socket_->localPort()};
}

void NetworkKeyer::SendReply(const QHostAddress& address, quint16 port, const QByteArray& text) {
    if (socket_) socket_->writeDatagram('h' + text, address, port);
}

void NetworkKeyer::ReadPending() {
    // A handler of the signal may stop the keyer.
    for (int read = 0; socket_ && socket_->hasPendingDatagrams(); ++read) {
        if (read == DatagramsPerTurn) return; // the socket, still readable, signals again
        // One byte over the limit is enough to refuse a datagram; the rest of it is never copied.
        const QNetworkDatagram datagram = socket_->receiveDatagram(CwDaemon::MaxDatagramBytes + 1);
        // A failed read leaves nothing to parse; reading resumes at the next readyRead, not in a spin.
        if (!datagram.isValid()) return;
        emit requestArrived(CwDaemon::ParseDatagram(datagram.data()), datagram.senderAddress(),
                            quint16(datagram.senderPort()));
    }
}
