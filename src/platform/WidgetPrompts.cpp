#include "platform/WidgetPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString CaptionOrTitle(const QString& caption) {
    return caption.isEmpty() ? QStringLiteral("Tandrel") : caption;
}

QString StartPath(const QString& folder, const QString& suggestedName) {
    return suggestedName.isEmpty() ? folder : QDir(folder).filePath(suggestedName);
}

} // namespace

Prompts::Answer WidgetPrompts::MessageBox(const QString& text, const QString& caption, Buttons buttons) {
    if (buttons == Buttons::Ok) {
        QMessageBox::information(parent_, CaptionOrTitle(caption), text, QMessageBox::Ok);
        return Answer::Ok;
    }
    const auto answer = QMessageBox::question(parent_, CaptionOrTitle(caption), text,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> WidgetPrompts::InputBox(const QString& prompt, const QString& caption,
                                               const QString& defaultAnswer) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, CaptionOrTitle(caption), prompt, QLineEdit::Normal,
                                               defaultAnswer, &ok);
    if (!ok) return std::nullopt;
    return text;
}

QString WidgetPrompts::SaveFileName(const QString& title, const QString& folder, const QString& filter,
                                    const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent_, title, StartPath(folder, suggestedName), filter);
}

QString WidgetPrompts::OpenFileName(const QString& title, const QString& folder, const QString& filter,
                                    const QString& suggestedName) {
    return QFileDialog::getOpenFileName(parent_, title, StartPath(folder, suggestedName), filter);
}
