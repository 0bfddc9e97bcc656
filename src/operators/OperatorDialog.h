#pragma once

#include "operators/KeptDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The operator details dialog: call, name, QTH and the profile's file name, for a new operator or the
// current one (Edit, which also offers Delete). It tidies the entries as they are left; what its buttons
// mean is up to the commands that show it. It only hides when it closes, so its boxes keep their texts.
class OperatorDialog : public KeptDialog {
    Q_OBJECT
public:
    explicit OperatorDialog(const QString& folder, QWidget* parent = nullptr);

    // Empty boxes, caption "New Operator", Delete out of sight, the focus in the call box.
    void PrepareNew();
    // The current operator in the boxes, caption "Operator", Delete in sight.
    void PrepareEdit(const QString& call, const QString& name, const QString& qth, const QString& fileName);
    bool Editing() const { return editing_; }
    // The designed client area, taller for an edit, which shows Delete.
    QSize sizeHint() const override;
    void ClearBoxes();
    // For a new operator whose call was typed but whose file is still unnamed: the file the call proposes.
    void ProposeFileName();

    QLineEdit* txtCall;
    QLineEdit* txtName;
    QLineEdit* txtQTH;
    QLineEdit* txtFilename;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* cmdDelOp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Prepare(bool editing, const QString& caption);
    void ReturnPressed(QLineEdit* box);
    void Left(QLineEdit* box, Qt::FocusReason reason);
    // The entry rules of a box that is left.
    void Tidy(QLineEdit* box);
    void SelectFileName();

    QString folder_;
    bool editing_ = false;
    // The box that last gained the focus, until it loses it again.
    QLineEdit* focused_ = nullptr;
};
