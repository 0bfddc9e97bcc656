#include "send/InlineMarks.h"
#include "send/MorseTables.h"

#include <QTest>

namespace {

struct Expected {
    char character;
    int code;
    int length;
};

} // namespace

class MorseTablesTest : public QObject {
    Q_OBJECT

private slots:
    // Code bytes carry the elements from the top bit down (1 dot, 0 dash) followed by the marker
    // bits 0 1; a length counts 2 for a dot and 4 for a dash, each with the gap after it.
    void codesAndLengths() {
        const MorseTables tables = BuildMorseTables();
        const Expected table[] = {
            {'E', 0xA0, 2},
            {'T', 0x20, 4},
            {'A', 0x90, 6},
            {'B', 0x74, 10},
            {'F', 0xD4, 10},
            {'0', 0x02, 20},
            {'5', 0xFA, 10},
            {'?', 0xCD, 16},
            {',', 0x31, 20},
            {'.', 0xA9, 18},
            {'/', 0x6A, 14},
            {';', 0x72, 14},
            {'[', 0xAA, 14},
            {'=', 0xE9, 16},
            {'\'', 0xBA, 12},
            {'-', 0x79, 16},
            {'(', 0x4A, 16},
            {')', 0x49, 20},
            {'@', 0x95, 18},
            {':', 0x1D, 18},
            {'"', 0xB5, 16},
            {'+', 0xAA, 14},
            {'!', 0x51, 20},
            {'&', 0xBA, 12},
            // Punctuation without a pattern of its own goes out as the break, BT.
            {'#', 0x72, 14},
            {' ', 0xFF, 255},
        };
        for (const Expected& e : table) {
            const std::size_t index = static_cast<std::size_t>(e.character - ' ');
            QCOMPARE(int(tables.MorseCodeTable[index]), e.code);
            QCOMPARE(int(tables.MorseLengthTable[index]), e.length);
        }
    }

    // Every mark reads back as written, from inside a text; anything else at a guillemet is no mark.
    void marksReadBackAsWritten() {
        using Change = SpeedMark::Change;
        const Mark marks[] = {SpeedMark{Change::To, 30}, SpeedMark{Change::By, 5},
                              SpeedMark{Change::By, -2}, SpeedMark{Change::BackToOperator, 0},
                              HalfSpaceMark{},           ProsignMark{"SN"}};
        for (const Mark& mark : marks) {
            const QString text = "CQ " + MarkText(mark) + "K";
            const auto found = ReadMark(text, 3);
            QVERIFY(found);
            QVERIFY(found->mark == mark);
            QCOMPARE(text.mid(3 + found->length), QStringLiteral("K"));
        }
        QCOMPARE(MarkText(SpeedMark{Change::By, -2}), QStringLiteral("\u2039-2\u203A"));
        for (const char16_t* text : {u"\u2039", u"\u2039x\u203A", u"\u20391234\u203A", u"\u2039+\u203A",
                                     u"\u2039SNX\u203A", u"(30)"})
            QVERIFY(!ReadMark(QString::fromUtf16(text), 0));
    }
};

QTEST_APPLESS_MAIN(MorseTablesTest)
#include "test_send_morse.moc"
