#include "platform/LinkLog.h"

Q_LOGGING_CATEGORY(linkLog, "tandrel.link", QtInfoMsg)

void SetUpLinkLog(bool turnOn) {
    if (turnOn) QLoggingCategory::setFilterRules(QStringLiteral("tandrel.link.debug=true"));
    if (!linkLog().isDebugEnabled()) return;
    // QT_MESSAGE_PATTERN, when set, still wins.
    qSetMessagePattern(QStringLiteral("%{time hh:mm:ss.zzz} %{if-category}%{category}: %{endif}%{message}"));
}

QByteArray HexBytes(const std::uint8_t* data, std::size_t count) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count))
        .toHex(' ');
}
