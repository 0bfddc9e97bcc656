#include "Harness.h"
#include "keyboard/KeyboardHandlers.h"

#include <QMenuBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The time from each "C" command written so far to the next.
std::vector<std::int64_t> Gaps(const UnitEmulator& unit) {
    const std::vector<KeyerReport> sent = unit.reportsOf('C');
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < sent.size(); ++i)
        gaps.push_back(sent[i].time - sent[i - 1].time);
    return gaps;
}

// The colour the character at position is drawn in: the colour laid over it, or its own.
QColor ColourAt(QTextEdit* edit, int position) {
    for (const QTextEdit::ExtraSelection& over : edit->extraSelections())
        if (position >= over.cursor.selectionStart() && position < over.cursor.selectionEnd())
            return over.format.foreground().color();
    QTextCursor cursor(edit->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

} // namespace

class TransmitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h;
    ProgCon* w = nullptr;
    QTextEdit* keyboard = nullptr;

    void Type(const QString& text) { QTest::keyClicks(keyboard, text); }
    QLineEdit* Status() const { return h->Find<QLineEdit>("txtInfo"); }
    QPushButton* Button(const char* name) const { return h->Find<QPushButton>(name); }

private slots:
    // A started window at 25 words per minute with letter space 2 and word space 8, nothing sent yet.
    void init() {
        h = std::make_unique<Harness>();
        w = &h->Start();
        keyboard = h->Keyboard();
        h->Panel()->scrWordSpace->setValue(80);
        h->unit.ClearReports();
    }
    void cleanup() { h.reset(); }

    // Discovery before each character costs time that must not add to the character's length.
    void charactersArePacedToTheSpeed() {
        h->unit.SetEnumerationCost(4);
        Type("E0 E[");
        h->clock.Advance(3000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0xA0, 0x02, 0xFF, 0xA0, 0xAA}));
        QCOMPARE(Gaps(h->unit), (std::vector<std::int64_t>{192, 1056, 288, 192}));
        QCOMPARE(h->SentText(), QStringLiteral("E0 E["));
        QCOMPARE(ColourAt(keyboard, 0), QColor(255, 0, 0));
        QCOMPARE(ColourAt(keyboard, 4), QColor(255, 0, 0));
        Type("T");
        QCOMPARE(ColourAt(keyboard, 5), QColor(0, 0, 0));
    }

    // Marks act where they stand and never reach the unit as characters: a speed (one settings
    // transfer each, the speed box following), a half space, a prosign no key types; the operator's
    // speed comes back with the last mark, and after Stop.
    void marksActWhereTheyStand() {
        keyboard->insertPlainText(
            u"E\u203930\u203AE\u2039+5\u203AE\u2039~\u203AE\u2039SN\u203A\u2039\u203AE"_qs);
        h->clock.Advance(400);
        QCOMPARE(h->Panel()->txtSpeed->text(), QStringLiteral(" 35"));
        h->clock.Advance(2600);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0xA0, 0xA0, 0xA0, 0xA0, 0xEA, 0xA0}));
        QCOMPARE(h->unit.letters(), QStringLiteral("CSSSCSSSCCCSSSC"));
        QCOMPARE(Gaps(h->unit), (std::vector<std::int64_t>{192, 160, 136 + 34, 136, (12 + 2) * 34}));
        QCOMPARE(h->SentText(), u"EEEE\u2039SN\u203AE"_qs);
        QCOMPARE(h->unit.settings().speedWpm, 25);

        keyboard->insertPlainText(u"\u203920\u203AEEEE"_qs);
        h->clock.Advance(300);
        QTest::mouseClick(Button("cmdEnd"), Qt::LeftButton);
        QCOMPARE(h->Panel()->txtSpeed->text(), QStringLiteral(" 25"));
        QCOMPARE(h->unit.settings().speedWpm, 25);
        // Typed, a guillemet is no mark and is not even typed.
        QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key_unknown, QString(InlineMark::Open),
                            Qt::NoModifier);
        Type("K");
        QCOMPARE(h->KeyboardText(), QStringLiteral("K"));
    }

    void idleHandsOverToTheMonitor() {
        Type("AB");
        h->clock.Advance(3000);
        QCOMPARE(h->KeyboardText(), QStringLiteral("AB"));
        h->clock.Advance(1000);
        QCOMPARE(h->KeyboardText(), QString());
        QCOMPARE(h->SentText(), QStringLiteral("AB\r\n"));

        // Typing again starts the loop from the first character of the new text.
        Type("KN");
        h->clock.Advance(100);

        // Stop and Esc end the over and its Sent line, and no empty line follows one already ended.
        // The N, handed to the sending thread ahead of its moment, never goes out.
        QTest::mouseClick(Button("cmdEnd"), Qt::LeftButton);
        Type("G4");
        h->clock.Advance(700);
        QTest::keyClick(keyboard, Qt::Key_Escape);
        h->clock.Advance(4000);
        Type("E");
        h->clock.Advance(100);
        QCOMPARE(h->SentText(), QStringLiteral("AB\r\nK\r\nG\r\nE"));
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x48, 0x28, 0xA0}));
    }

    void repeatMarkerSendsAgainUntilStopped() {
        Type("TEST<5");
        h->clock.Advance(1200);
        QCOMPARE(h->SentText(), QStringLiteral("TEST"));
        QCOMPARE(Status()->text(), QStringLiteral("Repeat: Next Round In 5 s - Esc or Stop Ends It"));
        h->clock.Advance(5500);
        QCOMPARE(Status()->text(), QStringLiteral("Repeat Every 5 s: Sending - Esc or Stop Ends It"));

        // Stop ends the second pause at once.
        h->clock.Advance(3000);
        QTest::mouseClick(Button("cmdEnd"), Qt::LeftButton);
        h->clock.Advance(10000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x20, 0xA0, 0xE8, 0x20, 0x20, 0xA0, 0xE8, 0x20}));
        // The pause follows the last character's length.
        QCOMPARE(Gaps(h->unit)[3], std::int64_t(288 + 5000));
        // The stopped round ends its line; the idle hand-over adds no empty line.
        QCOMPARE(h->SentText(), QStringLiteral("TEST\r\nTEST\r\n"));
        QCOMPARE(h->KeyboardText(), QString());
    }

    // The pause counts down to the next round, under the tune sign while ALT keys the transmitter;
    // Esc ends it at once.
    void aRepeatCountsDownUntilEscEndsIt() {
        const QString next = QStringLiteral("Repeat: Next Round In %1 s - Esc or Stop Ends It");
        Type("E<2");
        h->clock.Advance(10);
        QCOMPARE(Status()->text(), next.arg(2));
        QTest::keyPress(keyboard, Qt::Key_Alt);
        QCOMPARE(Status()->text(), QStringLiteral("TRANSMITTER KEYED - Tuning Until ALT Is Released"));
        h->clock.Advance(1000);
        QTest::keyRelease(keyboard, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(Status()->text(), next.arg(2));
        h->clock.Advance(300);
        QCOMPARE(Status()->text(), next.arg(1));
        QTest::keyClick(keyboard, Qt::Key_Escape);
        QCOMPARE(Status()->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(Background(Status()), QColor(140, 180, 220));
        h->clock.Advance(3000);
        QCOMPARE(Codes(h->unit), std::vector<std::uint8_t>{0xA0});
    }

    // Enter reads as CR LF; line breaks and characters without a code end the Sent line, and an
    // empty line is dropped without a trace.
    void lineBreaksAndUncodedCharactersEndTheSentLine() {
        QTest::keyClick(keyboard, Qt::Key_Return);
        h->clock.Advance(100);
        QCOMPARE(h->KeyboardText(), QString());
        QCOMPARE(h->SentText(), QString());

        // A character without a code of its own goes out as BT and shows as the key that types BT.
        Type(QStringLiteral("K-1\\#{"));
        // A letter beyond 8 bits is not mistaken for the letter its low byte happens to be.
        QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key_unknown, QStringLiteral("Ł"), Qt::NoModifier);
        QTest::keyClick(keyboard, Qt::Key_Return);
        Type(QStringLiteral("C"));
        h->clock.Advance(4000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x48, 0x79, 0x82, 0x72, 0x54}));
        QCOMPARE(h->SentText(), QStringLiteral("K-1\r\n;\r\n\r\n\r\n\r\nC"));
    }

    // A long over goes on on a new line after a word's end, or without one where the line gets twice as
    // long.
    void aLongOverGoesOnOnNewLines() {
        keyboard->insertPlainText(QString(300, 'E') + ' ' + QString(600, 'T') + 'M');
        h->clock.Advance(400'000);
        QCOMPARE(h->SentText(), QString(300, 'E') + " \r\n" + QString(600, 'T') + "\r\nM\r\n");
    }

    // Long lines keep their layout, so that colouring or echoing the next character does not shape them
    // again; a run without spaces longer than any line breaks the lines anywhere while it stands, as
    // laying it out word by word takes a time that grows with its square.
    void longLinesAndRunsStayCheapToLayOut() {
        const auto keepsLayout = [](QTextEdit* edit, int line) {
            return edit->document()->findBlockByNumber(line).layout()->cacheEnabled();
        };
        keyboard->insertPlainText(QString(2000, 'T') + "\nCQ " + QString(1000, 'E') + "\nCQ");
        QCOMPARE(keyboard->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QVERIFY(keepsLayout(keyboard, 0) && keepsLayout(keyboard, 1) && !keepsLayout(keyboard, 2));

        QTextCursor caret = keyboard->textCursor();
        caret.setPosition(2000);
        keyboard->setTextCursor(caret);
        Type("T");
        QCOMPARE(keyboard->wordWrapMode(), QTextOption::WrapAnywhere);
        caret.setPosition(1000);
        keyboard->setTextCursor(caret);
        Type(" ");
        QCOMPARE(keyboard->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        Type("\b");
        QCOMPARE(keyboard->wordWrapMode(), QTextOption::WrapAnywhere);
        QTest::mouseClick(Button("cmdEnd"), Qt::LeftButton);
        QCOMPARE(keyboard->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

        auto* sent = h->Find<QTextEdit>("txtSent");
        sent->setPlainText(QString(1500, 'E'));
        QVERIFY(keepsLayout(sent, 0));
    }

    void pauseKeepsTypingForLater() {
        QTest::mouseClick(Button("cmdTx"), Qt::LeftButton);
        QCOMPARE(Button("cmdTx")->palette().color(QPalette::Button), QColor(255, 255, 192));
        Type("AB");
        h->clock.Advance(5000);
        QVERIFY(h->unit.reportsOf('C').empty());
        QCOMPARE(h->KeyboardText(), QStringLiteral("AB"));

        QTest::mouseClick(Button("cmdTx"), Qt::LeftButton);
        h->clock.Advance(1000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74}));
    }

    void deletingSentTextSkipsNothingUnsent() {
        Type("ABCDEF");
        h->clock.Advance(20);
        QTest::keyClick(keyboard, Qt::Key_Home);
        QTest::keyClick(keyboard, Qt::Key_Delete);
        QCOMPARE(h->KeyboardText(), QStringLiteral("BCDEF"));
        h->clock.Advance(3000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x54, 0x68, 0xA0, 0xD4}));
        QCOMPARE(h->SentText(), QStringLiteral("ABCDEF"));
    }

    // A and B are out when C and D are deleted.
    void deletedTextIsNotSent() {
        Type("ABCD");
        h->clock.Advance(400);
        QTest::keyClick(keyboard, Qt::Key_Backspace);
        QTest::keyClick(keyboard, Qt::Key_Backspace);
        h->clock.Advance(1000);

        // Text typed at once into a window emptied by hand goes out from its first character.
        QTest::keyClick(keyboard, Qt::Key_Backspace);
        QTest::keyClick(keyboard, Qt::Key_Backspace);
        QCOMPARE(h->KeyboardText(), QString());
        Type("N");
        h->clock.Advance(1000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x50}));
    }

    void aBreakInFromThePaddlesDropsTheRest() {
        h->unit.QueueCharacterReplies({64, 65});
        Type("ABCD");
        h->clock.Advance(2000);
        QCOMPARE(h->KeyboardText(), QString());
        Type("E");
        h->clock.Advance(100);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0xA0}));
        QCOMPARE(h->SentText(), QStringLiteral("AB\r\nE"));
        QTest::mouseClick(Button("cmdClearSend"), Qt::LeftButton);
        QCOMPARE(h->SentText(), QString());
    }

    // The window opens with the focus in the Keyboard window.
    void altAloneTunesAndKeepsTheFocus() {
        QVERIFY(h->ShowActive());
        QCOMPARE(QApplication::focusWidget(), keyboard);
        // Every key-down sends the tune command, nothing else reaches the unit, and letters pressed
        // with ALT are not typed.
        QTest::keyPress(w->windowHandle(), Qt::Key_Alt);
        QTest::keyPress(w->windowHandle(), Qt::Key_Alt);
        QVERIFY(h->unit.keyDown());
        QCOMPARE(Status()->text(), QStringLiteral("TRANSMITTER KEYED - Tuning Until ALT Is Released"));
        QCOMPARE(Background(Status()), QColor(255, 140, 0));
        h->clock.Advance(3000);
        QCOMPARE(h->unit.letters(), QStringLiteral("TT"));
        QTest::keyRelease(w->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(!h->unit.keyDown());
        QCOMPARE(Status()->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(Background(Status()), QColor(140, 180, 220));
        QTest::keyClick(w->windowHandle(), Qt::Key_Z, Qt::AltModifier);
        QCOMPARE(h->KeyboardText(), QString());
        QCOMPARE(QApplication::focusWidget(), keyboard);
        QTest::keyClick(w->windowHandle(), 'f');
        QTest::keyClick(w->windowHandle(), 'e');
        QCOMPARE(h->KeyboardText(), QStringLiteral("fe"));
        QCOMPARE(w->menuBar()->activeAction(), nullptr);

        // Tab moves on, is never typed, and sending goes on.
        QTest::keyClick(w->windowHandle(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != keyboard);
        h->clock.Advance(1000);
        QCOMPARE(h->SentText(), QStringLiteral("FE"));

        // Leaving the window while tuning releases the transmitter at once.
        keyboard->setFocus();
        QTest::keyPress(w->windowHandle(), Qt::Key_Alt);
        h->Find("txtWrkStation")->setFocus();
        QVERIFY(!h->unit.keyDown());
        QCOMPARE(Status()->text(), QStringLiteral("Firmware Version: 1.0.7"));
    }

    // While ALT holds the key down the unit hears nothing but the tune commands, whatever the timing
    // and whatever is clicked; what was refused meanwhile follows the release.
    void whileTuningTheUnitHearsOnlyTheTune() {
        // ALT pressed while the second E waits in the sending thread for its moment: it waits for the
        // release.
        Type("EE");
        h->clock.Advance(100);
        QTest::keyPress(keyboard, Qt::Key_Alt);
        h->clock.Advance(500);
        QTest::keyRelease(keyboard, Qt::Key_Alt, Qt::AltModifier);
        h->clock.Advance(500);
        QCOMPARE(h->unit.letters(), QStringLiteral("CTtC"));
        QCOMPARE(h->SentText(), QStringLiteral("EE"));

        // An arrow clicked, the wheel turned over a box and the Keyer Features dialog's OK pressed
        // while ALT is held: the last settings go out once, after the release.
        h->unit.ClearReports();
        QTest::keyPress(keyboard, Qt::Key_Alt);
        ClickUp(h->Panel()->scrSpeed);
        Wheel(h->Panel()->txtVolume, 1, Qt::AltModifier);
        h->Find<KeyerFeaturesDialog>()->OKButton->click();
        QTest::keyRelease(keyboard, Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(h->unit.letters(), QStringLiteral("TtSSS"));
        QCOMPARE(Decoded(h->unit), QStringLiteral("26 50 680 9 2 8 7"));
    }

    void aWordSpaceNoLargerThanTheLetterSpaceStillSends() {
        h->Panel()->scrLetterSpace->setValue(40);
        h->Panel()->scrWordSpace->setValue(30);
        Type("E E");
        h->clock.Advance(1000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0xA0, 0xFF, 0xA0}));
        QCOMPARE(Gaps(h->unit).back(), std::int64_t(1));
    }

    void theCaretStaysWhereTheOperatorPutsIt() {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        Type("ABCDEF");
        h->clock.Advance(20);
        QCOMPARE(keyboard->textCursor().position(), 6);

        QTextCursor place(keyboard->document());
        place.setPosition(3);
        QTest::mouseClick(keyboard->viewport(), Qt::LeftButton, {}, keyboard->cursorRect(place).center());
        Type("X");
        QCOMPARE(h->KeyboardText(), QStringLiteral("ABCXDEF"));
        h->clock.Advance(500);
        QCOMPARE(keyboard->textCursor().position(), 4);
        QTest::keyClick(keyboard, Qt::Key_Backspace);
        h->clock.Advance(1500);
        QCOMPARE(h->KeyboardText(), QStringLiteral("ABCDEF"));
        QCOMPARE(keyboard->textCursor().position(), 3);
        w->close();
    }

    // Only what went out shows as sent; the rest goes out in order, once, when sending resumes.
    void aMissingUnitKeepsTheTextForLater() {
        h->unit.Unplug();
        Type("AB");
        h->clock.Advance(20);
        QCOMPARE(h->SentText(), QString());
        h->clock.Advance(1000);
        h->unit.Plug();
        h->clock.Advance(1000);
        Type("C");
        h->clock.Advance(3000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x54}));
        QCOMPARE(h->SentText(), QStringLiteral("ABC"));
    }
};

QTEST_MAIN(TransmitTest)
#include "test_app_transmit.moc"
