#include "FakeShell.h"
#include "FileHelpers.h"
#include "ScriptedPrompts.h"
#include "help/AboutBox.h"
#include "help/HelpDocuments.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class HelpMenuTest : public QObject {
    Q_OBJECT

    FakeShell shell;
    ScriptedPrompts prompts;

    // Every message shown, as its text and caption.
    QStringList Shown() const {
        QStringList shown;
        for (const auto& [text, caption] : prompts.shown)
            shown << text + " | " + caption;
        return shown;
    }

private slots:
    void init() {
        shell = {};
        prompts = {};
    }

    void aFailureToOpenIsToldInTheShellsWords_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("opened") << HelpPageName() << QStringList{};
        QTest::newRow("missing") << u"Missing.htm"_s << QStringList{u"File not found | Tandrel"_s};
        QTest::newRow("no application")
            << SchematicName() << QStringList{u"No association for file extension | Tandrel"_s};
    }
    void aFailureToOpenIsToldInTheShellsWords() {
        QFETCH(QString, name);
        QTemporaryDir folder;
        Put(folder.filePath(HelpPageName()), "guide");
        Put(folder.filePath(SchematicName()), "%PDF");
        OpenHelpDocument(folder.filePath(name), shell, prompts);
        QCOMPARE(shell.opened, QStringList{folder.filePath(name)});
        QTEST(Shown(), "shown");
        QCOMPARE(ShellResultText(0) + ShellResultText(4) + ShellResultText(33),
                 u"Unknown errorUnknown error"_s);
    }

    void documentsAreFoundBesideTheProgramThenInTheDataFolder() {
        QCOMPARE(DocumentFolders().value(1),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/tandrel"_s));
        QTemporaryDir beside, data;
        Put(data.filePath(HelpPageName()), "guide");
        QCOMPARE(DocumentPath(HelpPageName(), {beside.path(), data.path()}), data.filePath(HelpPageName()));
        QCOMPARE(DocumentPath(SchematicName(), {beside.path(), data.path()}),
                 beside.filePath(SchematicName()));
    }

    void aboutBoxClosesOnReturnAndEsc_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void aboutBoxClosesOnReturnAndEsc() {
        QFETCH(int, key);
        QPointer<AboutBox> about = new AboutBox(shell, prompts, nullptr);
        QCOMPARE(about->windowTitle() + " | " + about->lblVersion->text(),
                 u"About Tandrel | Version 0.2.8"_s);
        about->show();
        QTest::keyClick(about, Qt::Key(key));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull());
    }

    void systemInfoStartsTheFirstProgramFound() {
        AboutBox about(shell, prompts, nullptr);
        about.cmdSysInfo->click();
        QCOMPARE(Shown(), QStringList{u"System Information Is Unavailable At This Time | Tandrel"_s});
        shell.installed = QStringList{u"gnome-system-monitor"_s, u"hardinfo"_s};
        about.cmdSysInfo->click();
        QCOMPARE(shell.started, QStringList{u"/bin/hardinfo"_s});
        QCOMPARE(prompts.shown.size(), 1u);
    }
};

QTEST_MAIN(HelpMenuTest)
#include "test_help_menu.moc"
