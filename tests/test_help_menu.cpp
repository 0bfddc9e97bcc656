#include "FakeShell.h"
#include "FileHelpers.h"
#include "ScriptedPrompts.h"
#include "help/AboutBox.h"
#include "help/HelpDocuments.h"
#include "platform/DesktopShell.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Every message shown, as text and caption.
QStringList Shown(const ScriptedPrompts& prompts) {
    QStringList shown;
    for (const auto& [text, caption] : prompts.shown)
        shown << text + " | " + caption;
    return shown;
}

class HelpMenuTest : public QObject {
    Q_OBJECT

    FakeShell shell;
    ScriptedPrompts prompts;

private slots:
    void init() {
        shell = {};
        prompts = {};
    }

    void documentFailuresAreTold_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("opened") << u"TndlHelp.htm"_s << QStringList{};
        QTest::newRow("missing") << u"Missing.htm"_s << QStringList{u"File not found | Tandrel"_s};
        QTest::newRow("no application")
            << u"Tandrel Schematic.pdf"_s << QStringList{u"No association for file extension | Tandrel"_s};
    }
    void documentFailuresAreTold() {
        QFETCH(QString, name);
        QTemporaryDir folder;
        Put(folder.filePath(u"TndlHelp.htm"_s), "guide");
        Put(folder.filePath(u"Tandrel Schematic.pdf"_s), "%PDF");
        OpenHelpDocument(folder.filePath(name), shell, prompts);
        QCOMPARE(shell.opened, QStringList{folder.filePath(name)});
        QTEST(Shown(prompts), "shown");
    }

    void unlistedResultsAndTheDesktopsOwn() {
        QCOMPARE(ShellResultText(0), u"Unknown error"_s);
        QCOMPARE(ShellResultText(4), u"Unknown error"_s);
        QCOMPARE(ShellResultText(33), QString());
        QTemporaryDir folder;
        QCOMPARE(DesktopShell().OpenDocument(folder.filePath(u"TndlHelp.htm"_s)), Shell::FileNotFound);
        QCOMPARE(DesktopShell().OpenDocument(folder.filePath(u"gone/TndlHelp.htm"_s)), Shell::PathNotFound);
    }

    void documentsLieBesideTheProgramOrInTheDataFolder() {
        const QDir program(QCoreApplication::applicationDirPath());
        QCOMPARE(DocumentFolders().value(1), QDir::cleanPath(program.filePath(u"../share/tandrel"_s)));
        QTemporaryDir beside, data;
        const QStringList folders{beside.path(), data.path()};
        const QString name = HelpPageName();
        QCOMPARE(DocumentPath(name, folders),
                 beside.filePath(name)); // found nowhere: missing beside the program
        Put(data.filePath(name), "guide");
        QCOMPARE(DocumentPath(name, folders), data.filePath(name));
        Put(beside.filePath(name), "guide");
        QCOMPARE(DocumentPath(name, folders), beside.filePath(name));
    }

    void aboutBoxClosesOnReturnAndEsc_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void aboutBoxClosesOnReturnAndEsc() {
        QFETCH(int, key);
        QPointer<AboutBox> about = new AboutBox(shell, prompts, nullptr);
        QCOMPARE(about->windowTitle() + " | " + about->lblTitle->text(), u"About Tandrel | Tandrel"_s);
        QCOMPARE(about->lblVersion->text(), u"Version 0.2.8"_s);
        about->show();
        QTest::keyClick(about, Qt::Key(key));
        QVERIFY(!about->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }

    void systemInfoStartsTheFirstProgramFound_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("none") << QStringList{} << QStringList{}
                              << QStringList{u"System Information Is Unavailable At This Time | Tandrel"_s};
        QTest::newRow("two") << QStringList{u"gnome-system-monitor"_s, u"hardinfo"_s}
                             << QStringList{u"/bin/hardinfo"_s} << QStringList{};
    }
    void systemInfoStartsTheFirstProgramFound() {
        QFETCH(QStringList, installed);
        shell.installed = installed;
        AboutBox about(shell, prompts, nullptr);
        about.cmdSysInfo->click();
        QTEST(shell.started, "started");
        QTEST(Shown(prompts), "shown");
    }
};

QTEST_MAIN(HelpMenuTest)
#include "test_help_menu.moc"
