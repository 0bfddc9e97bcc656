#pragma once

#include <QDialog>

class QPushButton;

// A dialog answered as every dialog is: Enter presses OK (or the button that has the focus), and ESC
// or the window frame takes exactly the path of its Cancel button.
class OkCancelDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void reject() override;

protected:
    void SetOkCancel(QPushButton* ok, QPushButton* cancel);

private:
    QPushButton* cancel_ = nullptr;
};
