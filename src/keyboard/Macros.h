#pragma once

#include "profile/ContestSettings.h"

#include <QString>

// What the macro words of a stored message stand for at the moment it is sent.
struct MacroValues {
    QString operatorCall; // MYCALL
    QString workedCall;   // HISCALL
    QString name;         // NAME
    QString qth;          // QTH
    int serialNumber = 1; // SERIAL, 1 and up
    CutNumbers cutNumbers = CutNumbers::Off;
};

// Inserted values are scanned again for macros, so a value that names its own macro (a call such as
// "X(MYCALL)") would expand without end. Every "(" of the message earns one expansion; brackets that
// inserted values bring in earn one each as well, but no more than this many in all.
constexpr qsizetype MaxInsertedMacroBrackets = 256;

// Replaces each "(word)" by its value, testing the word in any letter case against these, in this
// order, each test on what the ones before left: MYCALL, HISCALL, NAME and QTH by the values; SERIAL
// by the serial number, at least three digits, cut as chosen; 5NN by "5NN"; a speed word by a speed
// mark; a word beginning with REPEAT by "<" and the rest of the word. Any other word gives itself.
// A speed word is WPM, any blanks, then a number (the speed from here on, held to the speed control's
// range) or a sign, any blanks and a number (that much faster or slower, held to the width of that
// range): "(WPM 30)", "(WPM+5)", "(wpm - 2)"; "(WPM)", "(WPM FAST)", "(WPM 30X)" are other words.
// A text whose expansion made a speed mark ends with the mark back to the operator's speed, put
// before the first "<" if there is one, so that a repeat's pause and next round start at that speed.
// The guillemets that marks are written with are dropped from the text and the values: every one the
// result holds belongs to a mark the expansion made.
// A "(" that no later ")" closes, or a first ")" standing before the first "(", ends the expansion: the
// text reached so far is returned, unchanged from there on.
// sendsSerial, when given, tells whether SERIAL put the serial number into the result.
QString ExpandMacros(const QString& text, const MacroValues& values, bool* sendsSerial = nullptr);
