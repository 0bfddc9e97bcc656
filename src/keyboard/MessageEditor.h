#pragma once

#include "keyboard/Macros.h"
#include "send/TransmitState.h"

#include <QString>
#include <array>
#include <functional>

class Prompts;
class QLineEdit;
class QPushButton;
class QTextEdit;
class RichText;
class Timer;

constexpr int MessageCount = 12;

// The twelve stored messages: sent into the Keyboard window by their buttons and function keys, and
// edited in place there after Edit > Messages, with Return saving into the operator's profile.
class MessageEditor {
public:
    struct Parts {
        TransmitState& state;
        RichText& keyboard;
        QTextEdit* txtSent;
        QLineEdit* txtInfo;
        QPushButton* cmdTx;
        Timer& timer1;
        Timer& timer2;
        Prompts& prompts;
        std::array<QString, MessageCount>& messageTexts;
        std::array<QLineEdit*, MessageCount>& txtMsgTitle;
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
    std::function<QString()> operatorFile;
    // A saved message is in messageTexts and its title box; whatever else shows it follows.
    std::function<void(int number)> messageStored;
    std::function<void(bool)> showTransmitting;
    std::function<void()> focusKeyboard;

private:
    void SendByButton(int number);
    void Choose(int number, const QString& info);
    QString StoredText(int number) const;
    QString TitleFor(const QString& message, int number);
    void ReturnToNormal(const QString& status);

    Parts p_;
};
