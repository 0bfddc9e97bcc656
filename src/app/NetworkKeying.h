#pragma once

#include "network/CwDaemonProtocol.h"
#include "network/ListenAddress.h"
#include "platform/RichText.h"

#include <QHostAddress>
#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

class Clock;
class IniDocument;
class KeyboardHandlers;
class NetworkKeyer;
class NetworkKeyerDialog;
class SettingsPanel;
class Timer;
class TransmitLoop;
struct TransmitState;
class UpDown;
class QWidget;

// The network keyer in the window: loggers key the unit as the operator does. Their text goes in at
// the end of the Keyboard window and out through the transmit loop, their settings move the panel's
// controls, their tune keys the transmitter as ALT does, and a reply they ask for is answered once
// its text is keyed. It listens only once the operator turns it on; the choice is kept in
// Operator.INI. The status line tells where it listens and what it heard last.
class NetworkKeying : public QObject {
    Q_OBJECT
public:
    struct Parts {
        TransmitState& state;
        RichText& keyboard;
        TransmitLoop& loop;
        KeyboardHandlers& keyboardHandlers;
        SettingsPanel& panel;
        Clock& clock;
        // The dialog's owner.
        QWidget& window;
        // The panel's settings go to the unit, as after the operator's change.
        std::function<void()> sendSettings;
        // The profile file the settings were loaded from or last saved into; empty when none was.
        std::function<QString()> profileFile;
        // Note() changed; it was `before`.
        std::function<void(const QString& before)> noteChanged;
    };

    // A text is taken while no more than this much of the Keyboard window, with it, waits unsent.
    static constexpr int MaxWaitingCharacters = 1000;
    // No more datagrams than this are carried out in one span of time; the rest are dropped.
    static constexpr int DatagramsPerSpan = 16;
    static constexpr int SpanMilliseconds = 100;

    explicit NetworkKeying(Parts parts);
    ~NetworkKeying() override;

    // The operator's choice from the state file, listening when it says so.
    void Restore(const IniDocument& stateFile);
    // The choice made in the dialog, if one was made or read.
    void Remember(IniDocument& stateFile) const;
    // Listens for this run only, as the command line asks; why not, when it cannot.
    QString ListenForThisRun(const QString& addressText);
    void ShowDialog();
    // Nothing more is heard; a tune of the network's ends with the window's own release.
    void ShutDown();

    // What the status line adds to the unit's status: where the keyer listens, or why it does not,
    // and what it heard last. Empty while it is off.
    QString Note() const;

private:
    struct Choice {
        bool listen = false;
        ListenAddress where;
    };
    struct Reply {
        QHostAddress address;
        quint16 port = 0;
        QByteArray text;
    };
    struct WaitingReply {
        Reply reply;
        RichText::Place textEnd;
    };

    QString Listen(const ListenAddress& where);
    void Carry(const CwDaemon::Request& request, const QHostAddress& sender, quint16 senderPort);
    bool Admitted();
    void TakeText(const QString& text, const QString& sender);
    void WaitForReply(int textEnd);
    void AnswerKeyedReplies();
    void ApplySetting(const CwDaemon::ChangeSetting& change);
    void ResetToProfile();
    void SetControls(std::initializer_list<std::pair<UpDown*, int>> values);
    void StartTune(int seconds);
    void EndTune();
    void AbortSending();
    void ShowState(const QString& state, const QString& heard = QString());
    void ShowHeard(const QString& heard);

    Parts p_;
    std::unique_ptr<NetworkKeyer> keyer_;
    NetworkKeyerDialog* dialog_ = nullptr;
    std::unique_ptr<Timer> tuneTimer_;
    // The choice for Operator.INI, once one was read or made; and the one in effect, which the dialog
    // offers.
    std::optional<Choice> remembered_;
    Choice wanted_;
    // The reply asked for before the next text, and those whose texts wait in the Keyboard window.
    std::optional<Reply> nextReply_;
    std::deque<WaitingReply> waitingReplies_;
    std::int64_t spanStart_ = 0;
    int carriedInSpan_ = 0;
    long long dropped_ = 0;
    // The parts of Note(): the keyer's state and what it heard last.
    QString state_;
    QString heard_;
};
