#include "keyboard/Macros.h"

#include <algorithm>
#include <array>
#include <utility>

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

} // namespace

QString ExpandMacros(const QString& text, const MacroValues& values) {
    QString expanded = text;
    qsizetype expansionsLeft = text.count(u'(');
    qsizetype insertedBracketsLeft = MaxInsertedMacroBrackets;
    while (expansionsLeft > 0) {
        const qsizetype open = expanded.indexOf(u'(');
        const qsizetype close = expanded.indexOf(u')');
        if (open < 0 || close < open) break; // no pair to expand: the rest stays as written
        const QString word = expanded.sliced(open + 1, close - open - 1);
        const QString replacement = ReplaceMacroWord(word, values);
        expanded.replace(open, close - open + 1, replacement);
        const qsizetype broughtIn =
            std::min(replacement.count(u'(') - word.count(u'('), insertedBracketsLeft);
        // Each pass removes one "(" and adds those the value brought in, up to the bound.
        insertedBracketsLeft -= broughtIn;
        expansionsLeft += broughtIn - 1;
    }
    return expanded;
}
