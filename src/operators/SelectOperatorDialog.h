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
    // Fills the list afresh, with the entry at selectedRow selected (none for -1), and puts the
    // focus in it, so that the arrows choose and Enter takes the choice.
    void ShowNames(const QStringList& names, int selectedRow);

    QListWidget* lstOperators;
    QPushButton* cmdBrowse;
    QPushButton* OKButton;
    QPushButton* CancelButton;

signals:
    // OK, Cancel, Enter or ESC, or a double-click; the selected entry's row, or -1 for none.
    void closedWith(int row);
    void browseClicked();

private:
    void CloseWithSelection();
};
