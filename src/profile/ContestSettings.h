#pragma once

#include <QString>

// Contest operating: the serial number a stored message sends with (SERIAL), and how its digits are
// keyed.

// Cut numbers key some digits of a serial number as the letters that share their rhythm's place:
// 0 as T and 9 as N, and with the third choice 1 as A too.
enum class CutNumbers {
    Off,
    ZeroNine,
    ZeroNineOne,
};

struct SerialRead {
    int serial = 1;
    bool damaged = false; // the stored text was no serial number; say so once
};

// The stored serial number: a whole number from 1 up, in plain digits, is taken. An empty text is the
// first serial, 1; anything else (zero, a sign, a fraction, letters, more than an int holds) is 1 as
// well and reads as damaged.
SerialRead ReadSerialNumber(const QString& text);
