#pragma once

#include "operators/KeptDialog.h"

class QListWidget;
class QPushButton;

// The Select Operator dialog: the operators found in the program's folder, and Browse for a profile
// anywhere else. It only hides when it closes, and tells how it was left by its signals.
class SelectOperatorDialog : public KeptDialog {
    Q_OBJECT
public:
    explicit SelectOperatorDialog(QWidget* parent = nullptr);

    // The designed client area.
    QSize sizeHint() const override;
    // Fills the list afresh, with no entry selected.
    void ShowNames(const QStringList& names);

    QListWidget* lstOperators;
    QPushButton* cmdBrowse;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    // OK, Cancel, Return in the list or a double-click; the selected entry's row, or -1 for none.
    void closedWith(int row);
    void browseClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CloseWithSelection();
};
