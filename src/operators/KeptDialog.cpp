#include "operators/KeptDialog.h"

#include <QCloseEvent>

// Hidden here rather than closed, so that whatever follows may show the dialog again at once.
void KeptDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit closedByFrame();
}
