#include "Harness.h"
#include "TextFits.h"
#include "operators/OperatorDialog.h"
#include "operators/SelectOperatorDialog.h"

#include <QListWidget>
#include <QMenuBar>

namespace {

const QByteArray Ann = "[Timing]\r\nSpeed= 30\r\n[Operator]\r\nMyCall=Q1ABC\r\nName=Ann\r\nQTH=Oslo\r\n";
const QByteArray Bob = "[Timing]\r\nSpeed= 40\r\n[Operator]\r\nMyCall=W1AW\r\nName=Bob\r\nQTH=Rome\r\n";
const QString NoOperators = QStringLiteral("No Operators Defined. Specify New Operator.");
const QString NotSelected = QStringLiteral("Operator Not Selected!");

// The state file names Ann's Q1ABC.INI; Bob's N0CALL.ini lies beside it.
ProgCon& StartWithTwoOperators(Harness& h) {
    h.Write("N0CALL.ini", Bob);
    return h.StartWith("Q1ABC.INI", Ann);
}

QStringList Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const ScriptedPrompts::Shown& shown : prompts.shown)
        texts << shown.text;
    return texts;
}

QStringList Listed(const Harness& h) {
    QListWidget* list = h.Find<SelectOperatorDialog>()->lstOperators;
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    names.sort();
    return names;
}

// A widget's double-click comes alone; the click before it is what makes it one on an entry.
void ClickEntry(const Harness& h, const QString& name, bool twice = false) {
    QListWidget* list = h.Find<SelectOperatorDialog>()->lstOperators;
    const QPoint entry = list->visualItemRect(list->findItems(name, Qt::MatchExactly).front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);
}

QStringList Boxes(const OperatorDialog* d) {
    return {d->txtCall->text(), d->txtName->text(), d->txtQTH->text(), d->txtFilename->text()};
}

} // namespace

class OperatorsTest : public QObject {
    Q_OBJECT

private slots:
    void aFirstStartKeepsWhatTheOperatorDoes() {
        Harness h;
        ProgCon& w = h.Start();
        OperatorDialog* d = h.Find<OperatorDialog>();
        QVERIFY(d->isVisible() && !d->cmdDelOp->isVisible());
        QCOMPARE(d->windowTitle(), QStringLiteral("New Operator"));
        // The window stays usable while the dialog waits.
        w.show();
        ClickUp(h.Panel()->scrSpeed);
        h.Trigger("mnuEditMessages");
        QTest::mouseClick(h.Find<QPushButton>("cmdMessages0"), Qt::LeftButton);
        h.Keyboard()->insertPlainText("CQ DE (MYCALL)");
        h.prompts.inputAnswers.push_back(QStringLiteral("CQ"));
        QTest::keyClick(h.Keyboard(), Qt::Key_Return);

        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        for (auto [box, typed] : {std::pair{d->txtCall, "n0call"}, std::pair{d->txtName, "joe"},
                                  std::pair{d->txtQTH, "new york, ny"}}) {
            QTest::keyClicks(box, typed);
            QTest::keyClick(box, Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), d->txtFilename);
        QCOMPARE(Boxes(d), QStringList({"n0call", "Joe", "New York, NY", "N0CALL"}));
        QTest::keyClick(d->txtFilename, Qt::Key_Return);

        const QByteArray created = h.Read("N0CALL.INI");
        QVERIFY(created.contains("Speed= 26\r\n") && created.contains("M1=CQ DE (MYCALL)\r\nTitle1=CQ\r\n"));
        // Where the window held no message, the new profile has the starter set's.
        QVERIFY(created.contains("M2=(HISCALL) (WPM+5)(5NN)(WPM-5) (SERIAL)\r\nTitle2=Exch\r\n"));
        QCOMPARE(h.Find<QPushButton>("cmdMessages11")->toolTip(),
                 QStringLiteral("TU 73 (HISCALL) DE (MYCALL) ="));
        QVERIFY(created.contains("[Operator]\r\nMyCall=N0CALL\r\nName=Joe\r\nQTH=New York, NY\r\n"));
        QCOMPARE(CutTexts(h.Find<SelectOperatorDialog>()), QStringList());
    }

    // However the operator leaves the new operator's dialog and the list of one that follows, with the
    // new operator selected, the first start ends with that operator current and saved.
    void aFirstStartEndsByEveryPath() {
        for (const QString path : {"click OK, click OK", "Enter, Enter", "Enter, double click"}) {
            Harness h;
            ProgCon& w = h.Start();
            OperatorDialog* d = h.Find<OperatorDialog>();
            d->txtCall->setText("q1abc");
            path.startsWith("Enter") ? QTest::keyClick(d->txtCall, Qt::Key_Return)
                                     : QTest::mouseClick(d->OKButton, Qt::LeftButton);
            SelectOperatorDialog* s = h.Find<SelectOperatorDialog>();
            QVERIFY(s->lstOperators->selectedItems().size() == 1 && s->focusWidget() == s->lstOperators);
            if (path.endsWith("click OK")) QTest::mouseClick(s->OKButton, Qt::LeftButton);
            if (path.endsWith("Enter")) QTest::keyClick(s->lstOperators, Qt::Key_Return);
            if (path.endsWith("double click")) ClickEntry(h, "Q1ABC", true);
            QVERIFY(!s->isVisible() && !d->isVisible() && h.Read("Q1ABC.INI").contains("MyCall=Q1ABC\r\n"));
            QCOMPARE(w.windowTitle(), "Vesk Tandrel.....Q1ABC");
        }
    }

    void aFirstStartWithoutACallKeepsAskingAndStillCloses() {
        Harness h;
        ProgCon& w = h.Start();
        OperatorDialog* d = h.Find<OperatorDialog>();
        QTest::keyClicks(d->txtCall, "q1abc");
        QTest::keyClick(d->txtCall, Qt::Key_Escape);
        d->close();
        QVERIFY(d->isVisible());
        QCOMPARE(Texts(h.prompts),
                 (QStringList{NoOperators, NotSelected, NoOperators, NotSelected, NoOperators}));
        // Closing the window closes the dialog too, so nothing keeps the program running.
        w.close();
        QVERIFY(!d->isVisible());
        QCOMPARE(QDir(h.folder.path()).entryList(QDir::Files), QStringList{"Operator.INI"});
        QVERIFY(h.Read("Operator.INI").endsWith("[Operator]\r\nINIFile=\r\n"));
    }

    void selectionCommitsOrChangesNothing_data() {
        for (const char* column : {"entry", "action", "browsed", "lastShown", "chosen"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char* tag, const QStringList& values) {
            QTestData& data = QTest::newRow(tag);
            for (const QString& value : values)
                data << value;
        };
        row("OK", {"N0CALL", "OK", "", "", "N0CALL.ini"});
        row("Return", {"N0CALL", "Return", "", "", "N0CALL.ini"});
        row("ESC is Cancel, which acts as OK", {"N0CALL", "Escape", "", "", "N0CALL.ini"});
        row("nothing selected", {"", "OK", "", NotSelected, ""});
        row("Browse", {"", "Browse", "far/Bob.cw.ini", "Select Operator", "far/Bob.cw.ini"});
        row("Browse to a state file", {"", "Browse", "far/operator.ini", "Not an operator file!", ""});
        row("Browse to no profile", {"", "Browse", "far/notes.ini", "Not an operator file!", ""});
        row("Browse cancelled", {"", "Browse", "", "Select Operator", ""});
    }
    void selectionCommitsOrChangesNothing() {
        QFETCH(QString, entry);
        QFETCH(QString, action);
        QFETCH(QString, browsed);
        QFETCH(QString, lastShown);
        QFETCH(QString, chosen);
        Harness h;
        ProgCon& w = StartWithTwoOperators(h);
        QVERIFY(QDir(h.folder.path()).mkdir("far"));
        h.Write("far/Bob.cw.ini", Bob);
        h.Write("far/notes.ini", "[Timing]\r\nSpeed=40\r\n");
        const QByteArray stateBefore = h.Read("Operator.INI");
        h.prompts.fileAnswers = {browsed.isEmpty() ? QString() : h.Path(browsed)};

        h.Trigger("mnuFileSelectOperator");
        SelectOperatorDialog* d = h.Find<SelectOperatorDialog>();
        QCOMPARE(Listed(h), (QStringList{"N0CALL", "Q1ABC"}));
        if (!entry.isEmpty()) ClickEntry(h, entry);
        if (action == "Return" || action == "Escape")
            QTest::keyClick(d->lstOperators, action == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        else
            QTest::mouseClick(action == "OK" ? d->OKButton : d->cmdBrowse, Qt::LeftButton);

        QCOMPARE(h.prompts.shown.empty() ? QString() : h.prompts.shown.back().text, lastShown);
        if (chosen.isEmpty()) {
            QCOMPARE(h.Read("Operator.INI"), stateBefore);
            QCOMPARE(w.windowTitle() + ' ' + QString::number(h.unit.settings().speedWpm),
                     "Vesk Tandrel.....Q1ABC 30");
            QCOMPARE(d->isVisible(), lastShown == NotSelected);
            return;
        }
        QVERIFY(!d->isVisible());
        QCOMPARE(h.Read("Operator.INI"), "[Operator]\r\nINIFile=" + h.Path(chosen).toUtf8() + "\r\n");
        QCOMPARE(h.Find<QLabel>("lblOP")->text(), QStringLiteral("Operator: W1AW"));
        QCOMPARE(w.windowTitle(), "Vesk Tandrel....." + QFileInfo(chosen).baseName());
        QCOMPARE(h.unit.settings().speedWpm, 40);
    }

    void editSavesUnderTheNameGivenAndKeepsTheOldFile() {
        Harness h;
        ProgCon& w = StartWithTwoOperators(h);
        h.Trigger("mnuEditOperator");
        OperatorDialog* d = h.Find<OperatorDialog>();
        QVERIFY(d->isVisible() && d->cmdDelOp->isVisible());
        QCOMPARE(Boxes(d), QStringList({"Q1ABC", "Ann", "Oslo", "Q1ABC"}));
        QCOMPARE(CutTexts(d), QStringList());
        // Another operator command leaves the edit under way as it is.
        h.Trigger("mnuFileNewOperator");
        QCOMPARE(Boxes(d), QStringList({"Q1ABC", "Ann", "Oslo", "Q1ABC"}));
        d->txtCall->setText("q1xyz");
        // Another operator's profile is not written over.
        d->txtFilename->setText("n0call");
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
        QVERIFY(d->isVisible());
        QCOMPARE(Texts(h.prompts), QStringList{"N0CALL.ini Already Exists! Choose Another Filename."});
        QCOMPARE(h.Read("N0CALL.ini"), Bob);

        d->txtFilename->setText("Q1ABC2");
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QVERIFY(h.Read("Q1ABC2.INI").contains("[Operator]\r\nMyCall=Q1XYZ\r\nName=Ann\r\nQTH=Oslo\r\n"));
        QCOMPARE(h.Read("Q1ABC.INI"), Ann);
        QVERIFY(h.Read("Operator.INI").contains("INIFile=Q1ABC2.INI\r\n"));
        QCOMPARE(w.windowTitle() + ' ' + h.Find<QLabel>("lblOP")->text(),
                 QStringLiteral("Vesk Tandrel.....Q1ABC2 Operator: Q1XYZ"));
    }

    void deleteAsksThenSelectionFollows() {
        for (auto [yes, alone] : {std::pair{false, false}, std::pair{true, false}, std::pair{true, true}}) {
            Harness h;
            StartWithTwoOperators(h);
            if (alone) QFile::remove(h.Path("N0CALL.ini"));
            h.prompts.answers = {yes ? Prompts::Answer::Yes : Prompts::Answer::No};
            h.Trigger("mnuEditOperator");
            QTest::mouseClick(h.Find<OperatorDialog>()->cmdDelOp, Qt::LeftButton);
            QCOMPARE(h.prompts.shown.front().text + ' ' + h.prompts.shown.front().caption,
                     QStringLiteral("Permanently Delete Q1ABC? Delete Operator"));
            QCOMPARE(QFile::exists(h.Path("Q1ABC.INI")), !yes);
            if (alone) {
                QCOMPARE(Texts(h.prompts).back(), NoOperators);
                continue;
            }
            QCOMPARE(Listed(h), (yes ? QStringList{"N0CALL"} : QStringList{"N0CALL", "Q1ABC"}));
            // Choosing an operator by the keyboard alone ends the command with that profile saved, loaded
            // and sent: an arrow in a list of one, the first letter in a longer one.
            QListWidget* list = h.Find<SelectOperatorDialog>()->lstOperators;
            QTest::keyClick(list, yes ? Qt::Key_Down : Qt::Key_N);
            QTest::keyClick(list, Qt::Key_Return);
            QVERIFY(h.Read("Operator.INI").contains("INIFile=N0CALL.ini\r\n"));
            QCOMPARE(h.unit.settings().speedWpm, 40);
        }
    }

    void theRecordedProfileIsFoundWhereItLies() {
        Harness h;
        QVERIFY(QDir(h.folder.path()).mkdir("sub"));
        h.StartWith("sub/me.ini", Ann);
        QCOMPARE(h.Panel()->scrSpeed->value(), 30);
        QVERIFY(h.prompts.shown.empty());
    }

    void theMenusOfferTheCommands() {
        Harness h;
        QStringList entries;
        for (QAction* menu : h.Start().menuBar()->actions().mid(0, 2)) {
            for (QAction* action : menu->menu()->actions())
                entries << action->text() + ' ' + action->shortcut().toString();
        }
        QCOMPARE(entries, QStringList({"&Select Operator Ctrl+O", "&New Operator Ctrl+N", "&Save Ctrl+S",
                                       "Save As ", "E&xit Ctrl+Q", "Keyer Features ", "Messages ",
                                       "Operator ", "Network Keyer… "}));
    }
};

QTEST_MAIN(OperatorsTest)
#include "test_app_operators.moc"
