#pragma once

#include "network/ListenAddress.h"
#include "platform/OkCancelDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edit > Network Keyer: whether loggers may key the unit, and where Tandrel listens for them. OK takes
// only an address that can be read; otherwise the dialog says why and stays open.
class NetworkKeyerDialog : public OkCancelDialog {
    Q_OBJECT
public:
    explicit NetworkKeyerDialog(QWidget* parent = nullptr);

    // Puts this choice into the dialog, for showing.
    void Offer(bool listen, const QString& address);

    QCheckBox* chkListen;
    QLineEdit* txtAddress;
    QLabel* lblProblem;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    void chosen(bool listen, const ListenAddress& where);

private:
    void Accept();
};
