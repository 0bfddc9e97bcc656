#pragma once

#include "link/KeyerCommands.h"
#include "platform/OkCancelDialog.h"
#include "profile/ContestSettings.h"

#include <optional>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The Keyer Features dialog: shows the operator's paddle choice and changes it as its controls change.
// Cancel (or ESC) only hides it, so a choice left that way stays and goes out with the next settings
// transfer; OK asks for that transfer at once. It also chooses the cut numbers and, for OK, a
// Farnsworth effective speed.
class KeyerFeaturesDialog : public OkCancelDialog {
    Q_OBJECT
public:
    KeyerFeaturesDialog(PaddleFeatures& choice, QWidget* parent);

    // The controls show the choice again, after a profile replaced it.
    void ShowChoice();
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

private:
    PaddleFeatures& choice_;
};
