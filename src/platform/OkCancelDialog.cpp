#include "platform/OkCancelDialog.h"

#include <QPushButton>

void OkCancelDialog::SetOkCancel(QPushButton* ok, QPushButton* cancel) {
    ok->setDefault(true);
    cancel_ = cancel;
}

void OkCancelDialog::reject() {
    if (cancel_) cancel_->click();
}
