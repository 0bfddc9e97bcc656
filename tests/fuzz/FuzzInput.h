#pragma once

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QtGlobal>

#include <cstdint>

// A broken promise ends the run as a crash does, so that the fuzzer and the corpus test both report it.
#define FUZZ_CHECK(condition)                                                                                \
    ((condition) ? void() : qFatal("%s:%d: broken: %s", __FILE__, __LINE__, #condition))

// Reading trims these blanks from both ends of a value; of a name, byte-order marks too.
inline QString WithoutBlankEnds(QString value) {
    static const QRegularExpression blankEnds(QStringLiteral("^[ \\t]+|[ \\t]+$"));
    return value.remove(blankEnds);
}
inline QString BareName(QString name) {
    static const QRegularExpression blankEnds(QStringLiteral("^[ \\t\\x{FEFF}]+|[ \\t\\x{FEFF}]+$"));
    return name.remove(blankEnds);
}

// The input as count parts separated by NUL bytes, the last taking the rest, NULs and all; missing
// parts are empty.
struct FuzzParts {
    FuzzParts(const std::uint8_t* data, std::size_t size, int count) {
        QByteArray rest(reinterpret_cast<const char*>(data), qsizetype(size));
        for (qsizetype end = rest.indexOf('\0'); parts.size() < count - 1 && end >= 0;
             end = rest.indexOf('\0')) {
            parts.append(rest.first(end));
            rest.remove(0, end + 1);
        }
        parts.append(rest);
    }

    QByteArray Bytes(qsizetype index) const { return parts.value(index); }
    QString Text(qsizetype index) const { return QString::fromUtf8(parts.value(index)); }

    QList<QByteArray> parts;
};
