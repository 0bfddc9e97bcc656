#include "Harness.h"
#include "operators/OperatorDialog.h"
#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace {

const QByteArray SmithProfile =
    "[Timing]\r\nSpeed= 30\r\nWeight= 40\r\nTone= 700\r\nVolume= 20\r\nWordSpace= 7.5\r\n"
    "LetterSpace= 3\r\n[Modes]\r\nIambic=OFF\r\nDotMemory=ON\r\nDashMemory=OFF\r\n"
    "RLPaddles=LEFT\r\n[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"
    "[Messages]\r\nM1=CQ CQ DE (MYCALL) K\r\nTitle1=CQ\r\nM2=TU 73 *\r\nTitle2=\r\n";

// A harness whose state file names the profile file given.
ProgCon& StartWith(Harness& h, const QByteArray& fileName, const QByteArray& profile) {
    h.Write("Operator.INI", "[Operator]\r\nINIFile=" + fileName + "\r\n");
    if (!profile.isEmpty()) h.Write(QString::fromUtf8(fileName), profile);
    return h.Start();
}

QByteArray NewProfileText() {
    QByteArray text =
        "[Timing]\r\nSpeed= 25\r\nWeight= 50\r\nTone= 680\r\nVolume= 8\r\nWordSpace= 8\r\nLetterSpace= 2\r\n"
        "[Modes]\r\nIambic=ON\r\nDotMemory=ON\r\nDashMemory=ON\r\nRLPaddles=RIGHT\r\n"
        "[Operator]\r\nMyCall=\r\nName=\r\nQTH=\r\n[Messages]\r\n";
    for (int n = 1; n <= 12; ++n)
        text += "M" + QByteArray::number(n) + "=\r\nTitle" + QByteArray::number(n) + "=--\r\n";
    return text;
}

} // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void theProfileFillsTheWindow() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        SettingsPanel* p = w.panel;
        QCOMPARE(w.windowTitle(), QStringLiteral("Vesk Tandrel.....Smith"));
        QCOMPARE(p->scrSpeed->value(), 30);
        QCOMPARE(p->scrWeight->value(), 40);
        QCOMPARE(p->scrTone->value(), 70);
        QCOMPARE(p->scrVolume->value(), 20);
        QCOMPARE(p->scrWordSpace->value(), 75);
        QCOMPARE(p->scrLetterSpace->value(), 20);
        QCOMPARE(p->txtWordSpace->text(), QStringLiteral(" 7.5"));
        QCOMPARE(p->txtLetterSpace->text(), QStringLiteral(" 3"));
        QCOMPARE(w.txtIambic->text(), QStringLiteral("Dash Override"));
        QCOMPARE(w.txtDotMemory->text(), QStringLiteral("Dot Memory ON"));
        QCOMPARE(w.txtDashMemory->text(), QStringLiteral("Dash Memory OFF"));
        QCOMPARE(w.txtRLPaddles->text(), QStringLiteral("Left-Hand Paddles"));
        QCOMPARE(w.lblOP->text(), QStringLiteral("Operator: N0CALL"));
        QCOMPARE(w.messageTexts[0], QStringLiteral("CQ CQ DE (MYCALL) K"));
        QCOMPARE(w.cmdMessages[0]->toolTip(), QStringLiteral("CQ CQ DE (MYCALL) K"));
        QCOMPARE(w.txtMsgTitle[0]->text(), QStringLiteral("CQ"));
        QCOMPARE(w.txtMsgTitle[1]->text(), QString());
        QCOMPARE(w.txtMsgTitle[2]->text(), QStringLiteral("--"));

        // The unit got the profile's settings.
        const DecodedSettings& s = h.unit.settings();
        QCOMPARE(s.speedWpm, 30);
        QCOMPARE(s.weightPercent, 40);
        QCOMPARE(s.toneHz, 700);
        QCOMPARE(s.volume, 20);
        QCOMPARE(s.wordSpace, 7.5);
        QCOMPARE(s.letterSpace, 3.0);
        QCOMPARE(s.paddleMode, std::uint8_t(0x1A));
        QCOMPARE(s.keyerFeatures, std::uint8_t(0x02));
        const PaddleFeatures features = w.dlgEditKeyer()->Features();
        QVERIFY(!features.iambic && features.dotMemory && !features.dashMemory && !features.rightHand);
    }

    void shutdownSavesTheProfileAndItsName() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        QTest::mouseClick(w.panel->scrSpeed->upButton(), Qt::LeftButton);
        w.close();
        const QByteArray saved = h.Read("Smith.ini");
        QVERIFY(saved.startsWith(
            "[Timing]\r\nSpeed= 31\r\nWeight= 40\r\nTone= 700\r\nVolume= 20\r\nWordSpace= 7.5\r\n"
            "LetterSpace= 3\r\n[Modes]\r\nIambic=OFF\r\nDotMemory=ON\r\nDashMemory=OFF\r\n"
            "RLPaddles=LEFT\r\n[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"
            "[Messages]\r\nM1=CQ CQ DE (MYCALL) K\r\nTitle1=CQ\r\nM2=TU 73 *\r\nTitle2=\r\n"
            "M3=\r\nTitle3=--\r\n"));
        QVERIFY(h.Read("Operator.INI").contains("[Operator]\r\nINIFile=Smith.ini\r\n"));
    }

    void aMissingProfileIsCreatedInKeyOrder() {
        Harness h;
        ProgCon& w = StartWith(h, "New.ini", QByteArray());
        QCOMPARE(w.windowTitle(), QStringLiteral("Vesk Tandrel.....New"));
        QCOMPARE(w.txtMsgTitle[0]->text(), QStringLiteral("--"));
        w.close();
        QCOMPARE(h.Read("New.ini"), NewProfileText());
    }

    void featuresComeBackAsSaved() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        KeyerFeaturesDialog* dialog = w.dlgEditKeyer();
        dialog->SetFeatures({true, true, false, true});
        QTest::mouseClick(dialog->OKButton, Qt::LeftButton);
        w.mnuFileSave->trigger();
        const QByteArray saved = h.Read("Smith.ini");
        QVERIFY(
            saved.contains("[Modes]\r\nIambic=ON\r\nDotMemory=ON\r\nDashMemory=OFF\r\nRLPaddles=RIGHT\r\n"));

        Harness again;
        ProgCon& second = StartWith(again, "Smith.ini", saved);
        const PaddleFeatures features = second.dlgEditKeyer()->Features();
        QVERIFY(features.iambic && features.dotMemory && !features.dashMemory && features.rightHand);
        QCOMPARE(second.txtDashMemory->text(), QStringLiteral("Dash Memory OFF"));
    }

    void handEditedValuesAreHeldInRange() {
        Harness h;
        ProgCon& w =
            StartWith(h, "Odd.ini",
                      "junk without equals\r\n[timing]\r\nspeed=99\r\nWEIGHT=light\r\nTone=685\r\n"
                      "LetterSpace=abc\r\nWordSpace=1\r\n[Modes]\r\nIambic=on\r\nRLPaddles=Right\r\n");
        QCOMPARE(w.panel->scrSpeed->value(), 50);
        QCOMPARE(w.panel->scrWeight->value(), 30);
        QCOMPARE(w.panel->scrTone->value(), 68);
        QCOMPARE(w.panel->scrLetterSpace->value(), 10);
        QCOMPARE(w.panel->scrWordSpace->value(), 30);
        QCOMPARE(w.txtIambic->text(), QStringLiteral("Dash Override"));
        QCOMPARE(w.txtRLPaddles->text(), QStringLiteral("Left-Hand Paddles"));
        QCOMPARE(w.txtDotMemory->text(), QStringLiteral("Dot Memory ON"));
    }

    void lineBreaksInAMessageBecomeBlanks() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        w.messageTexts[3] = QStringLiteral("GM\r\nOM");
        w.mnuFileSave->trigger();
        QCOMPARE(w.messageTexts[3], QStringLiteral("GM  OM"));
        QVERIFY(h.Read("Smith.ini").contains("\r\nM4=GM  OM\r\n"));
    }

    void aLongMessageSurvivesSaveAndLoad() {
        QString message;
        for (int i = 0; message.size() < 600; ++i)
            message += QStringLiteral("CQ TEST %1 ").arg(i);
        message = message.left(600);
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        w.messageTexts[2] = message;
        w.mnuFileSave->trigger();
        const QByteArray firstSave = h.Read("Smith.ini");
        QVERIFY(firstSave.contains("\r\nM3,1="));
        QVERIFY(firstSave.contains("\r\nM3,2="));

        Harness again;
        ProgCon& second = StartWith(again, "Smith.ini", firstSave);
        QCOMPARE(second.messageTexts[2], message);
        second.mnuFileSave->trigger();
        QCOMPARE(again.Read("Smith.ini"), firstSave);
    }

    // A name without an extension gets one, so that operator selection lists the profile.
    void saveAsKeepsThePathAsChosen() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        const QString chosen = h.Path("MyProfile.ini");
        h.prompts.fileAnswers = {h.Path("MyProfile")};
        w.mnuFileSaveAs->trigger();
        QCOMPARE(h.prompts.shown.back().text, QStringLiteral("Save Current Settings As"));
        QCOMPARE(h.prompts.shown.back().caption, h.folder.path());
        QCOMPARE(w.operatorFile, chosen);
        QCOMPARE(w.operators->dlgOperator()->txtQTH->text(), QStringLiteral("Oslo"));
        QVERIFY(h.Read("MyProfile.ini").contains("[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"));
        QVERIFY(h.Read("Operator.INI").contains("INIFile=MyProfile.ini\r\n"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Vesk Tandrel.....Smith"));
    }

    void saveAsRefusesTheStateFileAndHonoursCancel() {
        Harness h;
        ProgCon& w = StartWith(h, "Smith.ini", SmithProfile);
        const QByteArray stateBefore = h.Read("Operator.INI");
        for (const QString& name : {QStringLiteral("operator.ini"), QStringLiteral("MyOperator.INI")}) {
            h.prompts.fileAnswers = {h.Path(name)};
            w.mnuFileSaveAs->trigger();
            QCOMPARE(h.prompts.shown.back().text, QStringLiteral("Cannot Save as OPERATOR.INI"));
            QCOMPARE(h.prompts.shown.back().caption, QStringLiteral("Protected File"));
            QCOMPARE(w.operatorFile, h.Path("Smith.ini"));
            QVERIFY(!QFile::exists(h.Path("MyOperator.INI")));
        }
        QCOMPARE(h.Read("Operator.INI"), stateBefore);

        const std::size_t shownBefore = h.prompts.shown.size();
        h.prompts.fileAnswers = {QString()};
        w.mnuFileSaveAs->trigger();
        QCOMPARE(h.prompts.shown.size(), shownBefore + 1);
        QCOMPARE(w.operatorFile, h.Path("Smith.ini"));
        QCOMPARE(h.Read("Operator.INI"), stateBefore);
    }
};

QTEST_MAIN(ProfileTest)
#include "test_app_profile.moc"
