#pragma once

#include "platform/RichText.h"
#include "send/TransmitState.h"

#include <QObject>
#include <functional>

class Prompts;
class QTextEdit;
class QWidget;
class SendingStatus;
class SharedLink;

// Key codes as the Keyboard window's handlers know them.
namespace KeyCode {
constexpr int None = 0;
constexpr int Backspace = 8;
constexpr int Return = 13;
constexpr int Alt = 18;
constexpr int Escape = 27;
constexpr int Delete = 46;
constexpr int F1 = 112;
constexpr int F12 = 123;
constexpr int Other = 255;
} // namespace KeyCode

// The Keyboard window's key down, key up and change handling on top of the box's own editing: keeps
// the transmit loop going while there is text, keys the transmitter while ALT is held, ends the over
// on ESC, and routes the function keys and the editing keys to the stored messages.
class KeyboardHandlers : public QObject {
    Q_OBJECT
public:
    struct Parts {
        TransmitState& state;
        RichText& sent;
        SharedLink& link;
        Prompts& prompts;
        SendingStatus& status;
    };

    // Makes the Keyboard window in parent; the main window places it.
    KeyboardHandlers(Parts parts, QWidget* parent);

    QTextEdit* window() const { return edit_; }
    RichText& keyboard() { return keyboard_; }

    void KeyDown(int keyCode);
    // Returns the key code, 0 when the key is swallowed.
    int KeyUp(int keyCode);
    void Change();
    // Sends the tune-off command when ALT holds the transmitter keyed.
    void ReleaseTune();

    // The stored messages' operations, by message number 1..12.
    std::function<void(int)> sendMessageByKey;
    std::function<void(int)> chooseMessageByKey;
    std::function<void()> cancelMessageEdit;
    std::function<void()> saveMessageEdit;
    // ESC ends the over as the Stop button does.
    std::function<void()> stopSending;
    // Text came, or the key was released: sending may go on.
    std::function<void()> resumeSending;
    // The key goes down: what is on its way to the unit waits for the release.
    std::function<void()> holdSending;
    // Page Up and Page Down step the speed, as its arrows do (+1 faster, -1 slower).
    std::function<void(int)> stepSpeed;

    static int FromQtKey(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FinishKeyDown();
    static bool IsBareAlt(QEvent* keyEvent);
    static bool IsFunctionKey(QEvent* keyEvent);

    Parts p_;
    QTextEdit* edit_;
    RichText keyboard_;
};
