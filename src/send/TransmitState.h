#pragma once

#include "platform/RichText.h"

#include <algorithm>
#include <cstdint>

// State shared by the transmit loop, the Keyboard window's handlers and the message editor.
struct TransmitState {
    // 1-based position in the Keyboard text of the next character to send.
    int sendPosition = 1;
    // When the last character was taken for sending; the next one is timed from here.
    std::int64_t lastSendTick = 0;
    // The transmit button's state: false while paused, when typing only accumulates.
    bool transmitting = true;
    // The next tick starts again at the first character of the Keyboard window.
    bool restartSending = false;
    // ALT is held: the unit is keyed and nothing else is sent.
    bool tuneActive = false;
    // Seconds of the repeat pause being waited out; 0 ends the wait.
    int repeatSeconds = 0;
    // Where the operator's caret belongs in the Keyboard window, and the text length last recorded.
    int caretPosition = 0;
    int keyboardLength = 0;
    bool caretGrew = false;
    bool caretShrank = false;
    // A stored message is being chosen (number 0) or edited.
    bool messageEditMode = false;
    int messageEditNumber = 0;
};

// The caret bookkeeping that a key press starts and the change of the text completes: once the text
// has its new length, the operator's caret follows the growth or the shrinking.
inline void FollowKeyboardLength(TransmitState& state, int length) {
    if (state.caretGrew) {
        state.caretGrew = false;
        state.caretPosition += length - state.keyboardLength;
        state.keyboardLength = length;
    }
    if (state.caretShrank) {
        state.caretPosition -= state.keyboardLength - length;
        state.caretShrank = false;
    }
    state.keyboardLength = length;
}

// An edit of the Keyboard text at position (0-based) that replaced removed characters by added ones.
// What has gone out stays gone out: deleting sent text never makes the loop skip unsent text, and
// text put among what was already sent cannot go out in order, so it is passed over.
inline void FollowKeyboardEdit(TransmitState& state, int position, int removed, int added) {
    const int sent = state.sendPosition - 1;
    if (sent <= position) return;
    if (sent >= position + removed) {
        state.sendPosition += added - removed;
    } else {
        state.sendPosition = position + std::min(added, sent - position) + 1;
    }
}

// Empties the Keyboard window. Whatever is typed next goes out from its first character, and the
// operator's caret starts again at the beginning of the empty text.
inline void EmptyKeyboard(RichText& keyboard, TransmitState& state) {
    keyboard.SetText(QString());
    state.restartSending = true;
    state.caretPosition = 0;
    state.keyboardLength = 0;
    state.caretGrew = false;
    state.caretShrank = false;
}
