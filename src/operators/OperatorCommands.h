#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class OperatorDialog;
class Prompts;
class QWidget;
class SelectOperatorDialog;

// Selecting, creating, editing and deleting operators. The dialogs do not block: each command goes on
// when its dialog is left, so the main window stays usable and can always be closed. While one command
// is under way, another only brings its dialog forward.
class OperatorCommands : public QObject {
    Q_OBJECT
public:
    // The main window's state that the commands read and replace.
    struct Parts {
        QWidget& window;
        Prompts& prompts;
        QString folder;
        QString stateFile;
        QString& operatorFile;
        QString& myCall;
        QString& name;
        QString& qth;
        // The file choosers offer the name they returned last.
        QString& lastChosenFile;
        // A save that makes a profile (New Operator, OK in the operator dialog) may create its file.
        std::function<void(bool makesProfile)> saveProfile;
        std::function<void()> loadProfile;
        std::function<void()> sendKeyerSettings;
        // Shows the operator's call under the menu bar.
        std::function<void()> showCall;
        // Gives the window's settings what a new operator's profile starts with.
        std::function<void()> startNewProfile;
    };

    explicit OperatorCommands(Parts parts);

    void SelectOperator();
    void NewOperator();
    void EditOperator();
    // The profile that the state file names is not there: the operator is told and chooses again.
    void SelectInsteadOfMissing();
    // Puts the current identity into the operator dialog's boxes.
    void ShowIdentity();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Then = std::function<void()>;

    // Created on first use, then only hidden and shown again.
    SelectOperatorDialog* dlgSelectOperator();
    OperatorDialog* dlgOperator();

    bool Begin();
    void End();
    void RunSelection(Then then);
    // The list of operators; the one at preselected, when listed, is selected.
    void ScanAndAsk(const QString& preselected = QString());
    void NotSelected();
    void Browse();
    void Commit(const QString& path);
    void EndSelection();
    void RunNew(Then then);
    void EndNew();
    // OK in the operator dialog named a file for the operator: the dialog keeps it until next time.
    bool OperatorNamed() const;
    void OkClicked();
    void CancelClicked();
    void DeleteClicked();
    void ClosedByFrame();
    void EndEdit(bool makesProfile);
    void FinishEdit(bool makesProfile);
    void TakeIdentity(const QString& call);
    void ShowTitle();

    Parts p_;
    SelectOperatorDialog* selectDialog_ = nullptr;
    OperatorDialog* operatorDialog_ = nullptr;
    QStringList scanned_;
    Then afterSelection_;
    Then afterNew_;
    bool underWay_ = false;
};
