#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A text datagram as the Keyboard window's text, which the transmit loop keys as if it were typed.
// The protocol's prosign characters become the window's (* AR "[", = BT ";", < SK "=", ( KN "(",
// & AS "'"), or a mark where the window has no key (! SN); > BK is keyed as the letters B and K, as
// its seven elements do not fit the unit's code byte. A run of + and - becomes one speed mark, 2 wpm
// per sign and 100 at most, before the next keyed character; ~ becomes a half-space mark. A text whose
// speed marks do not add up to no change ends with the mark back to the operator's speed. Letters,
// upper-cased, digits, the space and , . / ? " : @ ) pass; everything else is skipped. A CR or LF
// ends the text. The result holds no repeat marker "<" and no mark the datagram did not ask for.
QString KeyboardTextFromNetwork(QByteArrayView text);

// The length of a Keyboard text up to the end of the last character or prosign it keys: the speed
// and half-space marks after it key nothing.
qsizetype KeyedLength(QStringView keyboardText);
