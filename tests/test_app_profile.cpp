#include "Harness.h"
#include "operators/OperatorDialog.h"

#include <QCheckBox>
#include <QSpinBox>
#include <fstream>
#include <sstream>

using namespace Qt::StringLiterals;

namespace {

const QByteArray SmithProfile =
    "[Timing]\r\nSpeed= 30\r\nWeight= 40\r\nTone= 700\r\nVolume= 20\r\nWordSpace= 7.5\r\n"
    "LetterSpace= 3\r\n[Modes]\r\nIambic=OFF\r\nDotMemory=ON\r\nDashMemory=OFF\r\n"
    "RLPaddles=LEFT\r\n[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"
    "[Messages]\r\nM1=CQ CQ DE (MYCALL) K\r\nTitle1=CQ\r\nM2=TU 73 *\r\nTitle2=\r\n";
} // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void theProfileFillsTheWindow() {
        Harness h;
        h.StartWith("Smith.ini", SmithProfile);
        QCOMPARE(h.Panel()->txtWordSpace->text() + h.Panel()->txtLetterSpace->text(),
                 QStringLiteral(" 7.5 3"));
        QStringList shown;
        for (const char* name : {"txtIambic", "txtDotMemory", "txtDashMemory", "txtRLPaddles", "txtMsgTitle0",
                                 "txtMsgTitle1", "txtMsgTitle2"})
            shown << h.Find<QLineEdit>(name)->text();
        QCOMPARE(shown, QStringList({"Dash Override", "Dot Memory ON", "Dash Memory OFF", "Left-Hand Paddles",
                                     "CQ", "", "--"}));

        // The unit got the profile's settings.
        QCOMPARE(Decoded(h.unit), QStringLiteral("30 40 700 20 3 7.5 2"));
        QCOMPARE(h.unit.settings().paddleMode, std::uint8_t(0x1A));

        // A Farnsworth effective speed of 25 at 30 sets the spaces (u = 870 / 570 dots): shown, sent once
        // and saved as spacing.
        h.unit.ClearReports();
        h.Trigger("mnuEditKeyer");
        auto* features = h.Find<KeyerFeaturesDialog>();
        features->chkFarnsworth->setChecked(true);
        features->spnEffectiveSpeed->setValue(25);
        QTest::mouseClick(features->OKButton, Qt::LeftButton);
        QCOMPARE(h.Panel()->txtWordSpace->text() + h.Panel()->txtLetterSpace->text(), " 9.7 3.6");
        QCOMPARE(Decoded(h.unit) + h.unit.letters(), QStringLiteral("30 40 700 20 3.6 9.7 2SSS"));
        h.window->close();
        QVERIFY(h.Read("Smith.ini").contains("WordSpace= 9.7\r\nLetterSpace= 3.6\r\n"));
    }

    void shutdownSavesTheProfileAndItsName() {
        Harness h;
        ProgCon& w = h.StartWith("Smith.ini", SmithProfile);
        // A half-typed letter space is neither sent nor saved.
        QTest::keyClicks(h.Panel()->txtLetterSpace, "9");
        ClickUp(h.Panel()->scrSpeed);
        QCOMPARE(h.unit.settings().letterSpace, 3.0);
        w.close();
        // All as loaded but the speed, and the messages the profile lacked after them.
        const QByteArray loaded = QByteArray(SmithProfile).replace("Speed= 30", "Speed= 31");
        QVERIFY(h.Read("Smith.ini").startsWith(loaded + "M3=\r\nTitle3=--\r\n"));
        QVERIFY(h.Read("Operator.INI").contains("[Operator]\r\nINIFile=Smith.ini\r\n"));
    }

    // A name without an extension gets one, so that operator selection lists the profile.
    void saveAsKeepsThePathAsChosen() {
        Harness h;
        ProgCon& w = h.StartWith("Smith.ini", SmithProfile);
        h.prompts.fileAnswers = {h.Path("MyProfile")};
        h.Trigger("mnuFileSaveAs");
        // The file dialog opens in the application folder.
        QCOMPARE(h.prompts.shown.back().caption, h.folder.path());
        QCOMPARE(h.Find<OperatorDialog>()->txtQTH->text(), QStringLiteral("Oslo"));
        QVERIFY(h.Read("MyProfile.ini").contains("[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"));
        QVERIFY(h.Read("Operator.INI").contains("INIFile=MyProfile.ini\r\n"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Vesk Tandrel.....Smith"));
    }

    void saveAsRefusesTheStateFileAndHonoursCancel() {
        Harness h;
        ProgCon& w = h.StartWith("Smith.ini", SmithProfile);
        const QByteArray stateBefore = h.Read("Operator.INI");
        h.Write("notes.txt", "[Timing]\r\nSpeed=40\r\n");
        // Cancelled, the file dialog is the last thing shown.
        for (auto [name, told] :
             {std::pair{"operator.ini", "Cannot Save as OPERATOR.INI"},
              std::pair{"MyOperator.INI", "Cannot Save as OPERATOR.INI"},
              std::pair{"notes.txt", "was not saved: that file is not an operator profile."},
              std::pair{"", "Save Current Settings As"}}) {
            h.prompts.fileAnswers = {*name ? h.Path(name) : QString()};
            h.Trigger("mnuFileSaveAs");
            QVERIFY(h.prompts.shown.back().text.contains(QString(told)));
            QCOMPARE(h.Read("Operator.INI"), stateBefore);
        }
        QCOMPARE(h.Read("notes.txt"), "[Timing]\r\nSpeed=40\r\n");
        QVERIFY(!QFile::exists(h.Path("MyOperator.INI")));
        // The profile saved at the end is still the one loaded.
        ClickUp(h.Panel()->scrSpeed);
        w.close();
        QVERIFY(h.Read("Smith.ini").startsWith("[Timing]\r\nSpeed= 31\r\n"));
    }

    // A profile from another system, its name and values in Latin-1, which Qt's file names cannot spell.
    void aLatin1ProfileIsFoundAndKeepsItsLetters() {
        Harness h;
        const QByteArray profile =
            "[Operator]\r\nMyCall=EA1XYZ\r\nName=Jos\xE9\r\nQTH=\r\n[Messages]\r\nM1=(NAME) CAF\xC9\r\n";
        const std::string nativeName = QFile::encodeName(h.Path("prof")).toStdString() + "\xE9.ini";
        std::ofstream(nativeName, std::ios::binary) << profile.toStdString();
        ProgCon& w = h.StartWith("prof\xE9.ini", QByteArray());
        QTest::mouseClick(h.Find<QPushButton>("cmdMessages0"), Qt::LeftButton);
        QCOMPARE(h.KeyboardText(), u"Jos\u00E9 CAF\u00C9"_s);
        QCOMPARE(h.prompts.shown.size(), 0u); // found: no question which operator it is
        w.close();
        std::stringstream saved;
        saved << std::ifstream(nativeName, std::ios::binary).rdbuf();
        std::remove(nativeName.c_str());
        QVERIFY(saved.str().starts_with(profile.toStdString()));
        QCOMPARE(QDir(h.folder.path()).entryList(QDir::Files), QStringList{"Operator.INI"});
        QVERIFY(h.Read("Operator.INI").contains("INIFile=prof\xE9.ini\r\n"));
    }

    // A profile that cannot be read is told at start and never written; at shutdown the operator may
    // save under another name.
    void anUnreadableProfileIsToldAndNeverWritten() {
        const QByteArray binary("[Timing]\r\nSpeed= 30\r\n\0\x01", 23);
        Harness h;
        ProgCon& w = h.StartWith("Smith.ini", binary);
        QCOMPARE(h.prompts.shown.front().text,
                 "The operator profile\n" + h.Path("Smith.ini") +
                     "\ncannot be read: it holds bytes that are not text.\n\n"
                     "The file is left as it is. The default settings are in use, and they will not be saved "
                     "into it.");
        QCOMPARE(h.Panel()->scrSpeed->value(), 25);
        h.prompts.answers = {Prompts::Answer::Yes};
        h.prompts.fileAnswers = {h.Path("Saved.ini")};
        w.close();
        QVERIFY(h.Read("Saved.ini").startsWith("[Timing]\r\nSpeed= 25\r\n"));
        QCOMPARE(h.Read("Smith.ini"), binary);
    }
};

QTEST_MAIN(ProfileTest)
#include "test_app_profile.moc"
