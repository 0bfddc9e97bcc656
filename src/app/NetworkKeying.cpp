#include "app/NetworkKeying.h"

#include "keyboard/KeyboardHandlers.h"
#include "network/NetworkKeyer.h"
#include "network/NetworkKeyerDialog.h"
#include "network/NetworkText.h"
#include "network/WindowSettings.h"
#include "platform/Clock.h"
#include "platform/WindowPlacement.h"
#include "profile/IniDocument.h"
#include "profile/ProfileFile.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include "send/TransmitLoop.h"
#include "send/TransmitState.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextEdit>
#include <variant>

namespace {

const QString Section = QStringLiteral("NetworkKeyer");
const QString ListenKey = QStringLiteral("Listen");
const QString AddressKey = QStringLiteral("Address");

template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace

NetworkKeying::NetworkKeying(Parts parts)
    : p_(std::move(parts)), keyer_(std::make_unique<NetworkKeyer>()),
      tuneTimer_(p_.clock.CreateTimer(1000, false)) {
    connect(keyer_.get(), &NetworkKeyer::requestArrived, this, &NetworkKeying::Carry);
    tuneTimer_->onTick = [this] { EndTune(); };
    connect(p_.keyboardHandlers.window()->document(), &QTextDocument::contentsChanged, this,
            &NetworkKeying::AnswerKeyedReplies);
}

NetworkKeying::~NetworkKeying() = default;

// A hand-edited address that cannot be read is left in the file as it is, and the keyer stays off.
void NetworkKeying::Restore(const IniDocument& stateFile) {
    const std::optional<QString> listen = stateFile.Value(Section, ListenKey);
    const std::optional<QString> address = stateFile.Value(Section, AddressKey);
    if (!listen && !address) return;
    const ParsedListenAddress parsed = ParseListenAddress(address.value_or(QString()));
    const bool on = listen.value_or(QString()).compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
    if (!parsed.address) {
        if (on) ShowState(QStringLiteral("Network keyer off: %1 in Operator.INI").arg(parsed.error));
        return;
    }
    remembered_ = wanted_ = Choice{on, *parsed.address};
    if (on) Listen(*parsed.address);
}

void NetworkKeying::Remember(IniDocument& stateFile) const {
    if (!remembered_) return;
    stateFile.SetValue(Section, ListenKey,
                       remembered_->listen ? QStringLiteral("ON") : QStringLiteral("OFF"));
    stateFile.SetValue(Section, AddressKey, ListenAddressText(remembered_->where));
}

QString NetworkKeying::ListenForThisRun(const QString& addressText) {
    const ParsedListenAddress parsed = ParseListenAddress(addressText);
    if (!parsed.address) {
        ShowState(QStringLiteral("Network keyer off: ") + parsed.error);
        return parsed.error;
    }
    wanted_ = Choice{true, *parsed.address};
    return Listen(*parsed.address);
}

QString NetworkKeying::Listen(const ListenAddress& where) {
    QString reason;
    if (!keyer_->Listen(where, reason)) {
        ShowState(QStringLiteral("Network keyer off: ") + reason);
        return reason;
    }
    ShowState(QStringLiteral("Network keyer ") + ListenAddressText(keyer_->Address()));
    return {};
}

void NetworkKeying::ShowDialog() {
    if (!dialog_) {
        dialog_ = new NetworkKeyerDialog(&p_.window);
        connect(dialog_, &NetworkKeyerDialog::chosen, this, [this](bool listen, const ListenAddress& where) {
            remembered_ = wanted_ = Choice{listen, where};
            if (listen) {
                Listen(where);
            } else {
                keyer_->Stop();
                ShowState(QString());
            }
        });
    }
    dialog_->Offer(wanted_.listen, ListenAddressText(wanted_.where));
    ShowCentredOn(dialog_, &p_.window);
}

void NetworkKeying::ShutDown() {
    keyer_->Stop();
    tuneTimer_->SetEnabled(false);
}

QString NetworkKeying::Note() const {
    if (state_.isEmpty()) return {};
    return QStringLiteral(" - ") + state_ + (heard_.isEmpty() ? QString() : QStringLiteral(", ") + heard_);
}

void NetworkKeying::ShowState(const QString& state, const QString& heard) {
    const QString before = Note();
    state_ = state;
    heard_ = heard;
    if (Note() != before) p_.noteChanged(before);
}

void NetworkKeying::ShowHeard(const QString& heard) {
    ShowState(state_, heard);
}

void NetworkKeying::Carry(const CwDaemon::Request& request, const QHostAddress& sender, quint16 senderPort) {
    if (!Admitted()) return;
    const QString from = ListenAddressText({sender, senderPort});
    using namespace CwDaemon;
    std::visit(Overloaded{
                   [&](const SendText& text) { TakeText(text.keyboardText, from); },
                   [&](const AskReply& ask) {
                       nextReply_ = Reply{sender, senderPort, ask.text};
                   },
                   [&](const ChangeSetting& change) { ApplySetting(change); },
                   [&](const Tune& tune) { StartTune(tune.seconds); },
                   [&](const Reset&) { ResetToProfile(); },
                   [&](const Abort&) { AbortSending(); },
                   [&](const Refused& refused) {
                       ShowHeard(QStringLiteral("refused from %1: %2").arg(from, refused.reason));
                   },
                   // An empty datagram, or a request that means nothing for the unit.
                   [](const auto&) {},
               },
               request);
}

// A flood costs the window no more than a few datagrams' work at a time, and is told.
bool NetworkKeying::Admitted() {
    const std::int64_t now = p_.clock.TickCount();
    if (now - spanStart_ >= SpanMilliseconds) {
        spanStart_ = now;
        carriedInSpan_ = 0;
    }
    if (carriedInSpan_ < DatagramsPerSpan) {
        ++carriedInSpan_;
        return true;
    }
    ++dropped_;
    ShowHeard(QStringLiteral("%1 datagrams dropped, more than %2 in %3 ms")
                  .arg(dropped_)
                  .arg(DatagramsPerSpan)
                  .arg(SpanMilliseconds));
    return false;
}

// In at the end, as the operator's typing goes: the loop follows it, Esc and Stop drop it, and the
// operator can delete it before it goes out. A text that is not taken is dropped whole.
void NetworkKeying::TakeText(const QString& text, const QString& sender) {
    const int waiting = p_.keyboard.Length() - HandledUpTo(p_.state);
    QString dropped;
    if (p_.state.messageEditMode) {
        dropped = QStringLiteral("a stored message is being edited");
    } else if (waiting + text.size() > MaxWaitingCharacters) {
        dropped = QStringLiteral("%1 characters wait unsent").arg(waiting);
    }
    const int start = p_.keyboard.Length();
    if (dropped.isEmpty()) {
        p_.keyboard.InsertAtEnd(text);
        ShowHeard(QStringLiteral("text from ") + sender);
    } else {
        ShowHeard(QStringLiteral("text from %1 dropped: %2").arg(sender, dropped));
    }
    // A text not taken, or with nothing to key, is over once what came before it is.
    WaitForReply(start + (dropped.isEmpty() ? int(KeyedLength(text)) : 0));
    AnswerKeyedReplies();
}

void NetworkKeying::WaitForReply(int textEnd) {
    if (!nextReply_) return;
    waitingReplies_.push_back({*std::exchange(nextReply_, std::nullopt), p_.keyboard.PlaceAt(textEnd)});
}

// A reply's text is over when the loop has handled everything up to its end: its last character was
// written, or the text was stopped, emptied or deleted before it went out.
void NetworkKeying::AnswerKeyedReplies() {
    while (!waitingReplies_.empty() &&
           p_.keyboard.PositionOf(waitingReplies_.front().textEnd) <= HandledUpTo(p_.state)) {
        const Reply reply = waitingReplies_.front().reply;
        waitingReplies_.pop_front();
        keyer_->SendReply(reply.address, reply.port, reply.text);
    }
}

void NetworkKeying::ApplySetting(const CwDaemon::ChangeSetting& change) {
    SettingsPanel& panel = p_.panel;
    switch (change.setting) {
    case CwDaemon::Setting::Speed:
        return SetControls({{panel.scrSpeed, SpeedControlValue(change.value)}});
    case CwDaemon::Setting::Tone:
        if (const std::optional<int> tone = ToneControlValue(change.value))
            return SetControls({{panel.scrTone, *tone}});
        return SetControls({{panel.scrVolume, 0}});
    case CwDaemon::Setting::Weight:
        return SetControls({{panel.scrWeight, WeightControlValue(change.value)}});
    case CwDaemon::Setting::Volume:
        return SetControls({{panel.scrVolume, VolumeControlValue(change.value)}});
    }
}

// The six settings as the profile file holds them: what was last loaded or saved. The paddle
// features, which the network cannot change, stay as they are.
void NetworkKeying::ResetToProfile() {
    KeyerTiming timing;
    if (p_.profile.Loaded()) {
        const QString& file = p_.profile.file;
        const ProfileRead read = ReadProfile(file);
        if (!read.writable)
            return ShowHeard(
                QStringLiteral("reset refused: %1 cannot be read").arg(QFileInfo(file).fileName()));
        timing = read.profile.timing;
    }
    SettingsPanel& panel = p_.panel;
    SetControls({{panel.scrSpeed, timing.speed},
                 {panel.scrWeight, timing.weight},
                 {panel.scrWordSpace, timing.wordSpaceTenths},
                 {panel.scrLetterSpace, timing.letterSpaceTenths},
                 {panel.scrVolume, timing.volume},
                 {panel.scrTone, timing.toneTens}});
}

// The controls move and show their values; the settings go to the unit once, whatever changed.
void NetworkKeying::SetControls(std::initializer_list<std::pair<UpDown*, int>> values) {
    bool changed = false;
    {
        // The panel would send each change on its own and take the operator's focus away.
        const QSignalBlocker quiet(p_.panel);
        for (const auto& [control, value] : values) {
            const int before = control->value();
            control->setValue(value);
            changed = changed || control->value() != before;
        }
    }
    if (changed) p_.sendSettings();
}

// As ALT pressed: what is on its way waits, the tune sign shows. The key goes up when the time is
// over, at an abort, at "0 seconds", when the operator releases ALT, and at shutdown.
void NetworkKeying::StartTune(int seconds) {
    if (seconds == 0) {
        if (tuneTimer_->Enabled()) EndTune();
        return;
    }
    p_.keyboardHandlers.KeyDown(KeyCode::Alt);
    tuneTimer_->SetInterval(seconds * 1000);
    tuneTimer_->SetEnabled(true);
}

void NetworkKeying::EndTune() {
    tuneTimer_->SetEnabled(false);
    p_.keyboardHandlers.ReleaseTune();
}

// As Esc: the Keyboard window is emptied and sending stops at once. A stored message being edited is
// left alone.
void NetworkKeying::AbortSending() {
    if (tuneTimer_->Enabled()) EndTune();
    if (!p_.state.messageEditMode) p_.loop.Stop();
}
