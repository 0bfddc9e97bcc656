#include "keyboard/WorkedCall.h"

#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

WorkedCallDialog::WorkedCallDialog(QWidget* parent)
    : OkCancelDialog(parent), txtWrkCall(new QLineEdit(this)),
      OKButton(new QPushButton(QStringLiteral("OK"), this)),
      CancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Enter Work Station Call"));
    setModal(false);
    // A centred column laid out from its contents; the designed sizes are the least.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(TwipsToPixels(1000), TwipsToPixels(330), TwipsToPixels(1000),
                               TwipsToPixels(330));
    txtWrkCall->setMinimumSize(TwipsToPixels(1245), TwipsToPixels(375));
    txtWrkCall->setAccessibleName(QStringLiteral("Worked station's call"));
    column->addWidget(txtWrkCall);
    for (QPushButton* button : {OKButton, CancelButton}) {
        button->setMinimumSize(TwipsToPixels(1215), TwipsToPixels(375));
        column->addWidget(button);
    }
    SetOkCancel(OKButton, CancelButton);
    setTabOrder(txtWrkCall, OKButton);
    setTabOrder(OKButton, CancelButton);
}

WorkedCall::WorkedCall(QWidget* boxParent, QWidget* window, std::function<void()> focusKeyboard)
    : QObject(window), window_(window), focusKeyboard_(std::move(focusKeyboard)),
      txtWrkStation_(new QLineEdit(boxParent)) {
    txtWrkStation_->setObjectName(QStringLiteral("txtWrkStation"));
    txtWrkStation_->installEventFilter(this);
}

WorkedCallDialog* WorkedCall::dlgWrkCall() {
    if (!dialog_) {
        dialog_ = new WorkedCallDialog(window_);
        connect(dialog_->OKButton, &QPushButton::clicked, this, &WorkedCall::ConfirmFromDialog);
        // Cancel, the window frame and ESC: hidden, the entry kept for the next time.
        connect(dialog_->CancelButton, &QPushButton::clicked, this, [this] {
            dialog_->hide();
            focusKeyboard_();
        });
    }
    return dialog_;
}

void WorkedCall::ShowDialog() {
    ShowCentredOn(dlgWrkCall(), window_);
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
    focusKeyboard_();
    Confirm(txtWrkStation_->text());
}

void WorkedCall::ConfirmFromBox() {
    txtWrkStation_->setText(txtWrkStation_->text().toUpper());
    focusKeyboard_();
    Confirm(txtWrkStation_->text());
}

void WorkedCall::Confirm(const QString& call) {
    workedCall_ = call;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(call);
    emit confirmed();
}
