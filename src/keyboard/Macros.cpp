#include "keyboard/Macros.h"

#include "profile/SettingRanges.h"
#include "send/InlineMarks.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The words that stand for a text, in the order they are tested.
constexpr std::array<QStringView, 6> NamedWords{u"MYCALL", u"HISCALL", u"NAME", u"QTH", u"SERIAL", u"5NN"};
using NamedTexts = std::array<QString, NamedWords.size()>; // in the order of NamedWords
constexpr std::size_t SerialWord = 4;

// What the words stand for, and whether the serial number went into the text.
struct Words {
    NamedTexts texts;
    bool serialUsed = false;
};
// A longer word cannot be one of the named macros.
constexpr qsizetype LongestNamedWord =
    std::ranges::max(NamedWords, {}, [](QStringView word) { return word.size(); }).size();

constexpr QStringView RepeatWord = u"REPEAT";
constexpr QStringView SpeedWord = u"WPM";
// A relative step beyond the width of the speed range changes nothing more.
constexpr int LargestSpeedStep = SpeedRange.maximum - SpeedRange.minimum;

// Marks are made by the expansion alone.
QString WithoutMarkCharacters(QString text) {
    return text.remove(InlineMark::Open).remove(InlineMark::Close);
}

QString SerialNumberText(int serial, CutNumbers cut) {
    QString text = QString::number(serial).rightJustified(3, u'0');
    if (cut == CutNumbers::Off) return text;
    text.replace(u'0', u'T').replace(u'9', u'N');
    if (cut == CutNumbers::ZeroNineOne) text.replace(u'1', u'A');
    return text;
}

NamedTexts TextsOf(const MacroValues& values) {
    return {WithoutMarkCharacters(values.operatorCall),
            WithoutMarkCharacters(values.workedCall),
            WithoutMarkCharacters(values.name),
            WithoutMarkCharacters(values.qth),
            SerialNumberText(values.serialNumber, values.cutNumbers),
            QStringLiteral("5NN")};
}

// Whether a speed word can have this character at this index: WPM, then blanks, signs and digits only.
bool FitsSpeedWord(qsizetype index, QChar character) {
    if (index < SpeedWord.size()) return character.toUpper() == SpeedWord[index];
    return QStringView(u" +-0123456789").contains(character);
}

std::optional<SpeedMark> ReadSpeedWord(const QString& word) {
    static const QRegularExpression speedWord(QStringLiteral("^WPM *(?:([+-]) *)?([0-9]+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = speedWord.match(word);
    if (!match.hasMatch()) return std::nullopt;
    bool fits = false;
    const int number = match.capturedView(2).toInt(&fits);
    // Digits alone fail to read only when there are too many of them.
    const int wordsPerMinute = fits ? number : std::numeric_limits<int>::max();
    const QStringView sign = match.capturedView(1);
    if (sign.isEmpty())
        return SpeedMark{SpeedMark::Change::To,
                         std::clamp(wordsPerMinute, SpeedRange.minimum, SpeedRange.maximum)};
    const int step = std::min(wordsPerMinute, LargestSpeedStep);
    return SpeedMark{SpeedMark::Change::By, sign == u'-' ? -step : step};
}

// Each test sees the result of the ones before it, so a name "Qth" becomes the location.
QString ReplaceMacroWord(QString word, Words& words) {
    for (std::size_t index = 0; index < NamedWords.size(); ++index) {
        if (word.toUpper() != NamedWords[index]) continue;
        word = words.texts[index];
        words.serialUsed = words.serialUsed || index == SerialWord;
    }
    if (const std::optional<SpeedMark> speed = ReadSpeedWord(word)) word = MarkText(*speed);
    if (word.left(RepeatWord.size()).toUpper() == RepeatWord) word = u'<' + word.mid(RepeatWord.size());
    return word;
}

// The mark back to the operator's speed ends the message, before a repeat marker if it has one.
void EndAtOperatorSpeed(QString& expanded) {
    const qsizetype repeat = expanded.indexOf(u'<');
    expanded.insert(repeat < 0 ? expanded.size() : repeat,
                    MarkText(SpeedMark{SpeedMark::Change::BackToOperator, 0}));
}

// The text as the expansion goes along, held so that a pass costs what it changes rather than the
// length of the text: the part before the first "(" is final and moves out, the rest is a stack whose
// top is its first character, and the positions of the rest's brackets are kept in text order.
// Characters a pass removes from the middle stay behind as gaps.
class Expansion {
public:
    explicit Expansion(const QString& text) {
        rest_.reserve(text.size());
        for (qsizetype index = text.size() - 1; index >= 0; --index)
            Push(text[index]);
    }

    // Replaces the first "(" and the first ")" after it, with the word between them, by the word's
    // replacement. Gives how many "(" the replacement has beyond those of the word; nothing when the
    // first ")" comes before the first "(", or either is missing.
    std::optional<qsizetype> ExpandFirstPair(Words& words) {
        if (opens_.empty() || closes_.empty() || closes_.front() > opens_.front()) return std::nullopt;
        const qsizetype open = opens_.front();
        const qsizetype close = closes_.front();
        MoveOutAbove(open);
        const WordStart word = PeekWord(open, close);
        if (word.whole) return Replace(close, word.text, ReplaceMacroWord(word.text, words));
        // Too long for a named macro and no speed word: at most the repeat marker changes the start of
        // the word.
        if (word.text.left(RepeatWord.size()).toUpper() == RepeatWord) {
            rest_[word.positions.front()] = u'<';
            for (qsizetype letter = 1; letter < RepeatWord.size(); ++letter)
                rest_[word.positions[letter]] = Gap;
        }
        rest_.pop_back();
        opens_.pop_front();
        rest_[close] = Gap;
        closes_.pop_front();
        return 0;
    }

    QString Result() && {
        MoveOutAbove(-1);
        return std::move(expanded_);
    }

private:
    static constexpr int Gap = -1;

    struct WordStart {
        QString text; // the whole word, or its first LongestNamedWord + 1 characters or more
        std::vector<qsizetype> positions;
        bool whole = true;
    };

    void Push(QChar character) {
        rest_.push_back(character.unicode());
        const qsizetype position = qsizetype(rest_.size()) - 1;
        if (character == u'(') opens_.push_front(position);
        if (character == u')') closes_.push_front(position);
    }

    void MoveOutAbove(qsizetype position) {
        for (; qsizetype(rest_.size()) - 1 > position; rest_.pop_back())
            if (rest_.back() != Gap) expanded_ += QChar(char16_t(rest_.back()));
    }

    // A speed word may run on in blanks and digits beyond the named words' length. What it reads
    // holds no bracket, so it is replaced, or moves out with the next pass, and is read only once.
    WordStart PeekWord(qsizetype open, qsizetype close) const {
        WordStart word;
        bool maybeSpeedWord = true;
        for (qsizetype position = open - 1; position > close; --position) {
            if (rest_[position] == Gap) continue;
            const QChar character{char16_t(rest_[position])};
            maybeSpeedWord = maybeSpeedWord && FitsSpeedWord(word.text.size(), character);
            if (word.text.size() > LongestNamedWord && !maybeSpeedWord) {
                word.whole = false;
                break;
            }
            word.text += character;
            word.positions.push_back(position);
        }
        return word;
    }

    // The pair and the word between them, at the top of the stack, give way to the replacement.
    qsizetype Replace(qsizetype close, const QString& word, const QString& replacement) {
        rest_.resize(close);
        while (!opens_.empty() && opens_.front() >= close)
            opens_.pop_front();
        closes_.pop_front();
        for (qsizetype index = replacement.size() - 1; index >= 0; --index)
            Push(replacement[index]);
        return replacement.count(u'(') - word.count(u'(');
    }

    QString expanded_; // holds no bracket
    std::vector<int> rest_;
    std::deque<qsizetype> opens_;
    std::deque<qsizetype> closes_;
};

} // namespace

QString ExpandMacros(const QString& text, const MacroValues& values, bool* sendsSerial) {
    Words words{TextsOf(values)};
    Expansion expansion(WithoutMarkCharacters(text));
    qsizetype expansionsLeft = text.count(u'(');
    qsizetype insertedBracketsLeft = MaxInsertedMacroBrackets;
    while (expansionsLeft > 0) {
        const std::optional<qsizetype> broughtIn = expansion.ExpandFirstPair(words);
        if (!broughtIn) break; // no pair to expand: the rest stays as written
        // Each pass removes one "(" and adds those the value brought in, up to the bound.
        const qsizetype earned = std::min(*broughtIn, insertedBracketsLeft);
        insertedBracketsLeft -= earned;
        expansionsLeft += earned - 1;
    }
    QString expanded = std::move(expansion).Result();
    // Only speed marks are made, and the text and values hold no mark of their own.
    if (expanded.contains(InlineMark::Open)) EndAtOperatorSpeed(expanded);
    if (sendsSerial) *sendsSerial = words.serialUsed;
    return expanded;
}
