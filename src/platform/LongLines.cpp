#include "platform/LongLines.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>

namespace {

constexpr int LongLine = 1000;
// Far more than a line holds at any width of the window.
constexpr int LongRun = 2000;
// A line's mark that it holds a run that long.
constexpr int HoldsLongRun = 1;

// Runs for each line that a change of the text touched.
template <typename Visit>
void ForChangedLines(const QTextDocument* document, int position, int added, Visit visit) {
    const QTextBlock last = document->findBlock(position + added);
    for (QTextBlock line = document->findBlock(position); line.isValid(); line = line.next()) {
        visit(line);
        if (line == last) return;
    }
}

bool HasLongRun(const QString& text) {
    int run = 0;
    return std::any_of(text.begin(), text.end(), [&run](QChar character) {
        run = character.isSpace() ? 0 : run + 1;
        return run > LongRun;
    });
}

bool AnyLineHoldsLongRun(const QTextDocument* document) {
    for (QTextBlock line = document->firstBlock(); line.isValid(); line = line.next())
        if (line.userState() == HoldsLongRun) return true;
    return false;
}

} // namespace

void LongLines::KeepLaidOut(QTextEdit* edit) {
    const QTextDocument* document = edit->document();
    QObject::connect(document, &QTextDocument::contentsChange, edit,
                     [document](int position, int, int added) {
                         ForChangedLines(document, position, added, [](QTextBlock& line) {
                             if (line.length() > LongLine) line.layout()->setCacheEnabled(true);
                         });
                     });
}

// The mode is chosen as the text changes, before the text is laid out in it.
void LongLines::BreakRunsAnywhere(QTextEdit* edit) {
    const QTextDocument* document = edit->document();
    QObject::connect(document, &QTextDocument::contentsChange, edit,
                     [edit, document](int position, int, int added) {
                         ForChangedLines(document, position, added, [](QTextBlock& line) {
                             line.setUserState(HasLongRun(line.text()) ? HoldsLongRun : 0);
                         });
                         const QTextOption::WrapMode mode = AnyLineHoldsLongRun(document)
                                                                ? QTextOption::WrapAnywhere
                                                                : QTextOption::WrapAtWordBoundaryOrAnywhere;
                         if (edit->wordWrapMode() != mode) edit->setWordWrapMode(mode);
                     });
}
