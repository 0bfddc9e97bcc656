#include "profile/KeyerFeaturesDialog.h"

#include "platform/Colours.h"
#include "platform/Twips.h"
#include "profile/SettingRanges.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

// Laid out by Qt from the contents, so every caption fits; the designed sizes are the least.
QGroupBox* AddFrame(QHBoxLayout* row, const QString& caption, std::initializer_list<QWidget*> controls) {
    auto* frame = new QGroupBox(caption);
    frame->setMinimumWidth(TwipsToPixels(1815));
    auto* column = new QVBoxLayout(frame);
    for (QWidget* control : controls)
        column->addWidget(control);
    column->addStretch();
    row->addWidget(frame);
    return frame;
}

QPushButton* AddButton(QVBoxLayout* column, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setMinimumSize(TwipsToPixels(1215), TwipsToPixels(375));
    column->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

} // namespace

KeyerFeaturesDialog::KeyerFeaturesDialog(PaddleFeatures& choice, QWidget* parent)
    : OkCancelDialog(parent), choice_(choice) {
    setWindowTitle(QStringLiteral("Keyer Features"));
    setModal(false);
    // The frames are drawn on the dialog's grey.
    SetColour(this, QPalette::Window, Colours::Grey);

    rbIambic[0] = new QRadioButton(QStringLiteral("Iambic"));
    rbIambic[1] = new QRadioButton(QStringLiteral("Dash Override"));
    rbRightLeft[0] = new QRadioButton(QStringLiteral("Right-Handed"));
    rbRightLeft[1] = new QRadioButton(QStringLiteral("Left-Handed"));
    chkDotMemory = new QCheckBox(QStringLiteral("Dot Memory"));
    chkDashMemory = new QCheckBox(QStringLiteral("Dash Memory"));
    auto* column = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    column->addLayout(frames);
    AddFrame(frames, QStringLiteral("Dual-Paddle Features"), {rbIambic[0], rbIambic[1]});
    AddFrame(frames, QStringLiteral("Right/Left Paddle(s)"), {rbRightLeft[0], rbRightLeft[1]});
    AddFrame(frames, QStringLiteral("Dot/Dash Memory"), {chkDotMemory, chkDashMemory});

    rbCutNumbers[0] = new QRadioButton(QStringLiteral("Digits as Digits"));
    rbCutNumbers[1] = new QRadioButton(QStringLiteral("0 as T, 9 as N"));
    rbCutNumbers[2] = new QRadioButton(QStringLiteral("0 as T, 9 as N, 1 as A"));
    chkFarnsworth = new QCheckBox(QStringLiteral("Set Spaces on OK"));
    spnEffectiveSpeed = new QSpinBox;
    spnEffectiveSpeed->setRange(SpeedRange.minimum, SpeedRange.maximum);
    spnEffectiveSpeed->setValue(15);
    spnEffectiveSpeed->setSuffix(QStringLiteral(" WPM Effective"));
    // The box inside is what the focus reaches.
    for (QWidget* speed :
         std::initializer_list<QWidget*>{spnEffectiveSpeed, spnEffectiveSpeed->findChild<QLineEdit*>()})
        speed->setAccessibleName(QStringLiteral("Farnsworth effective speed, words per minute"));
    auto* contest = new QHBoxLayout;
    column->addLayout(contest);
    AddFrame(contest, QStringLiteral("Cut Numbers in (SERIAL)"),
             {rbCutNumbers[0], rbCutNumbers[1], rbCutNumbers[2]});
    AddFrame(contest, QStringLiteral("Farnsworth Spacing"), {chkFarnsworth, spnEffectiveSpeed});
    OKButton = AddButton(column, QStringLiteral("OK"));
    CancelButton = AddButton(column, QStringLiteral("Cancel"));

    SetOkCancel(OKButton, CancelButton);
    ShowChoice();
    SetCutNumbers(CutNumbers::Off);
    // Each control keeps its own feature; the other button of a pair turns with it.
    connect(rbIambic[0], &QRadioButton::toggled, this, [this](bool on) { choice_.iambic = on; });
    connect(chkDotMemory, &QCheckBox::toggled, this, [this](bool on) { choice_.dotMemory = on; });
    connect(chkDashMemory, &QCheckBox::toggled, this, [this](bool on) { choice_.dashMemory = on; });
    connect(rbRightLeft[0], &QRadioButton::toggled, this, [this](bool on) { choice_.rightHand = on; });
    connect(OKButton, &QPushButton::clicked, this, &KeyerFeaturesDialog::okPressed);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

void KeyerFeaturesDialog::ShowChoice() {
    rbIambic[choice_.iambic ? 0 : 1]->setChecked(true);
    chkDotMemory->setChecked(choice_.dotMemory);
    chkDashMemory->setChecked(choice_.dashMemory);
    rbRightLeft[choice_.rightHand ? 0 : 1]->setChecked(true);
}

CutNumbers KeyerFeaturesDialog::ChosenCutNumbers() const {
    if (rbCutNumbers[2]->isChecked()) return CutNumbers::ZeroNineOne;
    return rbCutNumbers[1]->isChecked() ? CutNumbers::ZeroNine : CutNumbers::Off;
}

void KeyerFeaturesDialog::SetCutNumbers(CutNumbers cut) {
    rbCutNumbers[static_cast<int>(cut)]->setChecked(true);
}

std::optional<int> KeyerFeaturesDialog::EffectiveSpeed() const {
    if (!chkFarnsworth->isChecked()) return std::nullopt;
    return spnEffectiveSpeed->value();
}
