#include "Harness.h"
#include "app/TerminationSignals.h"

#include <QCheckBox>
#include <QFileInfo>
#include <csignal>

namespace {

QColor Foreground(QWidget* widget) {
    return widget->palette().color(QPalette::Text);
}

void ClickDown(UpDown* control) {
    QTest::mouseClick(control->downButton(), Qt::LeftButton);
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

    void everySettingChangeSendsTheThreeBlocks() {
        Harness h;
        h.Start();
        SettingsPanel* p = h.Panel();
        struct Step {
            UpDown* control;
            bool up;
        };
        for (Step step :
             {Step{p->scrSpeed, true}, Step{p->scrWeight, false}, Step{p->scrTone, true},
              Step{p->scrVolume, true}, Step{p->scrWordSpace, true}, Step{p->scrLetterSpace, false}}) {
            h.unit.ClearReports();
            step.up ? ClickUp(step.control) : ClickDown(step.control);
            QCOMPARE(h.unit.reportsOf('S').size(), std::size_t(3));
            QCOMPARE(h.unit.reports().size(), std::size_t(3));
        }
        QCOMPARE(Decoded(h.unit), QStringLiteral("26 49 690 9 1.9 8.1 7"));
        QCOMPARE(p->txtTone->text(), QStringLiteral("690"));
        QCOMPARE(p->txtVolume->text(), QStringLiteral("9"));

        // At the ends the arrows do nothing and nothing is sent.
        p->scrSpeed->setValue(50);
        h.unit.ClearReports();
        ClickUp(p->scrSpeed);
        QCOMPARE(p->scrSpeed->value(), 50);
        QVERIFY(h.unit.reports().empty());
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

    void aClickOnADisplayHandsTheFocusBack() {
        Harness h;
        ProgCon& w = h.Start();
        QVERIFY(h.ShowActive());
        h.Find("txtWrkStation")->setFocus();
        QTest::mouseClick(h.Panel()->txtSpeed, Qt::LeftButton);
        QVERIFY(h.Keyboard()->hasFocus());
        h.Find("txtWrkStation")->setFocus();
        ClickUp(h.Panel()->scrTone);
        QVERIFY(h.Keyboard()->hasFocus());
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

    void aTerminationSignalClosesAndSaves() {
        Harness h;
        ProgCon& w = h.Start();
        w.show();
        CloseOnTerminationSignals(&w);
        std::raise(SIGTERM);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(h.Read("Operator.INI").contains("WindowState=0\r\n"));
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
