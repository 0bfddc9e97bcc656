#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <variant>

// cwdaemon's UDP protocol, which loggers use to send CW: a datagram is text to key, or an ESC, a
// letter and the request's value. Reading one needs nothing but its bytes; what a request does to the
// window is the window's business.
namespace CwDaemon {

// The protocol's documentation sets no limit. A logger's longest line fits well within this; a longer
// datagram is refused whole, so that no part of it is keyed.
constexpr qsizetype MaxDatagramBytes = 256;
constexpr char Escape = '\x1b';

// Text to key, already in the Keyboard window's form (KeyboardTextFromNetwork). It is empty when
// nothing in the datagram can be keyed.
struct SendText {
    QString keyboardText;
    bool operator==(const SendText&) const = default;
};

// <ESC>0: back to the operator's profile values.
struct Reset {
    bool operator==(const Reset&) const = default;
};

// <ESC>4: drop what the network queued and stop sending at once.
struct Abort {
    bool operator==(const Abort&) const = default;
};

enum class Setting { Speed, Tone, Weight, Volume };

// <ESC>2 speed (wpm), <ESC>3 tone (Hz; 0 silences), <ESC>7 weight, <ESC>g volume (%): a value
// within the protocol's range, as sent. WindowSettings.h says where it lands on the window.
struct ChangeSetting {
    Setting setting;
    int value;
    bool operator==(const ChangeSetting&) const = default;
};

// <ESC>c: key the transmitter for this many seconds, 0..MaxTuneSeconds.
struct Tune {
    int seconds;
    bool operator==(const Tune&) const = default;
};
constexpr int MaxTuneSeconds = 10;

// <ESC>h: once the next text is keyed in full, answer "h" + this text to the sender.
struct AskReply {
    QByteArray text;
    bool operator==(const AskReply&) const = default;
};

// A request that means nothing for this unit (PTT, keying device, sound system, ...), by name.
// Exit is one of them: a logger never ends the program.
struct Ignored {
    QString request;
    bool operator==(const Ignored&) const = default;
};

// Not a request to carry out, with the reason in words for the status line.
struct Refused {
    QString reason;
    bool operator==(const Refused&) const = default;
};

// An empty datagram.
struct Nothing {
    bool operator==(const Nothing&) const = default;
};

using Request =
    std::variant<Nothing, SendText, Reset, Abort, ChangeSetting, Tune, AskReply, Ignored, Refused>;

// The request a datagram makes. A value outside its request's range is refused, as cwdaemon does,
// except that tune times above MaxTuneSeconds are held there. A value is an optional sign and decimal
// digits, with blanks and line ends around them; magnitudes beyond 999999999 are held there. A
// request that takes no value ignores what follows its letter.
Request ParseDatagram(QByteArrayView datagram);

} // namespace CwDaemon
