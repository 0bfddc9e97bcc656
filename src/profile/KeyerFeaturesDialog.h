#pragma once

#include "platform/OkCancelDialog.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

struct PaddleFeatures {
    bool iambic = true;
    bool dotMemory = true;
    bool dashMemory = true;
    bool rightHand = true;
};

// The Keyer Features dialog. Its controls are the store of the paddle features: it is only ever
// hidden, so a choice left by Cancel (or ESC) stays and goes out with the next settings transfer.
class KeyerFeaturesDialog : public OkCancelDialog {
    Q_OBJECT
public:
    explicit KeyerFeaturesDialog(QWidget* parent = nullptr);

    PaddleFeatures Features() const;
    void SetFeatures(const PaddleFeatures& features);

    QRadioButton* rbIambic[2];
    QRadioButton* rbRightLeft[2];
    QCheckBox* chkDotMemory;
    QCheckBox* chkDashMemory;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    void okPressed();
};
