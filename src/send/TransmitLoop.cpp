#include "send/TransmitLoop.h"

#include "link/KeyerCommands.h"
#include "platform/Clock.h"
#include "platform/Colours.h"
#include "platform/NumberText.h"
#include "platform/RichText.h"

#include <algorithm>
#include <cmath>

namespace {

const QString LineBreak = QStringLiteral("\r\n");
constexpr int BannerMilliseconds = 2000;
constexpr int RepeatRoundMilliseconds = 250;
constexpr int ReplyDropsText = 64;
// Enough of the text after a repeat marker for any number of seconds it can hold.
constexpr int RepeatNumberLength = 24;
// Longer than any mark.
constexpr int MarkLookahead = 16;
constexpr int SlowestSpeed = 5;
constexpr int FastestSpeed = 50;
// A Sent line this long goes on on a new line after the next space; twice as long, at the next character.
constexpr int SentLineLength = 300;

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

TransmitLoop::TransmitLoop(Parts parts)
    : p_(parts), sender_(std::make_unique<SendingThread>(
                     p_.link, p_.clock, [this](const SentReport& report) { OnReport(report); })),
      repeatTimer_(p_.clock.CreateTimer(RepeatRoundMilliseconds, false)),
      bannerTimer_(p_.clock.CreateTimer(BannerMilliseconds, false)) {
    p_.idleTimer.onTick = [this] { OnIdleTick(); };
    repeatTimer_->onTick = [this] { ContinueRepeatWait(); };
    bannerTimer_->onTick = [this] {
        bannerTimer_->SetEnabled(false);
        p_.display.ShowUnitStatus();
        Kick();
    };
}

TransmitLoop::~TransmitLoop() = default;

bool TransmitLoop::HeldBack() const {
    const TransmitState& s = p_.state;
    return taken_ || !sender_ || s.tuneActive || !s.transmitting || s.messageEditMode ||
           repeatTimer_->Enabled() || bannerTimer_->Enabled();
}

void TransmitLoop::Kick() {
    DropDeletedCharacter();
    if (HeldBack()) return;
    // The message editor's closing words stay readable for a moment before sending goes on.
    if (p_.display.ShowsClosingWords()) {
        bannerTimer_->SetEnabled(true);
        return;
    }
    while (TakeNext()) {
    }
}

// Looks at the next character of the Keyboard window; true when it was passed over and the one after
// it is to be looked at.
bool TransmitLoop::TakeNext() {
    TransmitState& s = p_.state;
    if (s.restartSending) {
        s.restartSending = false;
        s.sendPosition = 1;
        p_.keyboard.ShowColouredUpTo(0, Colours::Red);
    }
    const int length = p_.keyboard.Length();
    s.sendPosition = std::min(s.sendPosition, length + 1);
    if (s.sendPosition > length) {
        // The text ran out without reaching a repeat marker: idle until the hand-over.
        p_.status.EndRepeat();
        OnIdleTick();
        return false;
    }
    const QChar character = p_.keyboard.At(s.sendPosition - 1);
    if (character == InlineMark::Open) {
        if (const auto found = ReadMark(p_.keyboard.Mid(s.sendPosition - 1, MarkLookahead), 0))
            return TakeMark(found->mark, static_cast<int>(found->length));
    }
    const int c = CharacterCode(character);
    if (c == '<') {
        StartRepeatWait();
        return false;
    }
    if (Sendable(c)) {
        const int index = c - MorseTableFirstCharacter;
        Hand({tables_.MorseCodeTable[index], tables_.MorseLengthTable[index],
              QString(QChar(tables_.SentEchoTable[index]))},
             1);
        return false;
    }
    if (character == u'\r' && s.sendPosition == 1 && length == 2) {
        // An empty line: nothing to send, nothing to echo.
        EmptyKeyboard(p_.keyboard, s);
        return true;
    }
    // Line breaks and characters the unit has no code for end the Sent line.
    ++s.sendPosition;
    p_.sent.Append(LineBreak);
    return true;
}

// A mark acts where it stands, once everything before it has gone out; true when the text after it is
// to be looked at.
bool TransmitLoop::TakeMark(const Mark& mark, int length) {
    TransmitState& s = p_.state;
    if (const auto* prosign = std::get_if<ProsignMark>(&mark)) {
        const auto named = ProsignNamed(prosign->name.toStdString());
        if (!named) return false;
        Hand({named->code, named->length, MarkText(mark)}, length);
        return false;
    }
    if (const auto* change = std::get_if<SpeedMark>(&mark)) {
        ChangeSpeed(*change);
    } else {
        const Pacing settings = pacing();
        nextMoment_ += RoundHalfEven(settings.letterSpace * settings.dotMilliseconds / 2);
    }
    s.sendPosition += length;
    return true;
}

// The message's speed from here on, held to the window's range; one settings transfer per change.
// "Back" returns to the speed the operator had, unless the operator has set another meanwhile.
void TransmitLoop::ChangeSpeed(const SpeedMark& mark) {
    const int current = speed();
    if (mark.change == SpeedMark::Change::BackToOperator) return RestoreOperatorSpeed();
    if (!operatorSpeed_) operatorSpeed_ = current;
    const int target =
        std::clamp(mark.change == SpeedMark::Change::To ? mark.wordsPerMinute : current + mark.wordsPerMinute,
                   SlowestSpeed, FastestSpeed);
    markedSpeed_ = target;
    if (target != current) setSpeed(target);
}

void TransmitLoop::RestoreOperatorSpeed() {
    const std::optional<int> operatorSpeed = std::exchange(operatorSpeed_, std::nullopt);
    if (operatorSpeed && speed() == markedSpeed_ && *operatorSpeed != markedSpeed_) setSpeed(*operatorSpeed);
}

// Chosen now, ahead of its moment: the moment of the one before and that one's length, or at once
// after a pause.
void TransmitLoop::Hand(const Symbol& symbol, int length) {
    TransmitState& s = p_.state;
    const std::int64_t moment = std::max(p_.clock.TickCount(), nextMoment_);
    s.takenPosition = s.sendPosition - 1;
    s.sendPosition += length;
    taken_ = Taken{sender_->Hand(SendCharacterCommand(symbol.code), moment, true), symbol};
    p_.idleTimer.SetEnabled(false);
}

// A character counts as sent, and shows in the Sent window, only once its command went out whole.
void TransmitLoop::OnReport(const SentReport& report) {
    if (!taken_ || report.ticket != taken_->ticket) return;
    const Taken taken = *std::exchange(taken_, std::nullopt);
    TransmitState& s = p_.state;
    const bool textStands = !taken.cancelled && !s.restartSending;
    if (!report.written) {
        // Not sent: it goes out first when sending resumes, unless the operator deleted it meanwhile.
        if (textStands && s.takenPosition >= 0) s.sendPosition = s.takenPosition + 1;
        s.takenPosition = -1;
        if (taken.cancelled) {
            EndSentLine();
            Kick();
        } else if (!s.tuneActive) {
            // Refused while the key was down it goes out after the release; otherwise the unit is gone.
            HandOverToMonitor();
        }
        return;
    }
    Echo(taken.symbol.echo);
    s.takenPosition = -1;
    s.lastSendTick = report.moment;
    nextMoment_ = report.moment + IntervalAfter(taken.symbol.length);
    keyedThisRound_ = true;
    characterWritten();
    if (taken.cancelled) {
        // The over ended while this character was on its way: its line ends after it.
        EndSentLine();
        Kick();
    } else if (report.reply > ReplyDropsText) {
        // The operator broke in with the paddles: the over is over.
        Stop();
    } else {
        if (textStands) p_.keyboard.ShowColouredUpTo(s.sendPosition - 1, Colours::Red);
        Kick();
    }
}

// What went out, as the operator would type it: a prosign shows as its key. A long over goes on on new
// lines, after the space that ends a word: a line that long is never read as one, and laying it out
// again for each character would cost more as it grew.
void TransmitLoop::Echo(const QString& echo) {
    if (p_.sent.LastLineLength() >= 2 * SentLineLength) p_.sent.Append(LineBreak);
    p_.sent.Append(echo);
    if (echo == QLatin1String(" ") && p_.sent.LastLineLength() > SentLineLength) p_.sent.Append(LineBreak);
    p_.sent.SetSelStart(RichText::End);
}

// How long the unit takes over the character and the space after it. A pause that comes out at
// nothing or less still lets the next character go after it.
std::int64_t TransmitLoop::IntervalAfter(std::uint8_t length) const {
    const Pacing settings = pacing();
    const double dotLengths =
        length == MorseWordSpace ? settings.wordSpace - settings.letterSpace : length + settings.letterSpace;
    return std::clamp<long long>(RoundHalfEven(dotLengths * settings.dotMilliseconds), 1, 1 << 30);
}

bool TransmitLoop::HasUnsentText() const {
    const TransmitState& s = p_.state;
    if (s.messageEditMode || !s.transmitting) return false;
    return (s.restartSending ? 1 : s.sendPosition) <= p_.keyboard.Length();
}

void TransmitLoop::TakeBack() {
    if (!taken_ || !sender_->CancelPending()) return;
    // Dropped before its moment: it goes out first after the release.
    TransmitState& s = p_.state;
    if (!s.restartSending && s.takenPosition >= 0) s.sendPosition = s.takenPosition + 1;
    s.takenPosition = -1;
    taken_.reset();
}

// The character handed over is dropped unless it is on its way already; then it is marked, and its
// report ends the over.
void TransmitLoop::CancelTaken() {
    if (!taken_) return;
    if (sender_->CancelPending()) {
        taken_.reset();
    } else {
        taken_->cancelled = true;
    }
}

// The operator deleted the character handed over before it went out: it does not go out.
void TransmitLoop::DropDeletedCharacter() {
    const TransmitState& s = p_.state;
    if (taken_ && !taken_->cancelled && s.takenPosition < 0 && !s.restartSending && sender_->CancelPending())
        taken_.reset();
}

void TransmitLoop::ShutDown() {
    sender_.reset();
    RestoreOperatorSpeed();
    taken_.reset();
    repeatTimer_->SetEnabled(false);
    bannerTimer_->SetEnabled(false);
}

void TransmitLoop::HandOverToMonitor() {
    p_.idleTimer.SetEnabled(false);
    p_.monitorTimer.SetEnabled(true);
}

// Nothing to send: once nothing has gone out for 3.5 s the Keyboard window is cleared and the
// connection monitor takes over.
void TransmitLoop::OnIdleTick() {
    const TransmitState& s = p_.state;
    p_.idleTimer.SetEnabled(false);
    if (HeldBack()) return;
    if (HasUnsentText()) return Kick();
    const std::int64_t remaining = s.lastSendTick + IdleMilliseconds + 1 - p_.clock.TickCount();
    if (remaining > 0) {
        p_.idleTimer.SetInterval(static_cast<int>(std::min<std::int64_t>(remaining, IdleMilliseconds + 1)));
        p_.idleTimer.SetEnabled(true);
        return;
    }
    HandOverToMonitor();
    EndSentLine();
    EmptyKeyboard(p_.keyboard, p_.state);
    RestoreOperatorSpeed();
}

// "<n" makes the whole Keyboard text go out again n seconds after the last character's length ran
// out, until the operator stops it. A round that keyed nothing waits a moment all the same, so that
// a text of nothing but the marker never spins.
void TransmitLoop::StartRepeatWait() {
    TransmitState& s = p_.state;
    const QString number = p_.keyboard.Mid(s.sendPosition, RepeatNumberLength);
    s.repeatSeconds = static_cast<int>(
        std::clamp<long long>(RoundHalfEven(ParseLeadingNumber(number)), 0, MaxRepeatSeconds));
    const std::int64_t now = p_.clock.TickCount();
    repeatDue_ = std::max(now + (keyedThisRound_ ? 0 : 1), nextMoment_) + s.repeatSeconds * 1000LL;
    ContinueRepeatWait();
}

void TransmitLoop::ContinueRepeatWait() {
    const TransmitState& s = p_.state;
    repeatTimer_->SetEnabled(false);
    // The message editor takes the Keyboard window over; an emptied text has nothing to repeat.
    if (s.messageEditMode || p_.keyboard.Length() == 0) {
        p_.status.EndRepeat();
        return;
    }
    const std::int64_t remaining = repeatDue_ - p_.clock.TickCount();
    if (remaining <= 0) return NextRound();
    // A part of a second left counts as a whole one: the countdown reaches 1, never 0. The length of
    // the last character before the marker is not part of the pause it shows.
    if (s.repeatSeconds > 0)
        p_.status.ShowRepeatWait(std::min(static_cast<int>((remaining + 999) / 1000), s.repeatSeconds));
    repeatTimer_->SetInterval(static_cast<int>(std::min<std::int64_t>(remaining, RepeatRoundMilliseconds)));
    repeatTimer_->SetEnabled(true);
}

void TransmitLoop::NextRound() {
    TransmitState& s = p_.state;
    s.sendPosition = 1;
    keyedThisRound_ = false;
    p_.keyboard.ShowColouredUpTo(0, Colours::Red);
    EndSentLine();
    p_.status.ShowRepeatRound(s.repeatSeconds);
    Kick();
}

// An over that ends starts a new line in the Sent window; a line already ended stays as it is.
void TransmitLoop::EndSentLine() {
    if (p_.sent.LastLineLength() > 0) p_.sent.Append(LineBreak);
    p_.sent.SetSelStart(RichText::End);
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
    p_.state.repeatSeconds = 0;
    repeatTimer_->SetEnabled(false);
    p_.status.EndRepeat();
    CancelTaken();
    EmptyKeyboard(p_.keyboard, p_.state);
    if (!taken_) EndSentLine();
    RestoreOperatorSpeed();
    Kick();
}

void TransmitLoop::ClearSentButtonClicked() {
    p_.sent.SetText(QString());
    focusKeyboard();
}
