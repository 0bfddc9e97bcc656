#pragma once

class QTextEdit;

// Qt draws a line of a text box by laying it out again from its first character, and looks for the
// end of a word from the start of each line it breaks, so a line of a hundred thousand characters
// costs milliseconds each time it is drawn, and one without a space seconds to lay out. These keep a
// box's cost the same however long its lines grow.
namespace LongLines {

// Every line longer than a thousand characters keeps its layout, so that drawing it again costs what
// drawing a short one does.
void KeepLaidOut(QTextEdit* edit);

// While the text holds a run without a space too long for any line, lines break anywhere, not only
// between words: the run is then laid out in a time that grows with its length, not with its square.
// Such a run is broken anywhere in any case; the words of the other lines are too while it stands.
void BreakRunsAnywhere(QTextEdit* edit);

} // namespace LongLines
