#include "platform/NumberText.h"

#include <cmath>
#include <limits>

namespace {

bool IsBlank(QChar character) {
    return character == u' ' || character == u'\t';
}

bool IsDigit(QChar character) {
    return character >= u'0' && character <= u'9';
}

qsizetype SkipBlanks(const QString& text, qsizetype position) {
    while (position < text.size() && IsBlank(text[position]))
        ++position;
    return position;
}

qsizetype SkipDigits(const QString& text, qsizetype position) {
    while (position < text.size() && IsDigit(text[position]))
        ++position;
    return position;
}

// The extent of the decimal number starting at position; empty when no digit is part of it.
struct NumberSpan {
    qsizetype start = 0;
    qsizetype end = 0;
    bool HasDigits() const { return end > start; }
};

NumberSpan ScanNumber(const QString& text, qsizetype start) {
    qsizetype position = start;
    if (position < text.size() && (text[position] == u'+' || text[position] == u'-')) ++position;
    const qsizetype integerEnd = SkipDigits(text, position);
    qsizetype end = integerEnd;
    bool hasDigits = integerEnd > position;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fractionEnd = SkipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    return hasDigits ? NumberSpan{start, end} : NumberSpan{start, start};
}

std::optional<double> ConvertSpan(const QString& text, NumberSpan span) {
    bool converted = false;
    const double value = QStringView(text).sliced(span.start, span.end - span.start).toDouble(&converted);
    if (!converted || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

long long RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is the first double beyond the result's range; anything at or above it is held at the top.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit) return std::numeric_limits<long long>::max();
    if (value < -limit) return std::numeric_limits<long long>::min();
    return static_cast<long long>(std::nearbyint(value));
}

double ParseLeadingNumber(const QString& text) {
    const NumberSpan span = ScanNumber(text, SkipBlanks(text, 0));
    if (!span.HasDigits()) return 0.0;
    return ConvertSpan(text, span).value_or(0.0);
}

std::optional<double> ParseNumber(const QString& text) {
    const NumberSpan span = ScanNumber(text, SkipBlanks(text, 0));
    if (!span.HasDigits() || SkipBlanks(text, span.end) != text.size()) return std::nullopt;
    return ConvertSpan(text, span);
}

QString WithLeadingBlank(double value) {
    // 15 significant digits, so values such as 99 / 10.0 read as the 9.9 they stand for.
    const QString digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : u' ' + digits;
}
