#include "operators/KeptDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

void KeptDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return event->ignore();
    QDialog::keyPressEvent(event);
}

// Hidden here rather than closed, so that whatever follows may show the dialog again at once.
void KeptDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit closedByFrame();
}
