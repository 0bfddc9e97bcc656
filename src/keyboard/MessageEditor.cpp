#include "keyboard/MessageEditor.h"

#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "platform/RichText.h"
#include "profile/ProfileFile.h"

namespace {

const QString NoTitle = QStringLiteral("--");

} // namespace

// A stored text ending in "*" keeps a trailing blank through the profile file; the "*" never goes out.
QString MessageEditor::StoredText(int number) const {
    QString text = p_.messageTexts[number - 1];
    if (text.endsWith(QLatin1Char('*'))) text.chop(1);
    return text;
}

void MessageEditor::ButtonClicked(int index) {
    if (p_.state.messageEditMode) {
        Choose(index + 1,
               QStringLiteral("Editing Message %1....Press Return When Finished Editing! ESC to Cancel"));
    } else {
        SendByButton(index + 1);
    }
}

QString MessageEditor::Expanded(int number) {
    bool sendsSerial = false;
    QString expanded = ExpandMacros(StoredText(number), macroValues(), &sendsSerial);
    if (sendsSerial) serialSent();
    return expanded;
}

void MessageEditor::SendByButton(int number) {
    const QString expanded = Expanded(number);
    p_.keyboard.SetSelStart(RichText::End);
    p_.keyboard.SetSelText(expanded);
    focusKeyboard();
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
    p_.keyboard.SetText(StoredText(number));
    focusKeyboard();
}

QString MessageEditor::TitleFor(const QString& message, int number) {
    const auto answer =
        p_.prompts.InputBox(QStringLiteral("Input a Title for this message....5 Characters Max!!!"),
                            QStringLiteral("Message Title"), p_.display.MessageTitle(number));
    const QString title = answer.value_or(QString());
    return message.isEmpty() || title.isEmpty() ? NoTitle : title;
}

void MessageEditor::Save() {
    p_.state.messageEditMode = false;
    const int number = p_.state.messageEditNumber;
    const QString message = p_.keyboard.Text();
    const QString file = operatorFile();
    QString title = TitleFor(message, number);
    // Line breaks become blanks in the file; a blank they leave at the end must survive as well.
    QString stored = message;
    stored.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (stored.endsWith(QLatin1Char(' '))) stored += QLatin1Char('*');
    if (const ProfileProblem problem = StoreMessage(file, number, stored, title))
        p_.prompts.MessageBox(*problem, QString(), Prompts::Buttons::Ok);
    // Only the message changes: reloading the whole profile would throw away the operator's live,
    // unsaved speed and paddle changes.
    p_.messageTexts[number - 1] = stored.trimmed();
    p_.display.ShowStoredMessage(number, title);
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
