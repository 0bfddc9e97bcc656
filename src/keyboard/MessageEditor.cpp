#include "keyboard/MessageEditor.h"

#include "keyboard/WorkedCall.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/RichText.h"
#include "profile/OperatorProfile.h"

QString MessageEditor::Expanded(int number) {
    const OperatorIdentity& identity = p_.profile.identity;
    const ContestSettings& contest = p_.profile.contest;
    bool sendsSerial = false;
    QString expanded = ExpandMacros(p_.profile.MessageText(number),
                                    {identity.myCall, p_.workedCall.workedCall(), identity.name, identity.qth,
                                     contest.serial, contest.cutNumbers},
                                    &sendsSerial);
    if (sendsSerial) p_.serialSent();
    return expanded;
}

void MessageEditor::ButtonClicked(int index) {
    if (p_.state.messageEditMode) {
        Choose(index + 1,
               QStringLiteral("Editing Message %1....Press Return When Finished Editing! ESC to Cancel"));
    } else {
        SendByButton(index + 1);
    }
}

void MessageEditor::SendByButton(int number) {
    p_.keyboard.SetSelStart(RichText::End);
    p_.keyboard.SetSelText(Expanded(number));
    p_.focusKeyboard();
}

// A message sent by its key lands at the operator's caret.
void MessageEditor::SendByKey(int number) {
    p_.keyboard.SetSelText(Expanded(number));
}

void MessageEditor::EnterEditState() {
    p_.monitorTimer.SetEnabled(false);
    p_.state.transmitting = false;
    p_.display.ShowEditState(true);
    p_.display.ShowEditStatus(
        QStringLiteral("Click Message Number or Press Corresponding Function Key - ESC to Cancel"));
    p_.state.messageEditMode = true;
    p_.transmitTimer.SetEnabled(false);
    p_.state.messageEditNumber = 0;
}

void MessageEditor::ChooseByKey(int number) {
    Choose(number, QStringLiteral("Editing Message  %1....Press Return To Save Message! ESC to Cancel"));
}

// The raw text is edited: macros stay unexpanded. Button and key differ only in the wording shown.
void MessageEditor::Choose(int number, const QString& info) {
    EmptyKeyboard(p_.keyboard, p_.state);
    p_.state.messageEditNumber = number;
    p_.display.ShowEditStatus(info.arg(number));
    p_.keyboard.SetText(p_.profile.MessageText(number));
    p_.focusKeyboard();
}

// Only the message changes: reloading the whole profile would throw away the operator's live,
// unsaved speed and paddle changes.
void MessageEditor::Save() {
    p_.state.messageEditMode = false;
    const int number = p_.state.messageEditNumber;
    const QString message = p_.keyboard.Text();
    const auto title =
        p_.prompts.InputBox(QStringLiteral("Input a Title for this message....5 Characters Max!!!"),
                            QStringLiteral("Message Title"), p_.profile.titles[number - 1]);
    if (const ProfileProblem problem = p_.profile.SaveMessage(number, message, title.value_or(QString())))
        p_.prompts.MessageBox(*problem, QString(), Prompts::Buttons::Ok);
    p_.display.ShowStoredMessage(number);
    ReturnToNormal(QStringLiteral("Message Saved, Returning To Normal Keyboard Operation"));
}

void MessageEditor::Cancel() {
    p_.state.messageEditMode = false;
    ReturnToNormal(QStringLiteral("Message Edit Cancelled, Returning To Normal Keyboard Operation"));
}

void MessageEditor::ReturnToNormal(const QString& status) {
    p_.display.ShowEditStatus(status);
    EmptyKeyboard(p_.keyboard, p_.state);
    p_.state.transmitting = true;
    p_.display.ShowEditState(false);
    p_.transmitTimer.SetEnabled(false);
    p_.monitorTimer.SetEnabled(true);
}
