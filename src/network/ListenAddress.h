#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringView>
#include <optional>

// Where the network keyer listens. Only this computer can reach the default; any other address is
// used only when it is named.
struct ListenAddress {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 port = 6789;

    bool operator==(const ListenAddress&) const = default;
};

struct ParsedListenAddress {
    std::optional<ListenAddress> address;
    QString error; // why the text was refused, when it was
};

// "ADDRESS:PORT", "ADDRESS", ":PORT", "[IPv6]:PORT", a bare IPv6 address, or nothing; what is left out
// takes the default. ADDRESS is a numeric IPv4 or IPv6 address or "localhost"; PORT is 1..65535.
ParsedListenAddress ParseListenAddress(QStringView text);

// The form ParseListenAddress reads back: "127.0.0.1:6789", "[::1]:6789".
QString ListenAddressText(const ListenAddress& where);
