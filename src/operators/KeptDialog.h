#pragma once

#include "platform/OkCancelDialog.h"

// An operator dialog that is only ever hidden, so its boxes keep their texts. ESC is its Cancel button;
// closing it by its frame hides it and says so, for the commands to take their own way.
class KeptDialog : public OkCancelDialog {
    Q_OBJECT
public:
    using OkCancelDialog::OkCancelDialog;

signals:
    void closedByFrame();

protected:
    void closeEvent(QCloseEvent* event) override;
};
