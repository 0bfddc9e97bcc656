#include "profile/SettingsPanel.h"

#include "platform/NumberText.h"
#include "platform/Twips.h"
#include "profile/SettingRanges.h"
#include "profile/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace {

// The panel's children are designed relative to the window; the panel starts at this x.
constexpr double PanelLeft = 6120;
constexpr int SpacingWholeStep = 10;

} // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : QWidget(parent) {
    AddLabel(QStringLiteral("Timing"), 6750, 30);
    txtSpeed = AddDisplay(6300, 270, 405);
    scrSpeed = AddControl(speedRange, 25, 6720, 240);
    AddLabel(QStringLiteral("Speed"), 6270, 630);
    txtWeight = AddDisplay(7200, 270, 405);
    scrWeight = AddControl(weightRange, 50, 7650, 240);
    AddLabel(QStringLiteral("Weight"), 7230, 630);

    AddLabel(QStringLiteral("Spacing"), 6720, 960);
    txtWordSpace = AddDisplay(6240, 1230, 465);
    scrWordSpace = AddControl(wordSpaceRange, 60, 6750, 1200);
    AddLabel(QStringLiteral("Word"), 6420, 1590);
    txtLetterSpace = AddDisplay(7140, 1230, 465);
    scrLetterSpace = AddControl(letterSpaceRange, 10, 7650, 1200);
    AddLabel(QStringLiteral("Letter"), 7320, 1590);

    AddLabel(QStringLiteral("Sidetone"), 6690, 1980);
    txtVolume = AddDisplay(6210, 2250, 435);
    scrVolume = AddControl(volumeRange, 0, 6660, 2220);
    AddLabel(QStringLiteral(" Volume"), 6210, 2580);
    txtTone = AddDisplay(7020, 2250, 645);
    scrTone = AddControl(toneRange, 68, 7710, 2220);
    AddLabel(QStringLiteral("Tone"), 7200, 2580);

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

QLineEdit* SettingsPanel::AddDisplay(double left, double top, double width) {
    auto* display = new QLineEdit(this);
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::NoFocus);
    PlaceInTwips(display, left - PanelLeft, top, width, 315);
    return display;
}

UpDown* SettingsPanel::AddControl(ControlRange range, int start, double left, double top) {
    auto* control = new UpDown(range.minimum, range.maximum, start, this);
    PlaceInTwips(control, left - PanelLeft, top, 255, 375);
    return control;
}

QLabel* SettingsPanel::AddLabel(const QString& text, double left, double top) {
    auto* label = new QLabel(text, this);
    label->move(TwipsToPixels(left - PanelLeft), TwipsToPixels(top));
    return label;
}
