#include "network/NetworkText.h"

#include "send/InlineMarks.h"

#include <algorithm>

namespace {

constexpr int WordsPerMinutePerSign = 2;
// More than the window's whole speed range, and short enough for a mark.
constexpr int LargestChange = 100;

// What the window keys for a character of the protocol; empty when it is skipped.
QString KeyboardForm(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || QByteArrayView(" ,./?\":@)(").contains(c))
        return QString(QLatin1Char(c));
    if (c >= 'a' && c <= 'z') return QString(QLatin1Char(char(c - 'a' + 'A')));
    switch (c) {
    case '*':
        return QStringLiteral("[");
    case '=':
        return QStringLiteral(";");
    case '<':
        return QStringLiteral("=");
    case '&':
        return QStringLiteral("'");
    case '!':
        return MarkText(ProsignMark{QStringLiteral("SN")});
    case '>':
        return QStringLiteral("BK");
    case '~':
        return MarkText(HalfSpaceMark{});
    default:
        return {};
    }
}

} // namespace

QString KeyboardTextFromNetwork(QByteArrayView text) {
    QString keyboardText;
    int pendingChange = 0; // of + and - not yet followed by anything keyed
    int markedChange = 0;  // the speed marks written so far add up to this
    for (const char c : text) {
        if (c == '\r' || c == '\n') break;
        if (c == '+' || c == '-') {
            pendingChange += c == '+' ? WordsPerMinutePerSign : -WordsPerMinutePerSign;
            pendingChange = std::clamp(pendingChange, -LargestChange, LargestChange);
            continue;
        }
        const QString keyed = KeyboardForm(c);
        if (keyed.isEmpty()) continue;
        if (pendingChange != 0) keyboardText += MarkText(SpeedMark{SpeedMark::Change::By, pendingChange});
        markedChange += pendingChange;
        pendingChange = 0;
        keyboardText += keyed;
    }
    if (markedChange != 0) keyboardText += MarkText(SpeedMark{SpeedMark::Change::BackToOperator, 0});
    return keyboardText;
}

qsizetype KeyedLength(QStringView keyboardText) {
    qsizetype keyedEnd = 0;
    for (qsizetype position = 0; position < keyboardText.size();) {
        const std::optional<FoundMark> found = ReadMark(keyboardText, position);
        position += found ? found->length : 1;
        if (!found || std::holds_alternative<ProsignMark>(found->mark)) keyedEnd = position;
    }
    return keyedEnd;
}
