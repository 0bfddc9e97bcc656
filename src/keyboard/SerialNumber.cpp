#include "keyboard/SerialNumber.h"

#include "profile/NumberEntry.h"
#include "profile/SettingBox.h"
#include "profile/UpDown.h"

#include <QScopedValueRollback>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

namespace {

// Digits alone; held to the control's range.
std::optional<int> TypedSerial(const QString& typed) {
    bool number = false;
    const qlonglong value = typed.trimmed().toLongLong(&number);
    if (!number) return std::nullopt;
    return int(std::clamp<qlonglong>(value, 1, LargestSerialNumber));
}

} // namespace

SerialNumber::SerialNumber(QWidget* boxParent, ContestSettings& settings)
    : QObject(boxParent), settings_(settings) {
    auto* control = new UpDown(1, LargestSerialNumber, 1, boxParent);
    control->setObjectName(QStringLiteral("scrSerial"));
    control->setAccessibleName(QStringLiteral("Serial number"));
    control->upButton()->setAccessibleName(QStringLiteral("Serial number, up"));
    control->downButton()->setAccessibleName(QStringLiteral("Serial number, down"));
    auto* box =
        new SettingBox(static_cast<int>(QString::number(LargestSerialNumber).size()), false, boxParent);
    box->setObjectName(QStringLiteral("txtSerial"));
    box->setAccessibleName(QStringLiteral("Serial number"));
    box->setAccessibleDescription(QStringLiteral("The number the next (SERIAL) sends. Type a number: Enter "
                                                 "or leaving the box applies it, Esc restores it."));
    box->setToolTip(QStringLiteral("Serial number: the number the next (SERIAL) sends"));
    entry_ =
        new NumberEntry(control, box, {[](int value) { return QString::number(value); }, TypedSerial}, this);
    // A number set by hand has not gone out yet.
    connect(entry_, &NumberEntry::changed, this, [this] {
        if (!setting_) Change({entry_->control->value(), false, settings_.cutNumbers});
    });
    connect(entry_, &NumberEntry::done, this, [this] {
        if (!setting_) emit done();
    });
}

UpDown* SerialNumber::control() const {
    return entry_->control;
}

SettingBox* SerialNumber::box() const {
    return entry_->box;
}

void SerialNumber::Show() {
    const QScopedValueRollback holdStore(setting_, true);
    entry_->control->setValue(settings_.serial);
    entry_->Show();
}

void SerialNumber::SetCutNumbers(CutNumbers cut) {
    if (cut != settings_.cutNumbers) Change({settings_.serial, settings_.serialSent, cut});
}

void SerialNumber::Sent() {
    if (!settings_.serialSent) Change({settings_.serial, true, settings_.cutNumbers});
}

// Past the largest number the count stays there: the box cannot show more.
void SerialNumber::CallConfirmed(const QString& call) {
    if (call.isEmpty() || !settings_.serialSent) return;
    const int next = std::min(settings_.serial + 1, LargestSerialNumber);
    Change({next, false, settings_.cutNumbers});
    const QScopedValueRollback holdStore(setting_, true);
    entry_->control->setValue(next);
}

void SerialNumber::Change(const ContestSettings& settings) {
    settings_ = settings;
    emit changed();
}
