#include "send/SendingStatus.h"

#include "platform/Colours.h"

namespace {

// Orange with black text: unlike the red of a missing unit and every other colour of the line.
const QColor KeyedColour{255, 140, 0};
const QString TuneSign = QStringLiteral("TRANSMITTER KEYED - Tuning Until ALT Is Released");
const QString HowToEndRepeat = QStringLiteral(" - Esc or Stop Ends It");

} // namespace

void SendingStatus::ShowTuning(bool keyed) {
    if (keyed == tuning_) return;
    tuning_ = keyed;
    if (keyed) {
        beforeTune_ = ShowsRepeat() ? std::nullopt : std::optional(display_.ShownStatus());
        display_.ShowStatusLine({TuneSign, KeyedColour});
    } else if (beforeTune_) {
        display_.ShowStatusLine(*beforeTune_);
    } else if (repeat_) {
        display_.ShowStatusLine(*repeat_);
    } else {
        display_.ShowUnitStatus();
    }
}

void SendingStatus::ShowRepeatWait(int seconds) {
    ShowRepeat(QStringLiteral("Repeat: Next Round In %1 s").arg(seconds));
}

void SendingStatus::ShowRepeatRound(int pauseSeconds) {
    ShowRepeat(pauseSeconds > 0 ? QStringLiteral("Repeat Every %1 s: Sending").arg(pauseSeconds)
                                : QStringLiteral("Repeat Without Pause: Sending Again At Once"));
}

void SendingStatus::ShowRepeat(const QString& note) {
    repeat_ = StatusLine{note + HowToEndRepeat, Colours::LightGreen};
    if (!tuning_) display_.ShowStatusLine(*repeat_);
}

void SendingStatus::EndRepeat() {
    if (ShowsRepeat()) display_.ShowUnitStatus();
    repeat_.reset();
}

bool SendingStatus::ShowsRepeat() const {
    return repeat_ && display_.ShownStatus().text == repeat_->text;
}
