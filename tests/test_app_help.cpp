#include "Harness.h"
#include "help/HelpMenu.h"

#include <QAction>

class AppHelpTest : public QObject {
    Q_OBJECT

private slots:
    // No documents lie beside the test program, nor in a data folder next to it.
    void helpEntriesOpenTheirDocumentsAndShutdownClosesTheAboutBox() {
        Harness harness;
        ProgCon& window = harness.Start();
        harness.Trigger("mnuHelpDocument");
        harness.Trigger("mnuHelpInterface");
        const QString program = QCoreApplication::applicationDirPath() + '/';
        QCOMPARE(harness.shell.opened,
                 (QStringList{program + "TndlHelp.htm", program + "Tandrel Schematic.pdf"}));
        QCOMPARE(harness.prompts.shown.back().text, QStringLiteral("File not found"));

        harness.Trigger("AboutOption");
        QPointer<AboutBox> about = harness.Find<AboutBox>();
        QVERIFY(about && about->isVisible());
        window.close();
        QVERIFY(!about || !about->isVisible());
    }
};

QTEST_MAIN(AppHelpTest)
#include "test_app_help.moc"
