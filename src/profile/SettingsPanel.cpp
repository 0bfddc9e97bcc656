#include "profile/SettingsPanel.h"

#include "platform/NumberText.h"
#include "profile/SettingBox.h"
#include "profile/UpDown.h"

#include <QLabel>
#include <QScopedValueRollback>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
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
    for (const Row& row : rows_)
        Wire(row);
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
    rows_.push_back({setting, control, box});
    return {control, box};
}

void SettingsPanel::Wire(const Row& row) {
    connect(row.control, &UpDown::valueChanged, this, [this, row] {
        Show(row);
        emit settingChanged();
        if (!applying_) emit done();
    });
    connect(row.box, &SettingBox::entered, this, [this, row] {
        Apply(row);
        emit done();
    });
    connect(row.box, &SettingBox::left, this, [this, row] { Apply(row); });
    connect(row.box, &SettingBox::escaped, this, [this, row] {
        Show(row);
        emit done();
    });
    connect(row.box, &SettingBox::wheeled, this, [row](int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            steps > 0 ? row.control->StepUp() : row.control->StepDown();
    });
}

void SettingsPanel::RefreshDisplays() {
    for (const Row& row : rows_)
        Show(row);
}

QString SettingsPanel::Shown(Setting setting) const {
    const auto row =
        std::find_if(rows_.begin(), rows_.end(), [setting](const Row& r) { return r.setting == setting; });
    return DisplayText(setting, row->control->value());
}

// Below 10 dot lengths a spacing moves in tenths; from 10 up in whole dot lengths, shown whole.
void SettingsPanel::Show(const Row& row) {
    const QString text = DisplayText(row.setting, row.control->value());
    row.box->setText(text);
    if (IsSpacing(row.setting))
        row.control->setSingleStep(ParseLeadingNumber(text) >= 10 ? SpacingWholeStep : 1);
}

// What was typed goes to the control, held within its range; the display then shows what the control
// holds. A text that is no number, or the value the control has already, changes nothing.
void SettingsPanel::Apply(const Row& row) {
    if (!row.box->isModified()) return;
    if (const std::optional<int> value = ValueForTyped(row.setting, row.box->text())) {
        const QScopedValueRollback applying(applying_, true);
        row.control->setValue(*value);
    }
    Show(row);
}

void SettingsPanel::AddLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
}
