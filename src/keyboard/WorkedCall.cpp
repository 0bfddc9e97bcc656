#include "keyboard/WorkedCall.h"

#include "platform/Twips.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

WorkedCallDialog::WorkedCallDialog(QWidget* parent)
    : QDialog(parent), txtWrkCall(new QLineEdit(this)), OKButton(new QPushButton(QStringLiteral("OK"), this)),
      CancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Enter Work Station Call"));
    setModal(false);
    setFixedSize(TwipsToPixels(3225), TwipsToPixels(1710));
    PlaceInTwips(txtWrkCall, 1020, 330, 1245, 375);
    PlaceInTwips(OKButton, 1050, 870, 1215, 375);
    PlaceInTwips(CancelButton, 1050, 1290, 1215, 375);
    OKButton->setDefault(true);
    CancelButton->setAutoDefault(false);
    setTabOrder(txtWrkCall, OKButton);
    setTabOrder(OKButton, CancelButton);
}

WorkedCall::WorkedCall(QLineEdit* txtWrkStation, QWidget* dialogParent)
    : txtWrkStation_(txtWrkStation), dialogParent_(dialogParent) {
    txtWrkStation_->installEventFilter(this);
}

WorkedCallDialog* WorkedCall::dlgWrkCall() {
    if (!dialog_) {
        dialog_ = new WorkedCallDialog(dialogParent_);
        connect(dialog_->OKButton, &QPushButton::clicked, this, &WorkedCall::ConfirmFromDialog);
        // Cancel, the window frame and ESC all only hide it.
        connect(dialog_->CancelButton, &QPushButton::clicked, this, [this] {
            dialog_->hide();
            focusKeyboard();
        });
    }
    return dialog_;
}

void WorkedCall::ShowDialog() {
    dlgWrkCall()->show();
    dialog_->txtWrkCall->setFocus();
}

bool WorkedCall::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtWrkStation_) return false;
    if (event->type() == QEvent::MouseButtonPress) txtWrkStation_->clear();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) ConfirmFromBox();
    }
    return false;
}

void WorkedCall::ConfirmFromDialog() {
    txtWrkStation_->setText(dialog_->txtWrkCall->text().toUpper());
    dialog_->txtWrkCall->clear();
    dialog_->hide();
    focusKeyboard();
    Confirm(txtWrkStation_->text());
}

void WorkedCall::ConfirmFromBox() {
    txtWrkStation_->setText(txtWrkStation_->text().toUpper());
    focusKeyboard();
    Confirm(txtWrkStation_->text());
}

void WorkedCall::Confirm(const QString& call) {
    workedCall_ = call;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(call);
}
