#include "send/InlineMarks.h"

#include <QRegularExpression>

namespace {

// Longer than any mark: a guillemet that no close follows soon is no mark.
constexpr qsizetype LongestMark = 12;

} // namespace

QString MarkText(const Mark& mark) {
    QString word;
    if (const auto* speed = std::get_if<SpeedMark>(&mark)) {
        if (speed->change == SpeedMark::Change::To) word = QString::number(speed->wordsPerMinute);
        if (speed->change == SpeedMark::Change::By)
            word = (speed->wordsPerMinute < 0 ? QStringLiteral("-") : QStringLiteral("+")) +
                   QString::number(std::abs(speed->wordsPerMinute));
    } else if (std::holds_alternative<HalfSpaceMark>(mark)) {
        word = QStringLiteral("~");
    } else {
        word = std::get<ProsignMark>(mark).name;
    }
    return InlineMark::Open + word + InlineMark::Close;
}

std::optional<FoundMark> ReadMark(QStringView text, qsizetype position) {
    if (position < 0 || position >= text.size() || text[position] != InlineMark::Open) return std::nullopt;
    const qsizetype close = text.indexOf(InlineMark::Close, position + 1);
    if (close < 0 || close - position > LongestMark) return std::nullopt;
    const QString word = text.sliced(position + 1, close - position - 1).toString();
    const qsizetype length = close - position + 1;

    static const QRegularExpression speed(QStringLiteral("^([+-]?)(\\d{1,3})$"));
    static const QRegularExpression prosign(QStringLiteral("^[A-Z]{2}$"));
    if (word.isEmpty()) return FoundMark{SpeedMark{SpeedMark::Change::BackToOperator, 0}, length};
    if (word == u'~') return FoundMark{HalfSpaceMark{}, length};
    if (const auto match = speed.match(word); match.hasMatch()) {
        const int value = match.captured(2).toInt();
        if (match.captured(1).isEmpty()) return FoundMark{SpeedMark{SpeedMark::Change::To, value}, length};
        return FoundMark{SpeedMark{SpeedMark::Change::By, match.captured(1) == u'-' ? -value : value},
                         length};
    }
    if (prosign.match(word).hasMatch()) return FoundMark{ProsignMark{word}, length};
    return std::nullopt;
}
