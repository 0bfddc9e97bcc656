#include "send/TransmitLoop.h"

#include "link/KeyerCommands.h"
#include "link/UnitLink.h"
#include "platform/Clock.h"
#include "platform/Colours.h"
#include "platform/NumberText.h"
#include "platform/RichText.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const QString LineBreak = QStringLiteral("\r\n");
constexpr int PollMilliseconds = 10;
constexpr int BannerMilliseconds = 2000;
constexpr int RepeatRoundMilliseconds = 250;
constexpr int RepeatRoundsPerSecond = 1000 / RepeatRoundMilliseconds;
constexpr int ReplyDropsText = 64;

// The character's code as the unit's tables know it; a character beyond 8 bits is none of theirs.
int CharacterCode(QChar character) {
    const int code = character.unicode();
    if (code > 255) return -1;
    return code >= 'a' && code <= 'z' ? code - 32 : code;
}

bool Sendable(int c) {
    return c >= 32 && c <= 91;
}

} // namespace

void TransmitLoop::TransmitTick() {
    // Events run inside a tick; a timer firing among them must not start a second one.
    if (ticking_) return;
    ticking_ = true;
    RunTick();
    ticking_ = false;
}

bool TransmitLoop::LetEventsRun() {
    QCoreApplication::processEvents();
    return !p_.shutDown;
}

void TransmitLoop::RunTick() {
    TransmitState& s = p_.state;
    if (!LetEventsRun()) return;
    FollowKeyboardLength(s, p_.keyboard.Length());
    if (s.tuneActive) return;
    HoldStatusBanner();

    const int length = p_.keyboard.Length();
    s.sendPosition = std::min(s.sendPosition, length + 1);
    if (!s.transmitting) return;

    // Once per restart: doing it on every idle tick would move the caret and repaint the window 100
    // times a second.
    if (s.restartSending) {
        s.restartSending = false;
        s.sendPosition = 1;
        p_.transmitTimer.SetInterval(PollMilliseconds);
        p_.keyboard.SetSelStart(0);
        p_.keyboard.SetSelColor(Colours::Black);
    }
    // The character this tick sends is timed from here, so that discovery does not add to every
    // character.
    const std::int64_t tickStart = p_.clock.TickCount();
    if (!p_.link.FindUnit()) {
        // Nothing can go out: the text stays unsent until the unit answers again.
        HandOverToMonitor();
        return;
    }

    if (s.sendPosition > p_.keyboard.Length()) {
        // The text ran out without reaching a repeat marker.
        p_.status.EndRepeat();
        HandOverWhenIdle(p_.clock.TickCount());
        return;
    }
    s.lastSendTick = tickStart;
    if (!LetEventsRun()) return;
    // The text as it stands after the events, which may have edited it.
    const QString text = p_.keyboard.Text();
    if (s.sendPosition > text.size()) return;
    const int c = CharacterCode(text.at(s.sendPosition - 1));

    if (c == '<') {
        WaitOutRepeat(text);
        return;
    }
    if (Sendable(c)) {
        if (!SendCharacter(c)) return;
    } else if (c == '\r' && s.sendPosition == 1 && text.size() == 2) {
        // An empty line: nothing to send, nothing to echo.
        EmptyKeyboard(p_.keyboard, p_.state);
    } else {
        // Line breaks and characters the unit has no code for end the Sent line.
        ++s.sendPosition;
        p_.transmitTimer.SetInterval(PollMilliseconds);
        p_.sent.Append(LineBreak);
        return;
    }
    Pace(c);
    ColourSentCharacter();
}

bool TransmitLoop::HasUnsentText() const {
    const TransmitState& s = p_.state;
    if (s.messageEditMode || !s.transmitting) return false;
    return (s.restartSending ? 1 : s.sendPosition) <= p_.keyboard.Length();
}

void TransmitLoop::HandOverToMonitor() {
    p_.transmitTimer.SetEnabled(false);
    p_.monitorTimer.SetEnabled(true);
}

// The message editor's closing words stay readable for a moment before the unit's status returns.
void TransmitLoop::HoldStatusBanner() {
    if (!p_.display.ShowsClosingWords()) return;
    p_.clock.Sleep(BannerMilliseconds);
    p_.display.ShowUnitStatus();
}

void TransmitLoop::HandOverWhenIdle(std::int64_t now) {
    const TransmitState& s = p_.state;
    p_.transmitTimer.SetInterval(PollMilliseconds);
    if (now - s.lastSendTick <= IdleMilliseconds) return;
    HandOverToMonitor();
    EndSentLine();
    EmptyKeyboard(p_.keyboard, p_.state);
}

// "<n" makes the whole Keyboard text go out again after n seconds, until the operator stops it.
void TransmitLoop::WaitOutRepeat(const QString& text) {
    TransmitState& s = p_.state;
    const long long seconds = RoundHalfEven(ParseLeadingNumber(text.mid(s.sendPosition)));
    s.repeatSeconds = static_cast<int>(std::clamp<long long>(seconds, 0, MaxRepeatSeconds));
    const int pauseSeconds = s.repeatSeconds;
    for (int round = pauseSeconds * RepeatRoundsPerSecond; round > 0; --round) {
        // A part of a second left counts as a whole one: the countdown reaches 1, never 0.
        p_.status.ShowRepeatWait((round + RepeatRoundsPerSecond - 1) / RepeatRoundsPerSecond);
        p_.clock.Sleep(RepeatRoundMilliseconds);
        if (!LetEventsRun()) return;
        if (RepeatEnded()) {
            p_.status.EndRepeat();
            return;
        }
    }
    s.sendPosition = 1;
    p_.keyboard.SetSelStart(0);
    EndSentLine();
    p_.status.ShowRepeatRound(pauseSeconds);
}

// Stop and Esc end a repeat; so do emptying the text, which leaves nothing to repeat, and the message
// editor, which takes the Keyboard window over.
bool TransmitLoop::RepeatEnded() const {
    const TransmitState& s = p_.state;
    return s.repeatSeconds == 0 || s.messageEditMode || p_.keyboard.Length() == 0;
}

// An over that ends starts a new line in the Sent window; a line already ended stays as it is.
void TransmitLoop::EndSentLine() {
    if (!p_.sent.OnEmptyLine()) p_.sent.Append(LineBreak);
    p_.sent.SetSelStart(End);
}

// A character counts as sent, and shows in the Sent window, only once its command went out whole.
// False when it did not, or when the unit's reply (a paddle break-in) dropped the rest of the text.
// One refused because the key went down meanwhile goes out on the first tick after the release.
bool TransmitLoop::SendCharacter(int c) {
    TransmitState& s = p_.state;
    const int index = c - MorseTableFirstCharacter;
    if (!p_.link.WriteReport(SendCharacterCommand(tables_.MorseCodeTable[index]))) {
        if (!p_.link.keyDown()) HandOverToMonitor();
        return false;
    }
    // What went out, as the operator would type it: a prosign shows as its key.
    p_.sent.Append(QString(QChar(tables_.SentEchoTable[index])));
    p_.sent.SetSelStart(End);
    p_.link.ReadReport();
    if (p_.link.receiveBuffer()[1] > ReplyDropsText) {
        // The operator broke in with the paddles: the over is over.
        Stop();
        p_.transmitTimer.SetEnabled(true);
        p_.monitorTimer.SetEnabled(false);
        return false;
    }
    ++s.sendPosition;
    return true;
}

// The next character is timed from the moment this one was taken, so the time spent talking to the
// unit does not add to every character. A pause that comes out at nothing or less still ticks.
void TransmitLoop::Pace(int c) {
    if (c < 32 || c > 91) return;
    const Pacing settings = pacing();
    const double dotLengths =
        c == ' ' ? settings.wordSpace - settings.letterSpace
                 : tables_.MorseLengthTable[c - MorseTableFirstCharacter] + settings.letterSpace;
    const long long ideal = RoundHalfEven(dotLengths * settings.dotMilliseconds);
    const long long spent = p_.clock.TickCount() - p_.state.lastSendTick;
    p_.transmitTimer.SetInterval(static_cast<int>(std::clamp<long long>(ideal - spent, 1, 1 << 30)));
}

// The character just sent turns red; the operator's caret goes back where the operator left it.
void TransmitLoop::ColourSentCharacter() {
    const int position = p_.state.sendPosition;
    p_.keyboard.SetSelStart(position > 1 ? position - 2 : 0);
    p_.keyboard.SetSelLength(1);
    p_.keyboard.SetSelColor(Colours::Red);
    p_.keyboard.SetSelStart(position - 1);
    p_.keyboard.SetSelLength(End);
    p_.keyboard.SetSelColor(Colours::Black);
    p_.sent.SetSelStart(End);
    p_.keyboard.SetSelStart(p_.state.caretPosition);
    p_.keyboard.SetSelColor(Colours::Black);
}

void TransmitLoop::TransmitButtonClicked() {
    TransmitState& s = p_.state;
    if (!s.messageEditMode) {
        s.transmitting = !s.transmitting;
        p_.display.ShowTransmitting(s.transmitting);
        if (s.transmitting) runChangeHandling();
    }
    focusKeyboard();
}

void TransmitLoop::StopButtonClicked() {
    Stop();
    focusKeyboard();
}

void TransmitLoop::Stop() {
    // A repeat waiting for its next round sees this among the events it lets run.
    p_.state.repeatSeconds = 0;
    EmptyKeyboard(p_.keyboard, p_.state);
    EndSentLine();
    p_.status.EndRepeat();
}

void TransmitLoop::ClearSentButtonClicked() {
    p_.sent.SetText(QString());
    focusKeyboard();
}
