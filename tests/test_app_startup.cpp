#include "Harness.h"
#include "app/ApplicationFolder.h"
#include "app/TerminationSignals.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QProcess>
#include <csignal>

namespace {

QColor Foreground(QWidget* widget) {
    return widget->palette().color(QPalette::Text);
}

void ClickDown(UpDown* control) {
    QTest::mouseClick(control->downButton(), Qt::LeftButton);
}

// The built program, started as an operator starts it, with its folders in `home`.
void Start(QProcess& process, const QTemporaryDir& home, const QString& option = "--demo") {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME"})
        environment.insert(name, home.path());
    process.setProcessEnvironment(environment);
    process.start(home.filePath("tandrel"), {option});
}

// Starts `copy` and, once it holds the lock, checks that a later start ends at once and says why, and
// that `copy` was asked to come forward.
void RunsAlone(QProcess& copy, const QTemporaryDir& home) {
    Start(copy, home);
    QTRY_COMPARE_WITH_TIMEOUT(Bytes(home.filePath("tandrel.lock")).split('\n').front().toLongLong(),
                              copy.processId(), 60000);
    QProcess again;
    Start(again, home);
    QVERIFY(again.waitForFinished(60000) && again.exitCode() == 0);
    QCOMPARE(again.readAllStandardOutput(), "Tandrel is already running: its window was brought forward.\n");
    QTRY_VERIFY_WITH_TIMEOUT(copy.canReadLine(), 60000);
    QCOMPARE(copy.readLine(), "Another start of Tandrel brought this window forward.\n");
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void withoutUnitTheMonitorAlternates() {
        Harness h;
        h.unit.Unplug();
        h.Start();
        auto* info = h.Find<QLineEdit>("txtInfo");
        QCOMPARE(info->text(), QStringLiteral("Interface Unit Not Found"));
        QCOMPARE(Background(info), QColor(255, 0, 0));
        QCOMPARE(h.clock.TickCount(), TestClock::StartTime);

        const QStringList expected{"Please Connect The TANDREL Interface Unit!",
                                   "TANDREL Interface Not Found",
                                   "Please Connect The TANDREL Interface Unit!"};
        for (const QString& text : expected) {
            h.clock.Advance(1000);
            QCOMPARE(info->text(), text);
            QCOMPARE(Background(info), QColor(255, 0, 0));
            QCOMPARE(Foreground(info), QColor(0, 0, 0));
        }

        h.unit.SetVersion(1, 2, 3);
        h.unit.Plug();
        h.clock.Advance(1000);
        QCOMPARE(info->text(), QStringLiteral("Firmware Version: 1.2.3"));
        QCOMPARE(Background(info), QColor(140, 180, 220));
        QCOMPARE(Foreground(info), QColor(0, 0, 0));
    }

    // Start-up leaves the transmit loop idle and the connection monitor polling once a second.
    void withUnitTheSettingsGoOutAndTheWindowWaitsIdle() {
        Harness h;
        h.Start();
        auto* info = h.Find<QLineEdit>("txtInfo");
        QCOMPARE(info->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(Background(info), QColor(140, 180, 220));
        // Without a profile its defaults load and go out once, whole.
        QCOMPARE(h.unit.reportsOf('S').size(), std::size_t(3));
        QCOMPARE(Decoded(h.unit), QStringLiteral("25 50 680 8 2 8 7"));
        const int before = h.unit.enumerations();
        h.clock.Advance(3500);
        QCOMPARE(h.unit.enumerations() - before, 3);
    }

    // Every change, by an arrow or by a number typed into a setting's box, sends the three blocks once.
    // Enter or leaving the box applies the number, held within the range; Esc and a text that is no
    // number restore it. Nothing typed there is keyed, with ALT held nothing is typed, and a click on a
    // box that only shows something hands the focus back.
    void everyChangeByArrowOrTypedNumberSendsTheThreeBlocks() {
        Harness h;
        ProgCon& w = h.Start();
        QVERIFY(h.ShowActive());
        SettingsPanel* p = h.Panel();
        QWidget* keyboard = h.Keyboard();
        struct Step {
            UpDown* control;
            bool up;
        };
        for (Step step :
             {Step{p->scrSpeed, true}, Step{p->scrWeight, false}, Step{p->scrTone, true},
              Step{p->scrVolume, true}, Step{p->scrWordSpace, true}, Step{p->scrLetterSpace, false}}) {
            h.unit.ClearReports();
            step.up ? ClickUp(step.control) : ClickDown(step.control);
            QCOMPARE(h.unit.letters(), QStringLiteral("SSS"));
        }
        QCOMPARE(Decoded(h.unit), QStringLiteral("26 49 690 9 1.9 8.1 7"));

        // At the ends the arrows do nothing and nothing is sent.
        p->scrSpeed->setValue(50);
        h.unit.ClearReports();
        ClickUp(p->scrSpeed);
        QCOMPARE(p->scrSpeed->value(), 50);
        QVERIFY(h.unit.reports().empty());

        const Qt::KeyboardModifiers none = Qt::NoModifier;
        const std::tuple<QLineEdit*, const char*, Qt::Key, Qt::KeyboardModifiers, const char*, int, QWidget*>
            rows[] = {{p->txtSpeed, "35", Qt::Key_Return, none, " 35", 1, keyboard},
                      {p->txtWeight, "99", Qt::Key_Tab, none, " 70", 1, p->scrWordSpace},
                      {p->txtWordSpace, "12.7", Qt::Key_Enter, none, " 12", 1, keyboard},
                      {p->txtLetterSpace, "2,5", Qt::Key_Return, none, " 2.5", 1, keyboard},
                      {p->txtVolume, "\b", Qt::Key_Return, none, "9", 0, keyboard},
                      {p->txtTone, "1234", Qt::Key_Return, none, "1230", 1, keyboard},
                      {p->txtSpeed, "40", Qt::Key_Escape, none, " 35", 0, keyboard},
                      {p->txtSpeed, "40", Qt::Key_Return, Qt::AltModifier, " 35", 0, p->txtSpeed}};
        for (const auto& [box, typed, key, modifiers, shown, transfers, focus] : rows) {
            h.unit.ClearReports();
            QTest::mouseClick(box, Qt::LeftButton);
            QTest::keyClicks(box, typed, modifiers);
            QTest::keyClick(box, key, modifiers);
            QCOMPARE(box->text(), QString::fromLatin1(shown));
            QCOMPARE(h.unit.letters(), QString(3 * transfers, u'S'));
            QCOMPARE(QApplication::focusWidget(), focus);
        }
        QCOMPARE(Decoded(h.unit), QStringLiteral("35 70 1230 9 2.5 12 7"));
        QCOMPARE(h.KeyboardText(), QString());

        // Leaving a box for another applies it and leaves the focus there.
        QTest::mouseClick(p->txtWeight, Qt::LeftButton);
        QTest::keyClicks(p->txtWeight, "45");
        QTest::mouseClick(p->txtTone, Qt::LeftButton);
        QVERIFY(h.unit.settings().weightPercent == 45 && p->txtTone->hasFocus());
        QTest::mouseClick(h.Find<QLineEdit>("txtIambic"), Qt::LeftButton);
        QVERIFY(keyboard->hasFocus());
        w.close();
    }

    void spacingMovesInTenthsBelowTenAndWholeAbove() {
        Harness h;
        SettingsPanel* p = (h.Start(), h.Panel());
        p->scrWordSpace->setValue(99);
        QStringList shown{p->txtWordSpace->text()};
        for (bool up : {true, true, false, false, false}) {
            up ? ClickUp(p->scrWordSpace) : ClickDown(p->scrWordSpace);
            shown << p->txtWordSpace->text();
        }
        QCOMPARE(shown, QStringList({" 9.9", " 10", " 11", " 10", " 9", " 8.9"}));
        p->scrWordSpace->setValue(105);
        QCOMPARE(p->txtWordSpace->text(), QStringLiteral(" 10"));
        QCOMPARE(h.unit.settings().wordSpace, 10.0);
        // From 10 down the letter space steps to 9, then by tenths.
        p->scrLetterSpace->setValue(90);
        ClickDown(p->scrLetterSpace);
        ClickDown(p->scrLetterSpace);
        QCOMPARE(p->scrLetterSpace->value(), 79);
    }

    void keyerFeaturesCancelKeepsTheChoiceForLater() {
        Harness h;
        ProgCon& w = h.Start();
        w.show();
        h.Trigger("mnuEditKeyer");
        auto* dialog = h.Find<KeyerFeaturesDialog>();
        auto* paddles = h.Find<QLineEdit>("txtRLPaddles");
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        dialog->rbRightLeft[1]->setChecked(true);
        h.unit.ClearReports();
        // ESC is Cancel, Enter OK, as in every dialog.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QVERIFY(h.unit.reports().empty());
        QCOMPARE(paddles->text(), QStringLiteral("Right-Hand Paddles"));

        // The choice goes out with the next settings transfer.
        ClickUp(h.Panel()->scrWeight);
        QCOMPARE(paddles->text(), QStringLiteral("Left-Hand Paddles"));
        QCOMPARE(h.unit.settings().paddleMode, std::uint8_t(0x1A));

        h.Trigger("mnuEditKeyer");
        QVERIFY(dialog->rbRightLeft[1]->isChecked());
        dialog->rbIambic[1]->setChecked(true);
        dialog->chkDotMemory->setChecked(false);
        dialog->chkDashMemory->setChecked(false);
        QTest::keyClick(dialog->chkDashMemory, Qt::Key_Return);
        QCOMPARE(h.unit.settings().keyerFeatures, std::uint8_t(0));
        QCOMPARE(h.Find<QLineEdit>("txtIambic")->text(), QStringLiteral("Dash Override"));
        w.close();
    }

    void geometryIsKeptAcrossRuns() {
        Harness h;
        h.Write("Operator.INI",
                "[Form]\r\nWindowState=0\r\nHeight=7500\r\nWidth=9000\r\nTop=1500\r\nLeft=2700\r\n");
        ProgCon& w = h.Start();
        w.ShowAsStored();
        QCOMPARE(w.size(), QSize(600, 500));
        QCOMPARE(w.frameGeometry().topLeft(), QPoint(180, 100));
        w.resize(640, 520);
        w.close();
        const QByteArray saved = h.Read("Operator.INI");
        QCOMPARE(
            saved,
            QByteArray("[Form]\r\nWindowState=0\r\nHeight=7800\r\nWidth=9600\r\nTop=1500\r\nLeft=2700\r\n"
                       "[Operator]\r\nINIFile=\r\n"));

        // Closed maximised, the normal geometry stays as it was and the state says maximised.
        Harness again;
        again.Write("Operator.INI", saved);
        ProgCon& second = again.Start();
        second.showMaximized();
        second.close();
        QCOMPARE(again.Read("Operator.INI"),
                 QByteArray("[Form]\r\nWindowState=2\r\nHeight=7800\r\nWidth=9600\r\nTop=1500\r\n"
                            "Left=2700\r\n[Operator]\r\nINIFile=\r\n"));

        // Stored maximised, the window opens maximised; closed minimised, the state says so.
        Harness third;
        third.Write("Operator.INI", again.Read("Operator.INI"));
        ProgCon& last = third.Start();
        last.ShowAsStored();
        QVERIFY(last.isMaximized());
        last.showMinimized();
        last.close();
        QVERIFY(third.Read("Operator.INI").startsWith("[Form]\r\nWindowState=1\r\nHeight=7800\r\n"));
    }

    void junkGeometryFallsBackToDefaults() {
        Harness h;
        h.Write("Operator.INI", "[Form]\r\nWindowState=banana\r\nHeight=1e308\r\nWidth=-77777777\r\nTop=x\r\n"
                                "Left=99999999999999\r\n[Operator]\r\nINIFile=\r\n");
        ProgCon& w = h.Start();
        w.ShowAsStored();
        QVERIFY(w.isVisible() && !w.isMaximized() && !w.isMinimized());
        w.close();
        QVERIFY(h.Read("Operator.INI").contains("WindowState=0\r\n"));
    }

    // A signal never asks: the key is released, the geometry saved, what could not be saved is said on
    // standard error, and the unit is closed; also while a close's own question waits for an answer.
    void aTerminationSignalEndsWithoutAQuestion() {
        for (bool questionOpen : {false, true}) {
            Harness h;
            ProgCon& w = h.StartWith("Smith.ini", "[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n");
            QVERIFY(h.ShowActive());
            QTest::keyPress(w.windowHandle(), Qt::Key_Alt);
            // A folder where the profile should be: the save fails, whoever runs the test.
            QVERIFY(h.unit.keyDown() && QFile::remove(h.Path("Smith.ini")) &&
                    QDir(h.folder.path()).mkdir("Smith.ini"));
            int handlesAtEnd = -1;
            EndOnTerminationSignals(
                &w, [&w] { w.ShutDownUnattended(); }, [&](int) { handlesAtEnd = h.unit.openHandles(); });
            h.prompts.whileShown = [&] {
                std::raise(SIGTERM);
                QTRY_COMPARE(handlesAtEnd, 0);
            };
            QTest::ignoreMessage(QtWarningMsg, qPrintable("The operator profile\n" + h.Path("Smith.ini") +
                                                          "\nwas not saved: a folder has that name.\n\n"
                                                          "The file is as it was before."));
            questionOpen ? (void)w.close() : h.prompts.whileShown();
            QCOMPARE(h.prompts.shown.size(), std::size_t(questionOpen));
            QVERIFY(!h.unit.keyDown() && h.Read("Operator.INI").contains("WindowState=0\r\n"));
        }
    }

    // Two real starts: one program per user; a lock left by a killed copy is taken over; and a signal
    // ends the program without a question when the profile cannot be saved.
    void oneCopyPerUserAndASignalEndsIt() {
#ifdef __SANITIZE_THREAD__
        QSKIP("Qt's own threads in the started program are not built for ThreadSanitizer");
#endif
        // A copy away from the build folder, which an Operator.INI left there would make portable.
        QTemporaryDir home;
        const QString profile = home.filePath("Tandrel/N0CALL.ini");
        QVERIFY(QDir(home.path()).mkdir("Tandrel") && QFile::copy(TANDREL_PROGRAM, home.filePath("tandrel")));
        Put(home.filePath("Tandrel/Operator.INI"), "[Operator]\r\nINIFile=N0CALL.ini\r\n");
        Put(profile, "[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n");
        QProcess first, version, next;
        RunsAlone(first, home);
        Start(version, home, "--version");
        QVERIFY(version.waitForFinished(60000) && version.readAllStandardOutput().startsWith("Tandrel 0."));
        first.kill();
        QVERIFY(first.waitForFinished(60000));
        RunsAlone(next, home);

        QVERIFY(QFile::remove(profile) && QDir().mkdir(profile));
        next.terminate();
        QVERIFY(next.waitForFinished(60000) && next.exitStatus() == QProcess::CrashExit &&
                next.exitCode() == SIGTERM);
        QVERIFY(next.readAllStandardError().contains(profile.toUtf8() + "\nwas not saved: "));
        QVERIFY(Bytes(home.filePath("Tandrel/Operator.INI")).contains("\r\n[Form]\r\n") &&
                !QFile::exists(home.filePath("tandrel.lock")));
    }

    // Under the system's folders the data folder always; elsewhere the program's own folder when it holds
    // Operator.INI or the marker, and the data folder when it holds neither (a build folder, for one).
    void onlyAPortableCopyKeepsItsFilesBesideIt() {
        const QString data = "/home/ann/.local/share/Tandrel";
        const QStringList state{"Operator.INI"}, marker{"Tandrel.portable"},
            neither{"operator.ini", "portable"};
        for (const QString folder : {"/usr/bin", "/usr/local/bin/", "/opt/tandrel", "/sbin"}) {
            for (const QStringList& holds : {state, marker, state + marker, neither})
                QCOMPARE(ChooseApplicationFolder(folder, holds, data), data);
        }
        for (const QString folder :
             {"/media/ann/STICK", "/usrdata", "/home/ann/tandrel/build/release/src/app"}) {
            QCOMPARE(ChooseApplicationFolder(folder, state, data), folder);
            QCOMPARE(ChooseApplicationFolder(folder, marker, data), folder);
            QCOMPARE(ChooseApplicationFolder(folder, neither, data), data);
        }
    }

    void anUnwritableFolderIsNoFailure() {
        // A folder that has gone, and a state file that cannot be written, are read as empty and
        // written to silently.
        Harness gone;
        QVERIFY(QDir(gone.folder.path()).removeRecursively());
        ProgCon& w = gone.Start();
        ClickUp(gone.Panel()->scrSpeed);
        w.close();
        QVERIFY(!QDir(gone.folder.path()).exists());

        Harness blocked;
        QVERIFY(QDir(blocked.folder.path()).mkdir("Operator.INI"));
        ProgCon& second = blocked.Start();
        QCOMPARE(blocked.Find<QLineEdit>("txtInfo")->text(), QStringLiteral("Firmware Version: 1.0.7"));
        second.close();
        QVERIFY(QFileInfo(blocked.Path("Operator.INI")).isDir());
    }
};

QTEST_MAIN(StartUpTest)
#include "test_app_startup.moc"
