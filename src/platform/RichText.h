#pragma once

#include <QColor>
#include <QString>
#include <functional>

class QTextEdit;

// A rich-text box in the terms the windows use: 0-based positions in a text whose line breaks read
// as CR LF, a position past the end meaning the end, a selection with a colour. Changes made through
// this class do not count as the operator's editing, except inserting text at the selection.
class RichText {
public:
    explicit RichText(QTextEdit* edit);

    QString Text() const;
    static QString TextOf(const QTextEdit* edit);
    int Length() const;
    // The text is empty or ends with a line break.
    bool OnEmptyLine() const;
    void SetText(const QString& text);
    void Append(const QString& text);

    int SelStart() const;
    void SetSelStart(int position);
    void SetSelLength(int length);
    void SetSelColor(const QColor& color);
    void SetSelText(const QString& text);

    // Runs after every change of the text that did not come from SetText, Append or SetSelColor:
    // the operator's typing and SetSelText. The change replaced removed characters at position by
    // added ones, in this class's positions (a line break counts two).
    std::function<void(int position, int removed, int added)> onEdited;

private:
    int ToDocument(int position) const;
    int FromDocument(int position) const;
    template <typename Change> void Quietly(Change change);

    QTextEdit* edit_;
    bool quiet_ = false;
    // The length before the change being reported, which the document no longer knows.
    int length_ = 0;
};
