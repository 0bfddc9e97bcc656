#pragma once

#include <QColor>
#include <QString>
#include <QTextCursor>
#include <functional>

class QTextEdit;

// A rich-text box in the terms the windows use: 0-based positions in a text whose line breaks read
// as CR LF, a position past the end meaning the end. Changes made through this class do not count as
// the operator's editing, except inserting text at the selection.
//
// Everything but Text costs the same however long the text is (a lookup among the text's lines, not
// a pass over it), and a long line keeps its layout, so that sending a character does not slow down
// as the windows fill up.
class RichText {
public:
    // A selection start past any text: the end.
    static constexpr int End = 1 << 30;

    // Runs after every change of the text that did not come from SetText or Append: the operator's
    // typing and SetSelText. The change replaced removed characters at position by added ones, in
    // this class's positions (a line break counts two).
    using Edited = std::function<void(int position, int removed, int added)>;

    explicit RichText(QTextEdit* edit, Edited onEdited = {});

    QString Text() const;
    static QString TextOf(const QTextEdit* edit);
    int Length() const;
    // The character at position, '\r' and '\n' for the two halves of a line break; nothing past the end.
    QChar At(int position) const;
    // At most count characters from position on.
    QString Mid(int position, int count) const;
    // The number of characters after the last line break: 0 when the text is empty or ends with one.
    int LastLineLength() const;
    void SetText(const QString& text);
    void Append(const QString& text);

    int SelStart() const;
    void SetSelStart(int position);
    void SetSelText(const QString& text);
    // Adds text at the end as an edit, which onEdited reports as it reports typing, and leaves the
    // caret and the selection where they are in the text; a caret at the end stays at the end.
    void InsertAtEnd(const QString& text);

    // A place in the text that follows its edits: text inserted right at it goes after it, and a
    // place in text that is removed moves to where the removal was (the start, when all is replaced).
    class Place {
        friend class RichText;
        explicit Place(const QTextCursor& cursor) : cursor_(cursor) {}
        QTextCursor cursor_;
    };
    Place PlaceAt(int position) const;
    int PositionOf(const Place& place) const;

    // Shows the text before position in colour, drawn over the text rather than written into it, so
    // that moving the end of it never lays the text out again, nor moves the operator's caret.
    void ShowColouredUpTo(int position, const QColor& colour);

private:
    int ToDocument(int position) const;
    int FromDocument(int position) const;
    template <typename Change> void Quietly(Change change);

    QTextEdit* edit_;
    Edited onEdited_;
    bool quiet_ = false;
    // The length before the change being reported, which the document no longer knows.
    int length_ = 0;
};
