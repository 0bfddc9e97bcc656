#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <variant>

// Stored messages and the network keyer write marks into the Keyboard window's text where something
// other than a character is to happen at that point: the speed changes, a half space is left, or a
// prosign that no key types is keyed. A mark shows as a word between single guillemets ("‹30›"),
// which no key of the window types, and never reaches the unit as a character.
namespace InlineMark {
constexpr QChar Open = u'\u2039';
constexpr QChar Close = u'\u203A';
} // namespace InlineMark

struct SpeedMark {
    enum class Change {
        To,             // "‹30›": this speed from here on
        By,             // "‹+5›", "‹-2›": faster or slower by this many words per minute
        BackToOperator, // "‹›": the speed the operator had set before the marks
    };
    Change change = Change::To;
    int wordsPerMinute = 0;

    bool operator==(const SpeedMark&) const = default;
};

// "‹~›": half a letter space more after the character before it.
struct HalfSpaceMark {
    bool operator==(const HalfSpaceMark&) const = default;
};

// "‹SN›": a prosign keyed as one character although no key types it.
struct ProsignMark {
    QString name;

    bool operator==(const ProsignMark&) const = default;
};

using Mark = std::variant<SpeedMark, HalfSpaceMark, ProsignMark>;

QString MarkText(const Mark& mark);

struct FoundMark {
    Mark mark;
    qsizetype length = 0; // characters of the text the mark takes, guillemets included
};

// The mark that starts at position; nothing when the text there is not a whole, well-formed mark.
std::optional<FoundMark> ReadMark(QStringView text, qsizetype position);
