#pragma once

#include "platform/RichText.h"

#include <algorithm>
#include <cstdint>

// State shared by the transmit loop, the Keyboard window's handlers and the message editor.
struct TransmitState {
    // 1-based position in the Keyboard text of the next character to send.
    int sendPosition = 1;
    // The moment the last character went out; the next one is timed from here.
    std::int64_t lastSendTick = 0;
    // The transmit button's state: false while paused, when typing only accumulates.
    bool transmitting = true;
    // The next character to go out is the first of the Keyboard window.
    bool restartSending = false;
    // ALT is held: the unit is keyed and nothing else is sent.
    bool tuneActive = false;
    // 0-based position of the character handed to the sending thread whose report has not come yet;
    // -1 when there is none, or when the text it came from was edited away or emptied meanwhile.
    int takenPosition = -1;
    // Seconds of the repeat pause being waited out; 0 ends the wait.
    int repeatSeconds = 0;
    // A stored message is being chosen (number 0) or edited.
    bool messageEditMode = false;
    int messageEditNumber = 0;
};

// An edit of the Keyboard text at position (0-based) that replaced removed characters by added ones.
// What has gone out stays gone out: deleting sent text never makes the loop skip unsent text, and
// text put among what was already sent cannot go out in order, so it is passed over.
inline void FollowKeyboardEdit(TransmitState& state, int position, int removed, int added) {
    if (state.takenPosition >= position)
        state.takenPosition =
            state.takenPosition >= position + removed ? state.takenPosition + added - removed : -1;
    const int sent = state.sendPosition - 1;
    if (sent <= position) return;
    if (sent >= position + removed) {
        state.sendPosition += added - removed;
    } else {
        state.sendPosition = position + std::min(added, sent - position) + 1;
    }
}

// The Keyboard text before this position (0-based) has gone out or was passed over; from here on
// nothing has, the character on its way to the unit included.
inline int HandledUpTo(const TransmitState& state) {
    if (state.restartSending) return 0;
    return state.takenPosition >= 0 ? state.takenPosition : state.sendPosition - 1;
}

// Empties the Keyboard window. Whatever is typed next goes out from its first character.
inline void EmptyKeyboard(RichText& keyboard, TransmitState& state) {
    keyboard.SetText(QString());
    state.restartSending = true;
    state.takenPosition = -1;
}
