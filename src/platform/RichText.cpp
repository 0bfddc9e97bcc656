#include "platform/RichText.h"

#include "platform/LongLines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

namespace {

QString ToDocumentText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The document's own length: one position for each character and line break, none for the
// paragraph that closes every document.
int DocumentLength(const QTextDocument* document) {
    return document->characterCount() - 1;
}

} // namespace

RichText::RichText(QTextEdit* edit, Edited onEdited)
    : edit_(edit), onEdited_(std::move(onEdited)), length_(Length()) {
    LongLines::KeepLaidOut(edit_);
    QObject::connect(
        edit_->document(), &QTextDocument::contentsChange, edit_, [this](int position, int, int added) {
            if (!onEdited_) return;
            const int before = length_;
            length_ = Length();
            if (quiet_) return;
            const int start = FromDocument(position);
            // The document may count its closing paragraph in the change.
            const int end = FromDocument(std::min(position + added, DocumentLength(edit_->document())));
            const int addedHere = end - start;
            onEdited_(start, before - (length_ - addedHere), addedHere);
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

// Each line break but the document's last paragraph counts two here.
int RichText::Length() const {
    const QTextDocument* document = edit_->document();
    return DocumentLength(document) + document->blockCount() - 1;
}

QChar RichText::At(int position) const {
    if (position < 0 || position >= Length()) return {};
    const int inDocument = ToDocument(position);
    // The LF half of a break maps to the same document position as its CR half.
    if (FromDocument(inDocument) != position) return QLatin1Char('\n');
    const QChar character = edit_->document()->characterAt(inDocument);
    return character == QChar::ParagraphSeparator ? QLatin1Char('\r') : character;
}

QString RichText::Mid(int position, int count) const {
    QString text;
    for (int index = position; index < std::min(Length(), position + count); ++index)
        text += At(index);
    return text;
}

int RichText::LastLineLength() const {
    // A block's length counts its closing separator.
    return edit_->document()->lastBlock().length() - 1;
}

void RichText::SetText(const QString& text) {
    Quietly([&] { edit_->setPlainText(ToDocumentText(text)); });
}

void RichText::Append(const QString& text) {
    Quietly([&] { InsertAtEnd(text); });
}

// The line holding a document position is found in the document's tree of lines; a position here is
// the document's position plus the number of lines before it.
int RichText::FromDocument(int position) const {
    return position + edit_->document()->findBlock(position).blockNumber();
}

int RichText::ToDocument(int position) const {
    const QTextDocument* document = edit_->document();
    position = std::clamp(position, 0, Length());
    // The last line starting at or before the position, by the lines' starts in this class's terms.
    int first = 0;
    int last = document->blockCount() - 1;
    while (first < last) {
        const int middle = (first + last + 1) / 2;
        const QTextBlock block = document->findBlockByNumber(middle);
        if (block.position() + middle <= position) {
            first = middle;
        } else {
            last = middle - 1;
        }
    }
    const QTextBlock line = document->findBlockByNumber(first);
    // A position on the LF of the line's break stays on the break.
    return line.position() + std::min(position - (line.position() + first), line.length() - 1);
}

int RichText::SelStart() const {
    return FromDocument(edit_->textCursor().selectionStart());
}

void RichText::SetSelStart(int position) {
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(ToDocument(position));
    edit_->setTextCursor(cursor);
}

void RichText::SetSelText(const QString& text) {
    QTextCursor cursor = edit_->textCursor();
    cursor.insertText(ToDocumentText(text), edit_->currentCharFormat());
    edit_->setTextCursor(cursor);
}

// Inside an edit block a cursor that moves does not work out where on the screen it stands, which
// would shape the last line once more only to throw it away.
void RichText::InsertAtEnd(const QString& text) {
    QTextCursor cursor(edit_->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToDocumentText(text), edit_->currentCharFormat());
    cursor.endEditBlock();
}

RichText::Place RichText::PlaceAt(int position) const {
    QTextCursor cursor(edit_->document());
    cursor.setPosition(ToDocument(position));
    cursor.setKeepPositionOnInsert(true);
    return Place(cursor);
}

int RichText::PositionOf(const Place& place) const {
    return FromDocument(place.cursor_.position());
}

void RichText::ShowColouredUpTo(int position, const QColor& colour) {
    QTextEdit::ExtraSelection coloured;
    coloured.cursor = QTextCursor(edit_->document());
    coloured.cursor.setPosition(ToDocument(position), QTextCursor::KeepAnchor);
    // Text typed where the colour ends is not yet sent: the colour does not grow over it.
    coloured.cursor.setKeepPositionOnInsert(true);
    coloured.format.setForeground(colour);
    edit_->setExtraSelections({coloured});
}
