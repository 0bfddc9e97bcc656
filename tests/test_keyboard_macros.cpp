#include "keyboard/Macros.h"

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
            {u"(HISCALL) DE (MYCALL)"_s, working, u"G4XYZ DE N0CALL"_s},
            {u"(NAME)(QTH)"_s, {}, QString()},
            // The repeat marker.
            {u"(REPEAT)"_s, op, u"<"_s},
            {u"CQ (repeat 20)"_s, op, u"CQ < 20"_s},
            {u"(REPEATER)"_s, op, u"<ER"_s},
            {u"(REPEA)"_s, op, u"REPEA"_s},
            // Other words lose their brackets; the first "(" pairs with the first ")", so "(MYCALL"
            // loses its brackets and is expanded next.
            {u"(FOO) and ()"_s, op, u"FOO and "_s},
            {u"((MYCALL))"_s, op, u"N0CALL"_s},
            // Later names see earlier replacements, and inserted values are scanned again.
            {u"(NAME)"_s, {u"N0CALL"_s, QString(), u"Qth"_s, u"Leeds"_s}, u"Leeds"_s},
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
            // Megabytes of macros and of nested brackets expand in time linear in their length.
            {u"CQ (MYCALL) "_s.repeated(150'000), op, u"CQ N0CALL "_s.repeated(150'000)},
            {QString(900'000, u'(') + QString(900'000, u')'), op, QString()},
        };
        for (const auto& [text, values, expanded] : cases)
            QCOMPARE(ExpandMacros(text, values), expanded);
    }
};

QTEST_APPLESS_MAIN(MacrosTest)
#include "test_keyboard_macros.moc"
