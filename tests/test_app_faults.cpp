#include "Harness.h"
#include "send/MorseTables.h"

#include <QRandomGenerator>

namespace {

using Fault = UnitEmulator::Fault;

// Puts text at the end of the Keyboard window, as a message button does.
void Add(const Harness& h, const QString& text) {
    QTextEdit* keyboard = h.Keyboard();
    keyboard->moveCursor(QTextCursor::End);
    keyboard->insertPlainText(text);
}

// Lets the loop finish with a well unit: everything still unsent goes out.
void SendTheRest(Harness& h) {
    h.unit.SetSilent(false);
    h.unit.Plug();
    for (int second = 0; second < 7200 && !h.KeyboardText().isEmpty(); ++second)
        h.clock.Advance(1000);
}

// The Sent window must show exactly what reached the unit, in order, and all that was typed.
void CheckSentMatchesTheUnit(Harness& h, const QString& typed) {
    QString shown = h.SentText();
    shown.remove(QStringLiteral("\r\n"));
    QCOMPARE(shown, typed);
    const MorseTables tables = BuildMorseTables();
    std::vector<std::uint8_t> expected;
    for (QChar c : shown)
        expected.push_back(tables.MorseCodeTable[c.unicode() - MorseTableFirstCharacter]);
    QCOMPARE(Codes(h.unit), expected);
    QVERIFY(h.unit.misuse().empty());
}

} // namespace

class UnitFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // Ten thousand characters against a unit that comes and goes, falls silent and drops reports.
    void aSoakOfFaultsKeepsSentAndUnitAgreed() {
        Harness h;
        h.Start();
        h.Panel()->scrSpeed->setValue(50);
        h.unit.ClearReports();
        QRandomGenerator random(7310);
        const QStringList messages{"CQ CQ DE N0CALL K ", "TU 73 ", "UR RST 599 5NN ", "QTH OSLO = ", "AR SK "};
        const Fault faults[] = {Fault::FailedWrite, Fault::ShortWrite, Fault::FailedRead, Fault::LateReply};
        QString typed;
        while (typed.size() < 10000) {
            const QString& message = messages[random.bounded(int(messages.size()))];
            Add(h, message);
            typed += message;
            switch (random.bounded(8)) {
            case 0:
                h.unit.Unplug();
                break;
            case 1:
                h.unit.Plug();
                break;
            case 2:
                h.unit.SetSilent(random.bounded(2) == 0);
                break;
            case 3:
                h.unit.InjectFault(faults[random.bounded(4)]);
                break;
            default:
                break;
            }
            h.clock.Advance(random.bounded(200, 6000));
        }
        SendTheRest(h);
        CheckSentMatchesTheUnit(h, typed);
    }
};

QTEST_MAIN(UnitFaultsTest)
#include "test_app_faults.moc"
