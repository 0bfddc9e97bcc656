#pragma once

#include <QString>

// What the macro words of a stored message stand for at the moment it is sent.
struct MacroValues {
    QString operatorCall; // MYCALL
    QString workedCall;   // HISCALL
    QString name;         // NAME
    QString qth;          // QTH
};

// Inserted values are scanned again for macros, so a value that names its own macro (a call such as
// "X(MYCALL)") would expand without end. Every "(" of the message earns one expansion; brackets that
// inserted values bring in earn one each as well, but no more than this many in all.
constexpr qsizetype MaxInsertedMacroBrackets = 256;

// Replaces each "(word)" by its value: MYCALL, HISCALL, NAME and QTH in any letter case by the
// values, a word beginning with REPEAT by "<" and the rest of the word, any other word by itself. A
// "(" that no later ")" closes, or a first ")" standing before the first "(", ends the expansion: the
// text reached so far is returned, unchanged from there on.
QString ExpandMacros(const QString& text, const MacroValues& values);
