#pragma once

#include <QDialog>

// An operator dialog that is only ever hidden, so its boxes keep their texts, and that no key closes:
// ESC does nothing, and closing it by its frame hides it and says so.
class KeptDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

signals:
    void closedByFrame();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
