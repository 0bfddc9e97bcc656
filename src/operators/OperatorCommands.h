#pragma once

#include "profile/OperatorProfile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class IniDocument;
class OperatorDialog;
class Prompts;
class QWidget;
class SelectOperatorDialog;

// What the operator commands show, through the window that owns the controls.
class OperatorDisplay {
public:
    virtual ~OperatorDisplay() = default;
    // The operator's call under the menu bar and the profile's name in the title bar.
    virtual void ShowOperator() = 0;
    // The stored messages' titles and the serial number, after a new profile took its own.
    virtual void ShowProfileTexts() = 0;
};

// Selecting, creating, editing and deleting operators. The dialogs do not block: each command goes on
// when its dialog is left, so the main window stays usable and can always be closed. While one command
// is under way, another only brings its dialog forward.
class OperatorCommands : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget& window;
        Prompts& prompts;
        QString folder;
        QString stateFile;
        // Its identity and file are what the commands read and replace.
        OperatorProfile& profile;
        OperatorDisplay& display;
        // A save that makes a profile (New Operator, OK in the operator dialog) may create its file.
        std::function<void(bool makesProfile)> saveProfile;
        // Loads the profile, shows it, the operator too, and sends its settings to the unit.
        std::function<void()> loadProfile;
    };

    explicit OperatorCommands(Parts parts);

    void SelectOperator();
    void NewOperator();
    void EditOperator();
    // The profile that the state file names is not there: the operator is told and chooses again.
    void SelectInsteadOfMissing();
    // File > Save As: the profile into a file the operator chooses, which becomes the current one.
    // Why it could not be saved, for the window to tell.
    ProfileProblem SaveAs();
    // The state file names the current profile, as the next start is to find it.
    void RecordOperatorFile();
    // The profile's file as the state file recorded it, read whole: a path cut short would name another.
    void TakeRecordedOperatorFile(const IniDocument& stateFile);

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
    // Puts the current identity into the operator dialog's boxes.
    void ShowIdentity();

    Parts p_;
    SelectOperatorDialog* selectDialog_ = nullptr;
    OperatorDialog* operatorDialog_ = nullptr;
    QStringList scanned_;
    // The file choosers offer the name they returned last.
    QString lastChosenFile_;
    Then afterSelection_;
    Then afterNew_;
    bool underWay_ = false;
};
