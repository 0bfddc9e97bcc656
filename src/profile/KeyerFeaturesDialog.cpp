#include "profile/KeyerFeaturesDialog.h"

#include "platform/Colours.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Laid out by Qt from the contents, so every caption fits; the designed sizes are the least.
QGroupBox* AddFrame(QHBoxLayout* row, const QString& caption, QAbstractButton* first,
                    QAbstractButton* second) {
    auto* frame = new QGroupBox(caption);
    frame->setMinimumWidth(TwipsToPixels(1815));
    auto* column = new QVBoxLayout(frame);
    column->addWidget(first);
    column->addWidget(second);
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

KeyerFeaturesDialog::KeyerFeaturesDialog(QWidget* parent) : OkCancelDialog(parent) {
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
    AddFrame(frames, QStringLiteral("Dual-Paddle Features"), rbIambic[0], rbIambic[1]);
    AddFrame(frames, QStringLiteral("Right/Left Paddle(s)"), rbRightLeft[0], rbRightLeft[1]);
    AddFrame(frames, QStringLiteral("Dot/Dash Memory"), chkDotMemory, chkDashMemory);
    OKButton = AddButton(column, QStringLiteral("OK"));
    CancelButton = AddButton(column, QStringLiteral("Cancel"));

    SetOkCancel(OKButton, CancelButton);
    SetFeatures(PaddleFeatures{});
    connect(OKButton, &QPushButton::clicked, this, &KeyerFeaturesDialog::okPressed);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

PaddleFeatures KeyerFeaturesDialog::Features() const {
    return {rbIambic[0]->isChecked(), chkDotMemory->isChecked(), chkDashMemory->isChecked(),
            rbRightLeft[0]->isChecked()};
}

void KeyerFeaturesDialog::SetFeatures(const PaddleFeatures& features) {
    rbIambic[features.iambic ? 0 : 1]->setChecked(true);
    chkDotMemory->setChecked(features.dotMemory);
    chkDashMemory->setChecked(features.dashMemory);
    rbRightLeft[features.rightHand ? 0 : 1]->setChecked(true);
}
