#include "network/NetworkKeyerDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NetworkKeyerDialog::NetworkKeyerDialog(QWidget* parent)
    : OkCancelDialog(parent),
      chkListen(new QCheckBox(QStringLiteral("&Listen for loggers (cwdaemon protocol)"))),
      txtAddress(new QLineEdit), lblProblem(new QLabel), OKButton(new QPushButton(QStringLiteral("OK"))),
      CancelButton(new QPushButton(QStringLiteral("Cancel"))) {
    setObjectName(QStringLiteral("dlgNetworkKeyer"));
    setWindowTitle(QStringLiteral("Network Keyer"));
    setModal(false);
    txtAddress->setObjectName(QStringLiteral("txtNetworkAddress"));
    txtAddress->setAccessibleName(QStringLiteral("Address and port"));
    lblProblem->setObjectName(QStringLiteral("lblNetworkProblem"));
    auto* warning = new QLabel(
        QStringLiteral("Anyone who can reach this address and port can key the transmitter. 127.0.0.1 "
                       "keeps it to this computer."));
    warning->setWordWrap(true);
    lblProblem->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(chkListen);
    form->addRow(QStringLiteral("&Address:port"), txtAddress);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(OKButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(warning);
    column->addWidget(lblProblem);
    column->addWidget(buttons);

    SetOkCancel(OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &NetworkKeyerDialog::Accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::hide);
}

void NetworkKeyerDialog::Offer(bool listen, const QString& address) {
    chkListen->setChecked(listen);
    txtAddress->setText(address);
    lblProblem->clear();
}

void NetworkKeyerDialog::Accept() {
    const ParsedListenAddress parsed = ParseListenAddress(txtAddress->text());
    if (!parsed.address) {
        lblProblem->setText(parsed.error);
        // Its size was fitted to the dialog without the problem.
        setFixedSize(sizeHint());
        txtAddress->setFocus();
        return;
    }
    hide();
    emit chosen(chkListen->isChecked(), *parsed.address);
}
