#include "FakeShell.h"
#include "FileHelpers.h"
#include "ScriptedPrompts.h"
#include "help/AboutBox.h"
#include "help/HelpDocuments.h"

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

    // A document that opens is silent; a failure is told in the shell's words.
    void aFailureToOpenIsToldInTheShellsWords() {
        QTemporaryDir folder;
        const QStringList documents{folder.filePath(HelpPageName()), folder.filePath(SchematicName())};
        for (const QString& document : documents) {
            Put(document, "guide");
            OpenHelpDocument(document, shell, prompts);
        }
        QCOMPARE(shell.opened, documents);
        QCOMPARE(Shown(), QStringList{u"No association for file extension | Tandrel"_s});
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

    void aboutBoxClosesOnReturnAndEsc() {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QPointer<AboutBox> about = new AboutBox(shell, prompts, nullptr);
            about->show();
            QTest::keyClick(about, key);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(about.isNull(), qPrintable(QKeySequence(key).toString()));
        }
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
