#pragma once

#include "keyboard/Macros.h"
#include "send/TransmitState.h"

#include <QString>
#include <functional>

class OperatorProfile;
class Prompts;
class RichText;
class Timer;
class WorkedCall;

// What the message editor shows, through the window that owns the controls.
class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    // While a message is chosen or edited the Keyboard window greys, the Sent window and the
    // transmit button rest (paused), and the status line turns to the editor's prompts.
    virtual void ShowEditState(bool editing) = 0;
    virtual void ShowEditStatus(const QString& text) = 0;
    // A message's title box and button show its title and text as the profile holds them.
    virtual void ShowStoredMessage(int number) = 0;
};

// The twelve stored messages: sent into the Keyboard window by their buttons and function keys, and
// edited in place there after Edit > Messages, with Return saving into the operator's profile.
class MessageEditor {
public:
    struct Parts {
        TransmitState& state;
        RichText& keyboard;
        Timer& transmitTimer;
        Timer& monitorTimer;
        Prompts& prompts;
        // The messages, their titles and the operator's identity for the macros.
        OperatorProfile& profile;
        const WorkedCall& workedCall;
        MessageDisplay& display;
        std::function<void()> focusKeyboard;
        // A message put the serial number into the Keyboard window.
        std::function<void()> serialSent;
    };

    explicit MessageEditor(Parts parts) : p_(std::move(parts)) {}

    // A message button: sends the message, or chooses it while messages are being edited.
    void ButtonClicked(int index);
    void SendByKey(int number);
    void EnterEditState();
    void ChooseByKey(int number);
    void Save();
    void Cancel();

private:
    void SendByButton(int number);
    void Choose(int number, const QString& info);
    // The message with its macros expanded as they stand at this moment.
    QString Expanded(int number);
    void ReturnToNormal(const QString& status);

    Parts p_;
};
