#pragma once

#include "platform/RichText.h"

#include <cstdint>

// State shared by the transmit loop, the Keyboard window's handlers and the message editor.
struct TransmitState {
    // 1-based position in the Keyboard text of the next character to send.
    int sendPosition = 1;
    // When the last character was taken for sending; the next one is timed from here.
    std::int64_t lastSendTick = 0;
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
