#pragma once

#include "send/InlineMarks.h"
#include "send/MorseTables.h"
#include "send/SendingStatus.h"
#include "send/SendingThread.h"
#include "send/TransmitDisplay.h"
#include "send/TransmitState.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Clock;
class RichText;
class SharedLink;
class Timer;

// The pacing settings as the panel shows them.
struct Pacing {
    int dotMilliseconds = 48;
    double letterSpace = 2;
    double wordSpace = 6;
};

// Takes the Keyboard window's text one character at a time and hands each to the sending thread,
// which writes it to the unit at its moment: the moment of the character before plus that
// character's length and the letter space (the word space after a space). The loop chooses the next
// character as soon as the one before has gone out, well ahead of its moment, shows it in the Sent
// window and colours it in the Keyboard window. It waits on nothing: the repeat pause and the
// message editor's closing words are timers, so the window answers throughout. When the unit is
// missing, or nothing has been typed for 3.5 s, it hands over to the connection monitor. Marks in the
// text change the speed, leave a half space or key a prosign no key types, at their place in it.
class TransmitLoop {
public:
    struct Parts {
        TransmitState& state;
        RichText& keyboard;
        RichText& sent;
        // Hands the loop over to the connection monitor once nothing has been sent for a while.
        Timer& idleTimer;
        Timer& monitorTimer;
        SharedLink& link;
        Clock& clock;
        TransmitDisplay& display;
        SendingStatus& status;
        // True once the window is closing: nothing more goes out.
        const bool& shutDown;
    };

    static constexpr int IdleMilliseconds = 3500;
    static constexpr int MaxRepeatSeconds = 8191;

    explicit TransmitLoop(Parts parts);
    ~TransmitLoop();

    void SetTables(const MorseTables& tables) { tables_ = tables; }
    // Something happened that may let the next character go: text typed, sending resumed, the unit
    // back, the key released. Hands it over at once when nothing holds it back.
    void Kick();
    // Text is waiting in the Keyboard window and nothing holds it back but a missing unit.
    bool HasUnsentText() const;
    // Takes back the character handed over and not yet written (the key goes down for tuning, the
    // message editor takes the window over): it goes out first when sending resumes.
    void TakeBack();
    // Ends the sending thread; nothing goes out afterwards.
    void ShutDown();

    void TransmitButtonClicked();
    void StopButtonClicked();
    // Ends the over at once, as Stop and Esc do: drops what is not sent yet, ends a repeat and ends
    // the Sent line.
    void Stop();
    void ClearSentButtonClicked();

    // Reads the pacing settings at the moment they are needed.
    std::function<Pacing()> pacing;
    // The Keyboard window's change handling, run when transmitting resumes.
    std::function<void()> runChangeHandling;
    std::function<void()> focusKeyboard;
    // The speed in words per minute as the window holds it, and a new one for it and the unit.
    std::function<int()> speed;
    std::function<void(int)> setSpeed;
    // A character went out and shows in the Sent window.
    std::function<void()> characterWritten;

private:
    // What goes to the unit for one character or prosign, and how the Sent window shows it.
    struct Symbol {
        std::uint8_t code;
        std::uint8_t length; // in dot lengths, or MorseWordSpace for the space
        QString echo;
    };
    struct Taken {
        int ticket;
        Symbol symbol;
        bool cancelled = false;
    };

    bool HeldBack() const;
    bool TakeNext();
    bool TakeMark(const Mark& mark, int length);
    void Hand(const Symbol& symbol, int length);
    void OnReport(const SentReport& report);
    void Echo(const QString& echo);
    std::int64_t IntervalAfter(std::uint8_t length) const;
    void ChangeSpeed(const SpeedMark& mark);
    void RestoreOperatorSpeed();
    void CancelTaken();
    void DropDeletedCharacter();
    void HandOverToMonitor();
    void OnIdleTick();
    void StartRepeatWait();
    void ContinueRepeatWait();
    void NextRound();
    void EndSentLine();

    Parts p_;
    MorseTables tables_{};
    std::unique_ptr<SendingThread> sender_;
    std::unique_ptr<Timer> repeatTimer_;
    std::unique_ptr<Timer> bannerTimer_;
    std::optional<Taken> taken_;
    // The earliest moment the next character may go out: the last one's moment and its length.
    std::int64_t nextMoment_ = 0;
    std::int64_t repeatDue_ = 0;
    bool keyedThisRound_ = false;
    // The operator's speed while marks set another, and the speed they set last.
    std::optional<int> operatorSpeed_;
    int markedSpeed_ = 0;
};
