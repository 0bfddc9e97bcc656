#pragma once

#include <QString>

class IniDocument;

// Contest operating: the serial number a stored message sends with (SERIAL), and how its digits are
// keyed. A profile keeps them in a section of their own, "[Contest]", which older versions pass by.

// Cut numbers key some digits of a serial number as the letters that share their rhythm's place:
// 0 as T and 9 as N, and with the third choice 1 as A too.
enum class CutNumbers {
    Off,
    ZeroNine,
    ZeroNineOne,
};

// The serial number goes up when the next worked call is confirmed, but only once the number has
// gone out in a message: a number is never given to two stations, and none is skipped because a call
// was corrected before the exchange.
constexpr int LargestSerialNumber = 999'999'999;

struct ContestSettings {
    int serial = 1;          // the number the next (SERIAL) sends
    bool serialSent = false; // a message has sent it since it was set
    CutNumbers cutNumbers = CutNumbers::Off;

    bool operator==(const ContestSettings&) const = default;
};

struct SerialRead {
    int serial = 1;
    bool damaged = false; // the stored text was no serial number; say so once
};

// The stored serial number: a whole number from 1 up, in plain digits, is taken. An empty text is the
// first serial, 1; anything else (zero, a sign, a fraction, letters, more than an int holds) is 1 as
// well and reads as damaged.
SerialRead ReadSerialNumber(const QString& text);

struct ContestRead {
    ContestSettings settings;
    bool serialDamaged = false;
};

// A missing section or key gives the defaults; cut numbers other than the exact texts "TN" and
// "TNA" are off, a serial sent only when "YES"; a serial past LargestSerialNumber is held to it.
ContestRead ReadContestSection(const IniDocument& document);
void PutContestSection(IniDocument& document, const ContestSettings& settings);
