#include "operators/OperatorCommands.h"

#include "operators/OperatorDialog.h"
#include "operators/OperatorFiles.h"
#include "operators/SelectOperatorDialog.h"
#include "platform/Prompts.h"
#include "platform/WindowPlacement.h"
#include "profile/IniFile.h"
#include "profile/ProfileFile.h"

#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <utility>

namespace {

const QString OperatorSection = QStringLiteral("Operator");
const QString RecordKey = QStringLiteral("INIFile");
const QString PleaseSelect = QStringLiteral("Please Select Operator");
const QString ProfileFilter = QStringLiteral("Initialization Files (*.INI *.ini)");

void ShowInFront(QDialog* dialog) {
    ShowCentredOn(dialog, dialog->parentWidget());
}

} // namespace

OperatorCommands::OperatorCommands(Parts parts) : p_(std::move(parts)) {
    p_.window.installEventFilter(this);
}

// The program ends with its window: a dialog left open must not keep it running.
bool OperatorCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &p_.window && event->type() == QEvent::Close) {
        for (QDialog* dialog :
             {static_cast<QDialog*>(selectDialog_), static_cast<QDialog*>(operatorDialog_)}) {
            if (dialog) dialog->hide();
        }
    }
    return QObject::eventFilter(watched, event);
}

SelectOperatorDialog* OperatorCommands::dlgSelectOperator() {
    if (!selectDialog_) {
        selectDialog_ = new SelectOperatorDialog(&p_.window);
        connect(selectDialog_, &SelectOperatorDialog::closedWith, this,
                [this](int row) { row < 0 ? NotSelected() : Commit(scanned_[row]); });
        connect(selectDialog_, &SelectOperatorDialog::browseClicked, this, &OperatorCommands::Browse);
        // Closed by its frame, the dialog is left as a cancelled Browse leaves it: nothing changes.
        connect(selectDialog_, &SelectOperatorDialog::closedByFrame, this, &OperatorCommands::EndSelection);
    }
    return selectDialog_;
}

OperatorDialog* OperatorCommands::dlgOperator() {
    if (!operatorDialog_) {
        operatorDialog_ = new OperatorDialog(p_.folder, &p_.window);
        connect(operatorDialog_->OKButton, &QPushButton::clicked, this, &OperatorCommands::OkClicked);
        connect(operatorDialog_->CancelButton, &QPushButton::clicked, this, &OperatorCommands::CancelClicked);
        connect(operatorDialog_->cmdDelOp, &QPushButton::clicked, this, &OperatorCommands::DeleteClicked);
        connect(operatorDialog_, &OperatorDialog::closedByFrame, this, &OperatorCommands::ClosedByFrame);
    }
    return operatorDialog_;
}

bool OperatorCommands::Begin() {
    if (!underWay_) {
        underWay_ = true;
        return true;
    }
    for (QDialog* dialog : {static_cast<QDialog*>(selectDialog_), static_cast<QDialog*>(operatorDialog_)}) {
        if (dialog && dialog->isVisible()) {
            dialog->raise();
            dialog->activateWindow();
        }
    }
    return false;
}

void OperatorCommands::End() {
    underWay_ = false;
}

void OperatorCommands::SelectOperator() {
    if (Begin()) RunSelection([this] { End(); });
}

void OperatorCommands::NewOperator() {
    if (Begin()) RunNew([this] { End(); });
}

void OperatorCommands::EditOperator() {
    if (!Begin()) return;
    const OperatorIdentity& identity = p_.profile.identity;
    dlgOperator()->PrepareEdit(identity.myCall, identity.name, identity.qth,
                               OperatorBaseName(p_.profile.file));
    ShowInFront(operatorDialog_);
}

void OperatorCommands::SelectInsteadOfMissing() {
    p_.prompts.MessageBox(QStringLiteral("Operator File Not Found!\n") + p_.profile.file, PleaseSelect,
                          Prompts::Buttons::Ok);
    SelectOperator();
}

ProfileProblem OperatorCommands::SaveAs() {
    const QString chosen = p_.prompts.SaveFileName(QStringLiteral("Save Current Settings As"), p_.folder,
                                                   ProfileFilter, lastChosenFile_);
    if (chosen.isEmpty()) return std::nullopt;
    lastChosenFile_ = FileNamePart(chosen);
    const QString path = WithIniExtension(chosen);
    if (IsProtectedProfilePath(path)) {
        p_.prompts.MessageBox(QStringLiteral("Cannot Save as OPERATOR.INI"), QStringLiteral("Protected File"),
                              Prompts::Buttons::Ok);
        return std::nullopt;
    }
    // Only a new file or another operator profile is written over. The path stays as chosen: on a
    // case-sensitive file system its capitals would name another file.
    if (ProfileProblem problem = p_.profile.SaveAs(path)) return problem;
    ShowIdentity();
    RecordOperatorFile();
    return std::nullopt;
}

void OperatorCommands::RecordOperatorFile() {
    QString record = RecordForProfilePath(p_.profile.file, p_.folder);
    WriteIniValue(p_.stateFile, OperatorSection, RecordKey, record);
}

void OperatorCommands::TakeRecordedOperatorFile(const IniDocument& stateFile) {
    p_.profile.file =
        ProfilePathFromRecord(stateFile.Value(OperatorSection, RecordKey).value_or(QString()), p_.folder);
}

void OperatorCommands::ShowIdentity() {
    const OperatorIdentity& identity = p_.profile.identity;
    dlgOperator()->txtCall->setText(identity.myCall);
    operatorDialog_->txtName->setText(identity.name);
    operatorDialog_->txtQTH->setText(identity.qth);
}

void OperatorCommands::RunSelection(Then then) {
    afterSelection_ = std::move(then);
    ScanAndAsk();
}

void OperatorCommands::ScanAndAsk(const QString& preselected) {
    scanned_ = ScanOperatorFiles(p_.folder);
    if (scanned_.isEmpty()) {
        p_.prompts.MessageBox(QStringLiteral("No Operators Defined. Specify New Operator."), QString(),
                              Prompts::Buttons::Ok);
        // The operator made is current already, and offered in the list; without one, the question
        // comes again.
        RunNew([this] { OperatorNamed() ? ScanAndAsk(p_.profile.file) : NotSelected(); });
        return;
    }
    QStringList names;
    for (const QString& path : std::as_const(scanned_))
        names << OperatorBaseName(path);
    dlgSelectOperator()->ShowNames(names, static_cast<int>(scanned_.indexOf(preselected)));
    ShowInFront(selectDialog_);
}

void OperatorCommands::NotSelected() {
    p_.prompts.MessageBox(QStringLiteral("Operator Not Selected!"), PleaseSelect, Prompts::Buttons::Ok);
    ScanAndAsk();
}

void OperatorCommands::Browse() {
    const QString path =
        p_.prompts.OpenFileName(QStringLiteral("Select Operator"), p_.folder, ProfileFilter, lastChosenFile_);
    if (path.isEmpty()) return EndSelection();
    lastChosenFile_ = FileNamePart(path);
    // Saves write into the profile chosen, so a file that is no profile is refused here.
    if (IsProtectedProfilePath(path) || !HoldsOperatorProfile(path)) {
        p_.prompts.MessageBox(QStringLiteral("Not an operator file!"), QStringLiteral("Improper Selection"),
                              Prompts::Buttons::Ok);
        return EndSelection();
    }
    Commit(path);
}

void OperatorCommands::Commit(const QString& path) {
    p_.profile.file = path;
    QString recorded = path;
    WriteIniValue(p_.stateFile, OperatorSection, QStringLiteral("INIFile"), recorded);
    p_.loadProfile();
    EndSelection();
}

void OperatorCommands::EndSelection() {
    if (const Then then = std::exchange(afterSelection_, {})) then();
}

void OperatorCommands::RunNew(Then then) {
    afterNew_ = std::move(then);
    dlgOperator()->PrepareNew();
    ShowInFront(operatorDialog_);
}

// OK has taken the identity and the new file; the file name box is empty unless it made an operator.
void OperatorCommands::EndNew() {
    if (OperatorNamed()) {
        p_.profile.StartNew();
        p_.display.ShowOperator();
        p_.display.ShowProfileTexts();
        // The new operator starts with the current settings and messages, and the starter messages where
        // the window holds none; the save also records the file name in the state file.
        p_.saveProfile(true);
    }
    if (const Then then = std::exchange(afterNew_, {})) then();
}

bool OperatorCommands::OperatorNamed() const {
    return !operatorDialog_->txtFilename->text().isEmpty();
}

void OperatorCommands::OkClicked() {
    OperatorDialog* dialog = operatorDialog_;
    const bool editing = dialog->Editing();
    dialog->ProposeFileName();
    // Without a file name there is no profile to make or to move to.
    if (dialog->txtFilename->text().isEmpty()) {
        dialog->hide();
        return editing ? EndEdit(false) : EndNew();
    }
    const QString path = ProfileFileFor(p_.folder, dialog->txtFilename->text());
    // No profile but the one being edited is written over.
    if (IniFileExists(path) && (!editing || path != p_.profile.file)) {
        p_.prompts.MessageBox(FileNamePart(path) +
                                  QStringLiteral(" Already Exists! Choose Another Filename."),
                              dialog->windowTitle(), Prompts::Buttons::Ok);
        return;
    }
    TakeIdentity(dialog->txtCall->text().toUpper());
    // The profile save that ends the command writes the identity with everything else.
    p_.profile.file = path;
    dialog->hide();
    editing ? EndEdit(true) : EndNew();
}

void OperatorCommands::CancelClicked() {
    OperatorDialog* dialog = operatorDialog_;
    dialog->hide();
    dialog->cmdDelOp->hide();
    dialog->txtCall->setText(p_.profile.identity.myCall);
    dialog->txtFilename->clear();
    dialog->Editing() ? EndEdit(false) : EndNew();
}

void OperatorCommands::DeleteClicked() {
    QString& file = p_.profile.file;
    const auto answer =
        p_.prompts.MessageBox(QStringLiteral("Permanently Delete ") + p_.profile.identity.myCall + '?',
                              QStringLiteral("Delete Operator"), Prompts::Buttons::YesNo);
    // Only an operator profile is deleted: the current file may be one that was never loaded.
    if (answer == Prompts::Answer::Yes && HoldsOperatorProfile(file)) QFile::remove(file);
    file.clear();
    operatorDialog_->hide();
    EndEdit(false);
}

// Closed by its frame, the dialog starts afresh next time; an edit keeps the boxes as typed.
void OperatorCommands::ClosedByFrame() {
    const bool editing = operatorDialog_->Editing();
    if (editing) TakeIdentity(operatorDialog_->txtCall->text());
    operatorDialog_->ClearBoxes();
    editing ? EndEdit(false) : EndNew();
}

void OperatorCommands::EndEdit(bool makesProfile) {
    if (p_.profile.file.isEmpty()) return RunSelection([this] { FinishEdit(false); });
    FinishEdit(makesProfile);
}

// After every way out of the dialog the profile is saved, loaded again and sent.
void OperatorCommands::FinishEdit(bool makesProfile) {
    p_.saveProfile(makesProfile);
    p_.loadProfile();
    End();
}

void OperatorCommands::TakeIdentity(const QString& call) {
    p_.profile.identity = {call, operatorDialog_->txtName->text(), operatorDialog_->txtQTH->text()};
}
