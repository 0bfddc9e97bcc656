#pragma once

#include "send/MorseTables.h"
#include "send/SendingStatus.h"
#include "send/TransmitDisplay.h"
#include "send/TransmitState.h"

#include <QString>
#include <functional>

class Clock;
class RichText;
class Timer;
class UnitLink;

// The pacing settings as the panel shows them.
struct Pacing {
    int dotMilliseconds = 48;
    double letterSpace = 2;
    double wordSpace = 6;
};

// Takes the Keyboard window's text one character at a time, hands each to the unit, echoes it into
// the Sent window and waits as long as the unit needs to send it. Runs on the transmit timer; hands
// over to the connection monitor's timer when the unit is missing or nothing has been typed for 3.5 s.
class TransmitLoop {
public:
    struct Parts {
        TransmitState& state;
        RichText& keyboard;
        RichText& sent;
        Timer& transmitTimer;
        Timer& monitorTimer;
        UnitLink& link;
        Clock& clock;
        TransmitDisplay& display;
        SendingStatus& status;
        // True once the window is closing: nothing more of a tick may run.
        const bool& shutDown;
    };

    // A selection start past any text: the end.
    static constexpr int End = 1 << 30;
    static constexpr int IdleMilliseconds = 3500;
    static constexpr int MaxRepeatSeconds = 8191;

    explicit TransmitLoop(Parts parts) : p_(parts) {}

    void SetTables(const MorseTables& tables) { tables_ = tables; }
    void TransmitTick();
    // Text is waiting in the Keyboard window and nothing holds it back but a missing unit.
    bool HasUnsentText() const;

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

private:
    void RunTick();
    bool LetEventsRun();
    void HandOverToMonitor();
    void HoldStatusBanner();
    void HandOverWhenIdle(std::int64_t now);
    void WaitOutRepeat(const QString& text);
    bool RepeatEnded() const;
    void EndSentLine();
    bool SendCharacter(int c);
    void Pace(int c);
    void ColourSentCharacter();

    Parts p_;
    MorseTables tables_{};
    bool ticking_ = false;
};
