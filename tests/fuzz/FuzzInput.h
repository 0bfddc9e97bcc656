#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken promise ends the run as a crash does, so that the fuzzer and the corpus test both report it.
#define FUZZ_CHECK(condition) ((condition) ? void() : FuzzFailure(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FuzzFailure(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, condition);
    std::abort();
}

// Reading trims these blanks from both ends of a value.
inline QString WithoutBlankEnds(QString value) {
    while (value.startsWith(u' ') || value.startsWith(u'\t'))
        value.remove(0, 1);
    while (value.endsWith(u' ') || value.endsWith(u'\t'))
        value.chop(1);
    return value;
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
