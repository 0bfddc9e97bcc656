#pragma once

#include "keyboard/Macros.h"
#include "send/TransmitState.h"

#include <QString>
#include <array>
#include <functional>

class Prompts;
class RichText;
class Timer;

constexpr int MessageCount = 12;

// What the message editor shows, through the window that owns the controls.
class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    // While a message is chosen or edited the Keyboard window greys, the Sent window and the
    // transmit button rest (paused), and the status line turns to the editor's prompts.
    virtual void ShowEditState(bool editing) = 0;
    virtual void ShowEditStatus(const QString& text) = 0;
    // The title boxes hold the titles; a saved message shows in its title box and its button.
    virtual QString MessageTitle(int number) const = 0;
    virtual void ShowStoredMessage(int number, const QString& title) = 0;
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
        std::array<QString, MessageCount>& messageTexts;
        MessageDisplay& display;
    };

    explicit MessageEditor(Parts parts) : p_(parts) {}

    // A message button: sends the message, or chooses it while messages are being edited.
    void ButtonClicked(int index);
    void SendByKey(int number);
    void EnterEditState();
    void ChooseByKey(int number);
    void Save();
    void Cancel();

    // The macro values at the moment of expansion, the operator's call refreshed from its label.
    std::function<MacroValues()> macroValues;
    // A message put the serial number into the Keyboard window.
    std::function<void()> serialSent;
    std::function<QString()> operatorFile;
    std::function<void()> focusKeyboard;

private:
    void SendByButton(int number);
    QString Expanded(int number);
    void Choose(int number, const QString& info);
    QString StoredText(int number) const;
    QString TitleFor(const QString& message, int number);
    void ReturnToNormal(const QString& status);

    Parts p_;
};
