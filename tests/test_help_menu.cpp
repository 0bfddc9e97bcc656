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

class HelpMenuTest : public QObject {
    Q_OBJECT

private slots:
    void documentFailuresAreTold_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("opened") << u"TndlHelp.htm"_s << QString();
        QTest::newRow("missing") << u"Missing.htm"_s << u"File not found"_s;
        QTest::newRow("no application")
            << u"Tandrel Schematic.pdf"_s << u"No association for file extension"_s;
    }
    void documentFailuresAreTold() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir folder;
        Put(folder.filePath(u"TndlHelp.htm"_s), "guide");
        Put(folder.filePath(u"Tandrel Schematic.pdf"_s), "%PDF");
        FakeShell shell;
        ScriptedPrompts prompts;
        OpenHelpDocument(folder.filePath(name), shell, prompts);
        QCOMPARE(shell.opened, QStringList{folder.filePath(name)});
        QCOMPARE(prompts.shown.size(), message.isEmpty() ? 0u : 1u);
        for (const auto& shown : prompts.shown)
            QCOMPARE(shown.text + '|' + shown.caption, message + u"|Tandrel"_s);
    }

    void everyShellResultHasItsText() {
        const std::pair<int, const char*> results[] = {{0, "Unknown error"},  {3, "Path not found"},
                                                       {4, "Unknown error"},  {5, "Access denied"},
                                                       {32, "DLL not found"}, {33, ""}};
        for (const auto& [result, text] : results)
            QCOMPARE(ShellResultText(result), QString::fromLatin1(text));
    }

    void theDesktopReportsMissingDocuments() {
        QTemporaryDir folder;
        DesktopShell shell;
        QCOMPARE(shell.OpenDocument(folder.filePath(u"TndlHelp.htm"_s)), Shell::FileNotFound);
        QCOMPARE(shell.OpenDocument(folder.filePath(u"gone/TndlHelp.htm"_s)), Shell::PathNotFound);
    }

    void documentsLieBesideTheProgramOrInTheDataFolder() {
        const QDir program(QCoreApplication::applicationDirPath());
        QCOMPARE(DocumentFolders(),
                 (QStringList{program.path(), QDir::cleanPath(program.filePath(u"../share/tandrel"_s))}));
        QTemporaryDir beside, data;
        const QStringList folders{beside.path(), data.path()};
        QCOMPARE(DocumentPath(HelpPageName(), folders), beside.filePath(HelpPageName()));
        Put(data.filePath(HelpPageName()), "guide");
        QCOMPARE(DocumentPath(HelpPageName(), folders), data.filePath(HelpPageName()));
        Put(beside.filePath(HelpPageName()), "guide");
        QCOMPARE(DocumentPath(HelpPageName(), folders), beside.filePath(HelpPageName()));
    }

    void aboutBoxShowsTitleAndVersion() {
        FakeShell shell;
        ScriptedPrompts prompts;
        AboutBox about(shell, prompts, nullptr);
        QCOMPARE(about.windowTitle(), u"About Tandrel"_s);
        QCOMPARE(about.lblTitle->text(), u"Tandrel"_s);
        QCOMPARE(about.lblVersion->text(), u"Version 0.2.8"_s);
    }

    void returnAndEscCloseTheAboutBox_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void returnAndEscCloseTheAboutBox() {
        QFETCH(int, key);
        FakeShell shell;
        ScriptedPrompts prompts;
        QPointer<AboutBox> about = new AboutBox(shell, prompts, nullptr);
        about->show();
        QTest::keyClick(about, Qt::Key(key));
        QVERIFY(!about->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }

    void systemInfoStartsTheFirstProgramFound_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<int>("messages");
        QTest::newRow("none") << QStringList{} << QStringList{} << 1;
        QTest::newRow("two") << QStringList{u"gnome-system-monitor"_s, u"hardinfo"_s}
                             << QStringList{u"/usr/bin/hardinfo"_s} << 0;
    }
    void systemInfoStartsTheFirstProgramFound() {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, started);
        QFETCH(int, messages);
        FakeShell shell;
        shell.installed = installed;
        ScriptedPrompts prompts;
        AboutBox about(shell, prompts, nullptr);
        about.cmdSysInfo->click();
        QCOMPARE(shell.started, started);
        QCOMPARE(int(prompts.shown.size()), messages);
        for (const auto& shown : prompts.shown)
            QCOMPARE(shown.text + '|' + shown.caption,
                     u"System Information Is Unavailable At This Time|Tandrel"_s);
    }
};

QTEST_MAIN(HelpMenuTest)
#include "test_help_menu.moc"
