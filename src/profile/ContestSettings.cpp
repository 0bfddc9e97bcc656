#include "profile/ContestSettings.h"

#include <QRegularExpression>

SerialRead ReadSerialNumber(const QString& text) {
    if (text.isEmpty()) return {};
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool fits = false;
    const int serial = text.toInt(&fits);
    if (!digits.match(text).hasMatch() || !fits || serial < 1) return {.damaged = true};
    return {.serial = serial};
}
