#pragma once

#include "send/TransmitDisplay.h"

#include <optional>

// The sending engine's notes in the status line. The transmitter keyed for tuning shows above all
// else until the key is released; a running repeat tells when its next round starts and how to end
// it, and gives way to the unit's status when it ends. A note that something else has written over
// since is left alone.
class SendingStatus {
public:
    explicit SendingStatus(TransmitDisplay& display) : display_(display) {}

    void ShowTuning(bool keyed);
    // A repeat waits; its next round starts in seconds.
    void ShowRepeatWait(int seconds);
    // A repeat sends its text again, with pauseSeconds between its rounds.
    void ShowRepeatRound(int pauseSeconds);
    void EndRepeat();

private:
    void ShowRepeat(const QString& note);
    bool ShowsRepeat() const;

    TransmitDisplay& display_;
    bool tuning_ = false;
    // What the tune sign covers; none when that was the repeat's note, which may have changed since.
    std::optional<StatusLine> beforeTune_;
    std::optional<StatusLine> repeat_;
};
