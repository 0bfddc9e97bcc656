#include "platform/RichText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QString ToDocumentText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

RichText::RichText(QTextEdit* edit) : edit_(edit), length_(Length()) {
    QObject::connect(
        edit_->document(), &QTextDocument::contentsChange, edit_, [this](int position, int, int added) {
            if (!onEdited) return;
            const int before = length_;
            length_ = Length();
            if (quiet_) return;
            const int start = FromDocument(position);
            // The document may count its closing paragraph in the change.
            const int end = FromDocument(std::min<int>(position + added, edit_->toPlainText().size()));
            const int addedHere = end - start;
            onEdited(start, before - (length_ - addedHere), addedHere);
        });
}

template <typename Change> void RichText::Quietly(Change change) {
    const bool wasQuiet = quiet_;
    quiet_ = true;
    change();
    quiet_ = wasQuiet;
}

// toPlainText maps every document position to one character, a line break to "\n".
QString RichText::Text() const {
    return TextOf(edit_);
}

QString RichText::TextOf(const QTextEdit* edit) {
    QString text = edit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

int RichText::Length() const {
    const QString plain = edit_->toPlainText();
    return static_cast<int>(plain.size() + plain.count(QLatin1Char('\n')));
}

bool RichText::OnEmptyLine() const {
    // A block's length counts its closing separator.
    return edit_->document()->lastBlock().length() <= 1;
}

void RichText::SetText(const QString& text) {
    Quietly([&] { edit_->setPlainText(ToDocumentText(text)); });
}

void RichText::Append(const QString& text) {
    Quietly([&] {
        QTextCursor cursor(edit_->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(ToDocumentText(text), edit_->currentCharFormat());
    });
}

int RichText::ToDocument(int position) const {
    const QString plain = edit_->toPlainText();
    int remaining = qMax(0, position);
    int index = 0;
    // A line break is two positions here and one in the document.
    while (index < plain.size() && remaining > 0) {
        remaining -= plain.at(index) == QLatin1Char('\n') ? 2 : 1;
        ++index;
    }
    return index;
}

int RichText::FromDocument(int position) const {
    const QString plain = edit_->toPlainText().left(position);
    return position + static_cast<int>(plain.count(QLatin1Char('\n')));
}

int RichText::SelStart() const {
    return FromDocument(edit_->textCursor().selectionStart());
}

void RichText::SetSelStart(int position) {
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(ToDocument(position));
    edit_->setTextCursor(cursor);
}

void RichText::SetSelLength(int length) {
    QTextCursor cursor = edit_->textCursor();
    const int start = cursor.selectionStart();
    const int end = ToDocument(FromDocument(start) + qMax(0, length));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

void RichText::SetSelColor(const QColor& color) {
    Quietly([&] { edit_->setTextColor(color); });
}

void RichText::SetSelText(const QString& text) {
    QTextCursor cursor = edit_->textCursor();
    cursor.insertText(ToDocumentText(text), edit_->currentCharFormat());
    edit_->setTextCursor(cursor);
}
