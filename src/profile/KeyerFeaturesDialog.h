#pragma once

#include "platform/OkCancelDialog.h"
#include "profile/ContestSettings.h"

#include <optional>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

struct PaddleFeatures {
    bool iambic = true;
    bool dotMemory = true;
    bool dashMemory = true;
    bool rightHand = true;
};

// The Keyer Features dialog. Its controls are the store of the paddle features: it is only ever
// hidden, so a choice left by Cancel (or ESC) stays and goes out with the next settings transfer.
// It also chooses the cut numbers and, for OK, a Farnsworth effective speed.
class KeyerFeaturesDialog : public OkCancelDialog {
    Q_OBJECT
public:
    explicit KeyerFeaturesDialog(QWidget* parent = nullptr);

    PaddleFeatures Features() const;
    void SetFeatures(const PaddleFeatures& features);
    CutNumbers ChosenCutNumbers() const;
    void SetCutNumbers(CutNumbers cut);
    // The effective speed the spaces are to give, when Farnsworth spacing is ticked.
    std::optional<int> EffectiveSpeed() const;

    QRadioButton* rbIambic[2];
    QRadioButton* rbRightLeft[2];
    QCheckBox* chkDotMemory;
    QCheckBox* chkDashMemory;
    QRadioButton* rbCutNumbers[3]; // off, 0 and 9, 0, 9 and 1
    QCheckBox* chkFarnsworth;
    QSpinBox* spnEffectiveSpeed;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    void okPressed();
};
