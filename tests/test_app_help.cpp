#include "Harness.h"
#include "help/HelpMenu.h"

#include <QAction>

using namespace Qt::StringLiterals;

class AppHelpTest : public QObject {
    Q_OBJECT

private slots:
    // No documents lie beside the test program or in a data folder next to it.
    void helpEntriesOpenTheirDocuments() {
        Harness harness;
        ProgCon& window = harness.Start();
        window.helpMenu->mnuHelpDocument->trigger();
        window.helpMenu->mnuHelpInterface->trigger();
        const QString program = QCoreApplication::applicationDirPath();
        QCOMPARE(harness.shell.opened,
                 (QStringList{program + u"/TndlHelp.htm"_s, program + u"/Tandrel Schematic.pdf"_s}));
        QCOMPARE(harness.prompts.shown.size(), 2u);
        QCOMPARE(harness.prompts.shown.back().text, u"File not found"_s);
    }

    void shutdownClosesTheAboutBox() {
        Harness harness;
        ProgCon& window = harness.Start();
        window.helpMenu->AboutOption->trigger();
        QPointer<AboutBox> about = window.helpMenu->frmAbout();
        QVERIFY(about && about->isVisible());
        window.close();
        QVERIFY(!about || !about->isVisible());
    }
};

QTEST_MAIN(AppHelpTest)
#include "test_app_help.moc"
