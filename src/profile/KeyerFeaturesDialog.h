#pragma once

#include "link/KeyerCommands.h"
#include "platform/OkCancelDialog.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

// The Keyer Features dialog: shows the operator's paddle choice and changes it as its controls change.
// Cancel (or ESC) only hides it, so a choice left that way stays and goes out with the next settings
// transfer; OK asks for that transfer at once.
class KeyerFeaturesDialog : public OkCancelDialog {
    Q_OBJECT
public:
    KeyerFeaturesDialog(PaddleFeatures& choice, QWidget* parent);

    // The controls show the choice again, after a profile replaced it.
    void ShowChoice();

    QRadioButton* rbIambic[2];
    QRadioButton* rbRightLeft[2];
    QCheckBox* chkDotMemory;
    QCheckBox* chkDashMemory;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    void okPressed();

private:
    PaddleFeatures& choice_;
};
