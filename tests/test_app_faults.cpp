#include "Harness.h"
#include "send/MorseTables.h"

#include <QRandomGenerator>

class UnitFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // Ten thousand characters against a unit that comes and goes, falls silent and drops reports.
    void aSoakOfFaultsKeepsSentAndUnitAgreed() {
        using Fault = UnitEmulator::Fault;
        Harness h;
        h.Start();
        h.Panel()->scrSpeed->setValue(50);
        h.unit.ClearReports();
        QRandomGenerator random(7310);
        const QStringList messages{"CQ CQ DE N0CALL K ", "TU 73 ", "UR RST 599 5NN ",
                                   "QTH OSLO = ", "AR SK "};
        const Fault faults[] = {Fault::FailedWrite, Fault::ShortWrite, Fault::FailedRead, Fault::LateReply};
        QString typed;
        while (typed.size() < 10000) {
            // Added at the end, as a message button does.
            const QString& message = messages[random.bounded(int(messages.size()))];
            h.Keyboard()->moveCursor(QTextCursor::End);
            h.Keyboard()->insertPlainText(message);
            typed += message;
            const int event = random.bounded(8);
            if (event == 0) h.unit.Unplug();
            if (event == 1) h.unit.Plug();
            if (event == 2) h.unit.SetSilent(random.bounded(2) == 0);
            if (event == 3) h.unit.InjectFault(faults[random.bounded(4)]);
            h.clock.Advance(random.bounded(200, 6000));
        }
        // With the unit well again everything still unsent goes out.
        h.unit.SetSilent(false);
        h.unit.Plug();
        for (int second = 0; second < 7200 && !h.KeyboardText().isEmpty(); ++second)
            h.clock.Advance(1000);

        // The Sent window shows exactly what reached the unit, in order, and all that was typed; any
        // misuse of the unit's handles fails the harness.
        QString shown = h.SentText();
        shown.remove(QStringLiteral("\r\n"));
        QCOMPARE(shown, typed);
        const MorseTables tables = BuildMorseTables();
        std::vector<std::uint8_t> expected;
        for (QChar c : shown)
            expected.push_back(tables.MorseCodeTable[c.unicode() - MorseTableFirstCharacter]);
        QCOMPARE(Codes(h.unit), expected);
    }
};

QTEST_MAIN(UnitFaultsTest)
#include "test_app_faults.moc"
