#include "profile/SettingsPanel.h"

#include "platform/NumberText.h"
#include "profile/NumberEntry.h"
#include "profile/SettingBox.h"
#include "profile/UpDown.h"

#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <tuple>

namespace {

constexpr int SpacingWholeStep = 10;

bool IsSpacing(Setting setting) {
    return setting == Setting::WordSpace || setting == Setting::LetterSpace;
}

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {
    AddLabel(QStringLiteral("Timing"), QStringLiteral("lblTiming"));
    AddLabel(QStringLiteral("Spacing"), QStringLiteral("lblSpacing"));
    AddLabel(QStringLiteral("Sidetone"), QStringLiteral("lblSidetone"));
    const char* captions[][2] = {{"Speed", "Speed"},        {"Weight", "Weight"},  {"WordSpace", "Word"},
                                 {"LetterSpace", "Letter"}, {"Volume", " Volume"}, {"Tone", "Tone"}};
    for (const auto& [setting, caption] : captions)
        AddLabel(QString::fromLatin1(caption), QStringLiteral("lbl") + QLatin1String(setting));

    std::tie(scrSpeed, txtSpeed) =
        AddRow(Setting::Speed, "Speed", QStringLiteral("Speed, words per minute"), 25);
    std::tie(scrWeight, txtWeight) = AddRow(Setting::Weight, "Weight", QStringLiteral("Weight"), 50);
    std::tie(scrWordSpace, txtWordSpace) =
        AddRow(Setting::WordSpace, "WordSpace", QStringLiteral("Word space, dot lengths"), 60);
    std::tie(scrLetterSpace, txtLetterSpace) =
        AddRow(Setting::LetterSpace, "LetterSpace", QStringLiteral("Letter space, dot lengths"), 10);
    std::tie(scrVolume, txtVolume) = AddRow(Setting::Volume, "Volume", QStringLiteral("Sidetone volume"), 0);
    std::tie(scrTone, txtTone) = AddRow(Setting::Tone, "Tone", QStringLiteral("Sidetone, hertz"), 68);
    RefreshDisplays();
}

// The window's resize rule places the panel's controls by these names.
std::pair<UpDown*, SettingBox*> SettingsPanel::AddRow(Setting setting, const char* name,
                                                      const QString& spoken, int start) {
    const ControlRange range = RangeOf(setting);
    auto* control = new UpDown(range.minimum, range.maximum, start, this);
    control->setObjectName(QStringLiteral("scr") + QLatin1String(name));
    control->setAccessibleName(spoken);
    control->setAccessibleDescription(QStringLiteral("The arrows, and the Up and Down keys, step it."));
    control->upButton()->setAccessibleName(spoken + QStringLiteral(", up"));
    control->downButton()->setAccessibleName(spoken + QStringLiteral(", down"));

    // As many whole digits as the largest value shows.
    const int digits = int(DisplayText(setting, range.maximum).trimmed().size());
    auto* box = new SettingBox(digits, IsSpacing(setting), this);
    box->setObjectName(QStringLiteral("txt") + QLatin1String(name));
    box->setAccessibleName(spoken);
    box->setAccessibleDescription(QStringLiteral("Type a number: Enter or leaving the box applies it, "
                                                 "Esc restores it, the mouse wheel steps it."));
    auto* entry = new NumberEntry(control, box,
                                  {[setting](int value) { return DisplayText(setting, value); },
                                   [setting](const QString& typed) { return ValueForTyped(setting, typed); }},
                                  this);
    const Row row{setting, entry};
    rows_.push_back(row);
    // The entry shows the value; the step follows it.
    connect(control, &UpDown::valueChanged, this, [this, row] { FollowStep(row); });
    connect(entry, &NumberEntry::changed, this, &SettingsPanel::settingChanged);
    connect(entry, &NumberEntry::done, this, &SettingsPanel::done);
    return {control, box};
}

void SettingsPanel::RefreshDisplays() {
    for (const Row& row : rows_) {
        row.entry->Show();
        FollowStep(row);
    }
}

QString SettingsPanel::Shown(Setting setting) const {
    const auto row =
        std::find_if(rows_.begin(), rows_.end(), [setting](const Row& r) { return r.setting == setting; });
    return DisplayText(setting, row->entry->control->value());
}

KeyerTiming SettingsPanel::Timing() const {
    return {scrSpeed->value(),       scrWeight->value(), scrWordSpace->value(),
            scrLetterSpace->value(), scrVolume->value(), scrTone->value()};
}

void SettingsPanel::SetTiming(const KeyerTiming& timing) {
    scrSpeed->setValue(timing.speed);
    scrWeight->setValue(timing.weight);
    scrWordSpace->setValue(timing.wordSpaceTenths);
    scrLetterSpace->setValue(timing.letterSpaceTenths);
    scrVolume->setValue(timing.volume);
    scrTone->setValue(timing.toneTens);
}

// Below 10 dot lengths a spacing moves in tenths; from 10 up in whole dot lengths, shown whole.
void SettingsPanel::FollowStep(const Row& row) {
    UpDown* control = row.entry->control;
    if (IsSpacing(row.setting))
        control->setSingleStep(
            ParseLeadingNumber(DisplayText(row.setting, control->value())) >= 10 ? SpacingWholeStep : 1);
}

void SettingsPanel::AddLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
}
