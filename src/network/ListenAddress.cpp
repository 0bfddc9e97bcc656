#include "network/ListenAddress.h"

#include <algorithm>

namespace {

struct AddressParts {
    QStringView host;
    QStringView port;
    bool hasPort = false;
};

// Splits at the port's colon; an IPv6 address in brackets, or bare with its colons, keeps its own.
std::optional<AddressParts> SplitAddress(QStringView text) {
    if (text.startsWith(u'[')) {
        const qsizetype close = text.lastIndexOf(u']'); // a scope id may hold one too
        if (close < 0) return std::nullopt;
        const QStringView rest = text.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':')) return std::nullopt;
        return AddressParts{text.sliced(1, close - 1), rest.mid(1), !rest.isEmpty()};
    }
    if (text.count(u':') != 1) return AddressParts{text, {}, false};
    const qsizetype colon = text.indexOf(u':');
    return AddressParts{text.first(colon), text.sliced(colon + 1), true};
}

std::optional<quint16> ReadPort(QStringView text) {
    if (text.isEmpty() || text.size() > 5 ||
        !std::ranges::all_of(text, [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535) return std::nullopt;
    return quint16(port);
}

std::optional<QHostAddress> ReadHost(QStringView text) {
    if (text.compare(u"localhost", Qt::CaseInsensitive) == 0) return QHostAddress(QHostAddress::LocalHost);
    QHostAddress address;
    if (!address.setAddress(text.toString())) return std::nullopt;
    return address;
}

} // namespace

ParsedListenAddress ParseListenAddress(QStringView text) {
    text = text.trimmed();
    const std::optional<AddressParts> parts = SplitAddress(text);
    if (!parts) return {std::nullopt, QStringLiteral("\"%1\" is not ADDRESS:PORT").arg(text)};
    ListenAddress where;
    if (!parts->host.isEmpty()) {
        const std::optional<QHostAddress> host = ReadHost(parts->host);
        if (!host) return {std::nullopt, QStringLiteral("\"%1\" is not an IP address").arg(parts->host)};
        where.address = *host;
    }
    if (parts->hasPort) {
        const std::optional<quint16> port = ReadPort(parts->port);
        if (!port) return {std::nullopt, QStringLiteral("the port must be a number from 1 to 65535")};
        where.port = *port;
    }
    return {where, {}};
}

QString ListenAddressText(const ListenAddress& where) {
    const QString host = where.address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(where.address.toString())
                             : where.address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(where.port);
}
