#include "keyboard/Macros.h"
#include "profile/StarterMessages.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class MacrosTest : public QObject {
    Q_OBJECT

private slots:
    void expandsAsTheOperatorWrites() {
        const MacroValues op{u"N0CALL"_s, QString(), u"Ann"_s, u"Leeds"_s};
        const MacroValues working{u"N0CALL"_s, u"G4XYZ"_s, u"Ann"_s, u"Leeds"_s};
        const QString many = u"DE "_s + QString(MaxInsertedMacroBrackets + 1, u'X') + u"(MYCALL) K"_s;
        const struct {
            QString text;
            MacroValues values;
            QString expanded;
        } cases[] = {
            // Named values in any letter case; empty values vanish with their brackets.
            {u"CQ DE (MYCALL) (mycall) K"_s, op, u"CQ DE N0CALL N0CALL K"_s},
            // The repeat marker.
            {u"(REPEAT)"_s, op, u"<"_s},
            {u"(REPEATER)"_s, op, u"<ER"_s},
            {u"(REPEA)"_s, op, u"REPEA"_s},
            // Other words lose their brackets; the first "(" pairs with the first ")", so "(MYCALL"
            // loses its brackets and is expanded next.
            {u"(FOO) and ()"_s, op, u"FOO and "_s},
            {u"((MYCALL))"_s, op, u"N0CALL"_s},
            // Later words see earlier replacements, and inserted values are scanned again.
            {u"(NAME) (QTH) (MYCALL)"_s, {u"WPM 20"_s, {}, u"Qth"_s, u"Serial"_s, 42}, u"042 042 ‹20›‹›"_s},
            {u"DE (MYCALL) K"_s, {u"N0CALL/(P)"_s, QString(), u"(QTH)"_s, u"Leeds"_s}, u"DE N0CALL/P K"_s},
            {u"OP (NAME)"_s, {u"N0CALL/(P)"_s, QString(), u"(QTH)"_s, u"Leeds"_s}, u"OP Leeds"_s},
            // An unpaired bracket returns the text reached.
            {u"(MYCALL) DE (NAME"_s, op, u"N0CALL DE (NAME"_s},
            {u"(MYCALL) ) (NAME)"_s, op, u"N0CALL ) (NAME)"_s},
            {u"DE (MYCALL) K"_s, {u"N0(CALL"_s, QString(), u"Ann"_s, u"Leeds"_s}, u"DE N0(CALL K"_s},
            // A value naming itself stops at the bound; a cycle is always the first pair, so it uses up
            // every expansion and the rest stays as written.
            {u"DE (MYCALL) K"_s, {u"X(MYCALL)"_s, QString(), u"Ann"_s, u"Leeds"_s}, many},
            {u"(MYCALL) (QTH)"_s, {u"(NAME)"_s, QString(), u"(MYCALL)"_s, u"Leeds"_s}, u"(MYCALL) (QTH)"_s},
            // Serial numbers have at least three digits (empty NAME and QTH vanish first); cut numbers
            // touch only what SERIAL makes.
            {u"(NAME)(QTH)(serial) (5nn)"_s, {}, u"001 5NN"_s},
            {u"(Serial)"_s, {{}, {}, {}, {}, 12345}, u"12345"_s},
            {u"(SERIAL) 1909"_s, {{}, {}, {}, {}, 1090, CutNumbers::ZeroNine}, u"1TNT 1909"_s},
            {u"(SERIAL)"_s, {{}, {}, {}, {}, 19, CutNumbers::ZeroNineOne}, u"TAN"_s},
            // Speed words become marks, and a message with any ends back at the operator's speed, before
            // its repeat marker. Blanks may follow WPM and the sign; speeds are held to 5..50, steps to 45.
            {u"(HISCALL) (WPM+5)(5NN)(wpm-5) (SERIAL)"_s, working, u"G4XYZ ‹+5›5NN‹-5› 001‹›"_s},
            {u"CQ (WPM30)TEST (WPM  -  2)K (repeat 3)"_s, op, u"CQ ‹30›TEST ‹-2›K ‹›< 3"_s},
            {u"(WPM 1000)(WPM 3)(WPM 99999999999)(WPM+100)(WPM -99999999999)"_s, op,
             u"‹50›‹5›‹50›‹+45›‹-45›‹›"_s},
            // Any other form is another word; guillemets of the text and the values never reach the result.
            {u"(WPM) (WPM FAST) (WPM 30X) ( WPM 30) (WPM 30 ) (WPM+-5) (WPM 3 0) (WPM 2.5)"_s, op,
             u"WPM WPM FAST WPM 30X  WPM 30 WPM 30  WPM+-5 WPM 3 0 WPM 2.5"_s},
            {u"‹30›CQ (MYCALL) ‹›"_s, {u"N0‹CALL›"_s, QString(), u"Ann"_s, u"Leeds"_s}, u"30CQ N0CALL "_s},
            // Megabytes of macros, nested brackets and speed words expand in time linear in their length.
            {u"CQ (MYCALL) "_s.repeated(150'000), op, u"CQ N0CALL "_s.repeated(150'000)},
            {QString(900'000, u'(') + QString(900'000, u')'), op, QString()},
            {u"(WPM "_s.repeated(200'000) + u'5' + QString(200'000, u')'), op,
             u"WPM "_s.repeated(199'999) + u"‹5›‹›"_s},
        };
        for (const auto& [text, values, expanded] : cases)
            QCOMPARE(ExpandMacros(text, values), expanded);

        // Every word of a new profile's messages is a macro: in small letters none comes out as itself,
        // as another word would. Every title fits its five-character box.
        const QRegularExpression bracketed(u"\\(([^()]*)\\)"_s);
        for (const auto& [title, text] : StarterMessages()) {
            QVERIFY(!title.isEmpty() && title.size() <= 5);
            for (const auto& word : bracketed.globalMatch(text))
                QVERIFY2(ExpandMacros(word.captured().toLower(), working) != word.captured(1).toLower(),
                         qPrintable(text));
        }
    }
};

QTEST_APPLESS_MAIN(MacrosTest)
#include "test_keyboard_macros.moc"
