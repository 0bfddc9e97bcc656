#include "keyboard/Macros.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr QStringView RepeatWord = u"REPEAT";

// Each test sees the result of the ones before it, so a name "Qth" becomes the location.
QString ReplaceMacroWord(QString word, const MacroValues& values) {
    const std::array<std::pair<QStringView, const QString*>, 4> namedValues{{
        {u"MYCALL", &values.operatorCall},
        {u"HISCALL", &values.workedCall},
        {u"NAME", &values.name},
        {u"QTH", &values.qth},
    }};
    for (const auto& [macroWord, value] : namedValues)
        if (word.toUpper() == macroWord) word = *value;
    if (word.left(RepeatWord.size()).toUpper() == RepeatWord) word = u'<' + word.mid(RepeatWord.size());
    return word;
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
    std::optional<qsizetype> ExpandFirstPair(const MacroValues& values) {
        if (opens_.empty() || closes_.empty() || closes_.front() > opens_.front()) return std::nullopt;
        const qsizetype open = opens_.front();
        const qsizetype close = closes_.front();
        MoveOutAbove(open);
        const WordStart word = PeekWord(open, close);
        if (word.whole) return Replace(close, word.text, ReplaceMacroWord(word.text, values));
        // Too long for a named macro: at most the repeat marker changes the start of the word.
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
    // A longer word cannot be one of the named macros, whose longest is HISCALL.
    static constexpr qsizetype LongestNamedWord = 7;

    struct WordStart {
        QString text; // the whole word, or its first LongestNamedWord + 1 characters
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

    WordStart PeekWord(qsizetype open, qsizetype close) const {
        WordStart word;
        for (qsizetype position = open - 1; position > close; --position) {
            if (rest_[position] == Gap) continue;
            if (word.text.size() > LongestNamedWord) {
                word.whole = false;
                break;
            }
            word.text += QChar(char16_t(rest_[position]));
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

QString ExpandMacros(const QString& text, const MacroValues& values) {
    Expansion expansion(text);
    qsizetype expansionsLeft = text.count(u'(');
    qsizetype insertedBracketsLeft = MaxInsertedMacroBrackets;
    while (expansionsLeft > 0) {
        const std::optional<qsizetype> broughtIn = expansion.ExpandFirstPair(values);
        if (!broughtIn) break; // no pair to expand: the rest stays as written
        // Each pass removes one "(" and adds those the value brought in, up to the bound.
        const qsizetype earned = std::min(*broughtIn, insertedBracketsLeft);
        insertedBracketsLeft -= earned;
        expansionsLeft += earned - 1;
    }
    return std::move(expansion).Result();
}
