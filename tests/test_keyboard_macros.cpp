#include "keyboard/Macros.h"

#include <QTest>

using namespace Qt::StringLiterals;

class MacrosTest : public QObject {
    Q_OBJECT

private:
    const MacroValues operatorOnly{u"N0CALL"_s, QString(), u"Ann"_s, u"Leeds"_s};

private slots:
    void namedValuesInAnyLetterCase() {
        QCOMPARE(ExpandMacros(u"CQ DE (MYCALL) (mycall) K"_s, operatorOnly), u"CQ DE N0CALL N0CALL K"_s);
        QCOMPARE(ExpandMacros(u"(Name) in (qTh)"_s, operatorOnly), u"Ann in Leeds"_s);
        const MacroValues working{u"N0CALL"_s, u"G4XYZ"_s, u"Ann"_s, u"Leeds"_s};
        QCOMPARE(ExpandMacros(u"(HISCALL) DE (MYCALL)"_s, working), u"G4XYZ DE N0CALL"_s);
    }

    void emptyValuesVanishWithTheirBrackets() {
        QCOMPARE(ExpandMacros(u"(HISCALL) DE (MYCALL)"_s, operatorOnly), u" DE N0CALL"_s);
        QCOMPARE(ExpandMacros(u"(NAME)(QTH)"_s, MacroValues{}), QString());
    }

    void repeatMarker() {
        QCOMPARE(ExpandMacros(u"(REPEAT)"_s, operatorOnly), u"<"_s);
        QCOMPARE(ExpandMacros(u"CQ (repeat 20)"_s, operatorOnly), u"CQ < 20"_s);
        QCOMPARE(ExpandMacros(u"(REPEATER)"_s, operatorOnly), u"<ER"_s);
        QCOMPARE(ExpandMacros(u"(REPEA)"_s, operatorOnly), u"REPEA"_s);
    }

    void otherWordsLoseTheirBrackets() {
        QCOMPARE(ExpandMacros(u"(FOO) and ()"_s, operatorOnly), u"FOO and "_s);
        QCOMPARE(ExpandMacros(u"no macros here"_s, operatorOnly), u"no macros here"_s);
        // The first "(" pairs with the first ")": "(MYCALL" loses its brackets and is expanded next.
        QCOMPARE(ExpandMacros(u"((MYCALL))"_s, operatorOnly), u"N0CALL"_s);
    }

    void laterTestsSeeEarlierReplacements() {
        const MacroValues nameQth{u"N0CALL"_s, QString(), u"Qth"_s, u"Leeds"_s};
        QCOMPARE(ExpandMacros(u"(NAME)"_s, nameQth), u"Leeds"_s);
        const MacroValues callRepeat{u"repeat 5"_s, QString(), u"Ann"_s, u"Leeds"_s};
        QCOMPARE(ExpandMacros(u"(MYCALL)"_s, callRepeat), u"< 5"_s);
    }

    void insertedValuesAreScannedAgain() {
        const MacroValues portable{u"N0CALL/(P)"_s, QString(), u"(QTH)"_s, u"Leeds"_s};
        QCOMPARE(ExpandMacros(u"DE (MYCALL) K"_s, portable), u"DE N0CALL/P K"_s);
        QCOMPARE(ExpandMacros(u"OP (NAME)"_s, portable), u"OP Leeds"_s);
    }

    void unpairedBracketReturnsTheTextReached() {
        QCOMPARE(ExpandMacros(u"CQ (MYCALL"_s, operatorOnly), u"CQ (MYCALL"_s);
        QCOMPARE(ExpandMacros(u"(MYCALL) DE (NAME"_s, operatorOnly), u"N0CALL DE (NAME"_s);
        QCOMPARE(ExpandMacros(u"CQ ) (MYCALL)"_s, operatorOnly), u"CQ ) (MYCALL)"_s);
        QCOMPARE(ExpandMacros(u"(MYCALL) ) (NAME)"_s, operatorOnly), u"N0CALL ) (NAME)"_s);
        QCOMPARE(ExpandMacros(u"TEST ("_s, operatorOnly), u"TEST ("_s);
        const MacroValues openCall{u"N0(CALL"_s, QString(), u"Ann"_s, u"Leeds"_s};
        QCOMPARE(ExpandMacros(u"DE (MYCALL) K"_s, openCall), u"DE N0(CALL K"_s);
    }

    // Megabytes of macros and of nested brackets expand in time linear in their length.
    void longMessagesExpandWhole() {
        const QString calls = u"CQ (MYCALL) "_s.repeated(150'000); // 1.8 million characters
        QCOMPARE(ExpandMacros(calls, operatorOnly), u"CQ N0CALL "_s.repeated(150'000));
        QCOMPARE(ExpandMacros(QString(900'000, u'(') + QString(900'000, u')'), operatorOnly), QString());
    }

    void selfReferencingValueStopsAtTheBound() {
        const MacroValues selfCall{u"X(MYCALL)"_s, QString(), u"Ann"_s, u"Leeds"_s};
        const QString expected = u"DE "_s + QString(MaxInsertedMacroBrackets + 1, u'X') + u"(MYCALL) K"_s;
        QCOMPARE(ExpandMacros(u"DE (MYCALL) K"_s, selfCall), expected);

        const MacroValues eachOther{u"(NAME)"_s, QString(), u"(MYCALL)"_s, u"Leeds"_s};
        // The cycle is always the first pair, so it uses up every expansion and the rest stays as written.
        QCOMPARE(ExpandMacros(u"(MYCALL) (QTH)"_s, eachOther), u"(MYCALL) (QTH)"_s);
    }
};

QTEST_APPLESS_MAIN(MacrosTest)
#include "test_keyboard_macros.moc"
