#include "profile/SettingsPanel.h"

#include "platform/NumberText.h"
#include "profile/SettingRanges.h"
#include "profile/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace {

constexpr int SpacingWholeStep = 10;

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {
    AddLabel(QStringLiteral("Timing"), QStringLiteral("lblTiming"));
    txtSpeed = AddDisplay(QStringLiteral("Speed"));
    scrSpeed = AddControl(speedRange, 25, QStringLiteral("Speed"));
    txtWeight = AddDisplay(QStringLiteral("Weight"));
    scrWeight = AddControl(weightRange, 50, QStringLiteral("Weight"));

    AddLabel(QStringLiteral("Spacing"), QStringLiteral("lblSpacing"));
    txtWordSpace = AddDisplay(QStringLiteral("WordSpace"));
    scrWordSpace = AddControl(wordSpaceRange, 60, QStringLiteral("WordSpace"));
    txtLetterSpace = AddDisplay(QStringLiteral("LetterSpace"));
    scrLetterSpace = AddControl(letterSpaceRange, 10, QStringLiteral("LetterSpace"));

    AddLabel(QStringLiteral("Sidetone"), QStringLiteral("lblSidetone"));
    txtVolume = AddDisplay(QStringLiteral("Volume"));
    scrVolume = AddControl(volumeRange, 0, QStringLiteral("Volume"));
    txtTone = AddDisplay(QStringLiteral("Tone"));
    scrTone = AddControl(toneRange, 68, QStringLiteral("Tone"));

    const char* captions[][2] = {{"Speed", "Speed"},        {"Weight", "Weight"},  {"WordSpace", "Word"},
                                 {"LetterSpace", "Letter"}, {"Volume", " Volume"}, {"Tone", "Tone"}};
    for (const auto& [setting, caption] : captions)
        AddLabel(QString::fromLatin1(caption), QStringLiteral("lbl") + QLatin1String(setting));

    for (UpDown* control : {scrSpeed, scrWeight, scrTone, scrVolume, scrWordSpace, scrLetterSpace}) {
        connect(control, &UpDown::valueChanged, this, [this] {
            ShowAll();
            emit settingChanged();
        });
    }
    ShowAll();
}

void SettingsPanel::RefreshDisplays() {
    ShowAll();
}

void SettingsPanel::ShowAll() {
    txtSpeed->setText(WithLeadingBlank(scrSpeed->value()));
    txtWeight->setText(WithLeadingBlank(scrWeight->value()));
    txtTone->setText(QString::number(scrTone->value() * 10));
    txtVolume->setText(QString::number(scrVolume->value()));
    ShowSpacing(scrWordSpace, txtWordSpace, scrWordSpace->value() / 10.0);
    ShowSpacing(scrLetterSpace, txtLetterSpace, scrLetterSpace->value() / 10.0 + 1);
}

// Below 10 dot lengths the spacing moves in tenths; from 10 up in whole dot lengths, shown whole.
void SettingsPanel::ShowSpacing(UpDown* control, QLineEdit* display, double dotLengths) {
    QString text = WithLeadingBlank(dotLengths);
    const bool whole = ParseLeadingNumber(text) >= 10;
    if (whole) text = WithLeadingBlank(std::floor(dotLengths));
    display->setText(text);
    control->setSingleStep(whole ? SpacingWholeStep : 1);
}

// The window's resize rule places the panel's controls by these names.
QLineEdit* SettingsPanel::AddDisplay(const QString& setting) {
    auto* display = new QLineEdit(this);
    display->setObjectName(QStringLiteral("txt") + setting);
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::NoFocus);
    return display;
}

UpDown* SettingsPanel::AddControl(ControlRange range, int start, const QString& setting) {
    auto* control = new UpDown(range.minimum, range.maximum, start, this);
    control->setObjectName(QStringLiteral("scr") + setting);
    return control;
}

void SettingsPanel::AddLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
}
