#include "profile/KeyerFeaturesDialog.h"

#include "platform/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

QGroupBox* AddFrame(QWidget* parent, const QString& caption, double left) {
    auto* frame = new QGroupBox(caption, parent);
    PlaceInTwips(frame, left, 30, 1815, 945);
    return frame;
}

template <typename Button>
Button* AddChoice(QWidget* frame, const QString& caption, double left, double top, double width,
                  double height) {
    auto* button = new Button(caption, frame);
    PlaceInTwips(button, left, top, width, height);
    return button;
}

QPushButton* AddButton(QWidget* parent, const QString& caption, double top) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    PlaceInTwips(button, 2190, top, 1215, 375);
    return button;
}

} // namespace

KeyerFeaturesDialog::KeyerFeaturesDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keyer Features"));
    setModal(false);
    setStyleSheet(QStringLiteral("QDialog, QGroupBox { background-color: rgb(224, 224, 224); }"));
    setFixedSize(TwipsToPixels(5550), TwipsToPixels(1860));

    QGroupBox* features = AddFrame(this, QStringLiteral("Dual-Paddle Features"), 0);
    rbIambic[0] = AddChoice<QRadioButton>(features, QStringLiteral("Iambic"), 90, 270, 1065, 285);
    rbIambic[1] = AddChoice<QRadioButton>(features, QStringLiteral("Dash Override"), 90, 540, 1335, 315);
    QGroupBox* sides = AddFrame(this, QStringLiteral("Right/Left Paddle(s)"), 1860);
    rbRightLeft[0] = AddChoice<QRadioButton>(sides, QStringLiteral("Right-Handed"), 120, 300, 1695, 225);
    rbRightLeft[1] = AddChoice<QRadioButton>(sides, QStringLiteral("Left-Handed"), 90, 570, 1665, 225);
    QGroupBox* memories = AddFrame(this, QStringLiteral("Dot/Dash Memory"), 3720);
    chkDotMemory = AddChoice<QCheckBox>(memories, QStringLiteral("Dot Memory"), 90, 270, 1155, 255);
    chkDashMemory = AddChoice<QCheckBox>(memories, QStringLiteral("Dash Memory"), 90, 570, 1395, 285);
    OKButton = AddButton(this, QStringLiteral("OK"), 1020);
    CancelButton = AddButton(this, QStringLiteral("Cancel"), 1440);

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

// Neither button answers Return or ESC.
void KeyerFeaturesDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
