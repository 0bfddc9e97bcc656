#include "Harness.h"
#include "keyboard/WorkedCall.h"

#include "profile/KeyerFeaturesDialog.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>

namespace {

const QByteArray OperatorProfile = "[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"
                                   "[Messages]\r\n"
                                   "M1=TU 73 *\r\nTitle1=End\r\n"
                                   "M2=CQ DE (MYCALL) (mycall) K\r\nTitle2=CQ\r\n"
                                   "M3=(HISCALL) DE (MYCALL) UR 599 *\r\nTitle3=Resp\r\n"
                                   "M4=(NAME) (QTH) (HISCALL)\r\nTitle4=Info\r\n"
                                   "M5=NAME (NAME)\r\nTitle5=Name\r\n"
                                   "M12=SK\r\nTitle12=His\r\n";

const QString SavedText = QStringLiteral("Message Saved, Returning To Normal Keyboard Operation");
const QString TransmitCaption = QStringLiteral(" Transmit Mode Click to Pause");
const QColor LightYellow(255, 255, 192);
const QColor LightGreen(192, 255, 192);
const QColor Grey(224, 224, 224);

// The Keyboard text after the message's button, sent into an emptied window.
QString SendByButton(ProgCon& w, int number) {
    QTest::mouseClick(w.cmdEnd, Qt::LeftButton);
    QTest::mouseClick(w.cmdMessages[number - 1], Qt::LeftButton);
    return w.keyboard.Text();
}

void Press(ProgCon& w, Qt::Key key) {
    QTest::keyClick(w.txtKeyboard, key);
}

void EditAndSave(Harness& h, int number, const QString& text, std::optional<QString> title) {
    ProgCon& w = *h.window;
    w.mnuEditMessages->trigger();
    QTest::mouseClick(w.cmdMessages[number - 1], Qt::LeftButton);
    w.keyboard.SetText(text);
    h.prompts.inputAnswers.push_back(title);
    Press(w, Qt::Key_Return);
}

// The value of a key as the profile file's own line holds it.
QString StoredValue(const Harness& h, const QByteArray& key) {
    for (QByteArray line : h.Read("Ops.ini").split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith(key + '=')) return QString::fromUtf8(line.mid(key.size() + 1));
    }
    return QStringLiteral("<missing>");
}

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

} // namespace

class MessagesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h;
    ProgCon* w = nullptr;

private slots:
    // A started window with the operator's profile, nothing sent yet.
    void init() {
        h = std::make_unique<Harness>();
        h->Write("Ops.ini", OperatorProfile);
        h->Write("Operator.INI", "[Operator]\r\nINIFile=Ops.ini\r\n");
        w = &h->Start();
        h->unit.ClearReports();
    }
    void cleanup() { h.reset(); }

    void aButtonSendsItsMessageAtTheEnd() {
        QCOMPARE(w->cmdMessages[0]->toolTip(), QStringLiteral("TU 73 *"));
        QTest::keyClicks(w->txtKeyboard, "AB");
        // Wherever the caret is, a button adds at the end.
        w->keyboard.SetSelStart(1);
        QTest::mouseClick(w->cmdMessages[0], Qt::LeftButton);
        QCOMPARE(w->keyboard.Text(), QStringLiteral("ABTU 73 "));
        QCOMPARE(w->state.caretPosition, 8);
        QCOMPARE(w->keyboard.SelStart(), 8);
        QVERIFY(w->transmitTimer->Enabled());

        h->clock.Advance(4000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x20, 0xC8, 0xFF, 0x3A, 0xE2, 0xFF}));
        QCOMPARE(w->sent.Text(), QStringLiteral("ABTU 73 "));
    }

    void functionKeysSendAtTheCaret() {
        QTest::keyClicks(w->txtKeyboard, "ABCD");
        Press(*w, Qt::Key_Left);
        Press(*w, Qt::Key_Left);
        Press(*w, Qt::Key_F5);
        QCOMPARE(w->keyboard.Text(), QStringLiteral("ABNAME AnnCD"));
        QCOMPARE(w->keyboard.SelStart(), 10);
        QVERIFY(w->transmitTimer->Enabled());

        // In the emptied window each message follows the one before, and a letter typed just
        // before the key, with no transmit tick between, comes first.
        Press(*w, Qt::Key_Escape);
        Press(*w, Qt::Key_K);
        Press(*w, Qt::Key_F1);
        Press(*w, Qt::Key_F12);
        QCOMPARE(w->keyboard.Text(), QStringLiteral("kTU 73 SK"));
        QCOMPARE(w->keyboard.SelStart(), 9);
    }

    // Saving a message changes the message alone: the live settings, sent and shown, stay.
    void savingAMessageKeepsTheLiveSettings() {
        QTest::mouseClick(w->panel->scrSpeed->upButton(), Qt::LeftButton);
        w->mnuEditKeyer->trigger();
        w->dlgEditKeyer()->rbRightLeft[1]->setChecked(true);
        QTest::mouseClick(w->dlgEditKeyer()->OKButton, Qt::LeftButton);
        EditAndSave(*h, 2, "QRZ?", QStringLiteral("Qrz"));
        QCOMPARE(w->panel->txtSpeed->text(), QStringLiteral(" 26"));
        QCOMPARE(h->unit.settings().speedWpm, 26);
        QCOMPARE(w->txtRLPaddles->text(), QStringLiteral("Left-Hand Paddles"));
        QVERIFY(!w->dlgEditKeyer()->Features().rightHand);
        QCOMPARE(h->unit.settings().paddleMode, std::uint8_t(0x1A));
        QCOMPARE(StoredValue(*h, "M2"), QStringLiteral("QRZ?"));
        QCOMPARE(StoredValue(*h, "Speed"), QStringLiteral("<missing>"));
    }

    void editingChoosesAMessageFirst() {
        QTest::keyClicks(w->txtKeyboard, "AB");
        w->mnuEditMessages->trigger();
        QCOMPARE(w->txtInfo->text(),
                 QStringLiteral("Click Message Number or Press Corresponding Function Key - ESC to Cancel"));
        QCOMPARE(Background(w->txtInfo), LightGreen);
        QCOMPARE(w->cmdTx->text(), QStringLiteral("     Paused     Click to Transmit"));
        QVERIFY(!w->cmdTx->isEnabled());
        QCOMPARE(Background(w->txtKeyboard), Grey);
        QVERIFY(!w->txtSent->isEnabled());
        QVERIFY(!w->transmitTimer->Enabled());
        QVERIFY(!w->monitorTimer->Enabled());
        QCOMPARE(w->keyboard.Text(), QStringLiteral("AB"));

        QTest::keyClicks(w->txtKeyboard, "x");
        QCOMPARE(h->prompts.shown.size(), std::size_t(1));
        QCOMPARE(h->prompts.shown[0].text,
                 QStringLiteral("You must click the message number before editing"));
        QCOMPARE(h->prompts.shown[0].caption, QString());
        QCOMPARE(w->keyboard.Text(), QString());
        QVERIFY(!w->transmitTimer->Enabled());

        // Button and function key show the same raw text; only the wording differs.
        QTest::mouseClick(w->cmdMessages[2], Qt::LeftButton);
        QCOMPARE(w->txtInfo->text(),
                 QStringLiteral("Editing Message 3....Press Return When Finished Editing! ESC to Cancel"));
        QCOMPARE(w->keyboard.Text(), QStringLiteral("(HISCALL) DE (MYCALL) UR 599 "));
        Press(*w, Qt::Key_F3);
        QCOMPARE(w->txtInfo->text(),
                 QStringLiteral("Editing Message  3....Press Return To Save Message! ESC to Cancel"));
        QCOMPARE(w->keyboard.Text(), QStringLiteral("(HISCALL) DE (MYCALL) UR 599 "));

        // The text being edited is not sent.
        QTest::keyClick(w->txtKeyboard, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w->txtKeyboard, "TU");
        QCOMPARE(w->keyboard.Text(), QStringLiteral("(HISCALL) DE (MYCALL) UR 599 TU"));
        QCOMPARE(h->prompts.shown.size(), std::size_t(1));
        h->clock.Advance(1000);
        QVERIFY(h->unit.reportsOf('C').empty());
    }

    void returnSavesTheMessageWithATitle() {
        w->mnuEditMessages->trigger();
        QTest::mouseClick(w->cmdMessages[4], Qt::LeftButton);
        QTest::keyClick(w->txtKeyboard, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(w->txtKeyboard, " HR ");
        h->prompts.inputAnswers.push_back(QStringLiteral("Nm"));
        Press(*w, Qt::Key_Return);

        QCOMPARE(h->prompts.shown.size(), std::size_t(1));
        QCOMPARE(h->prompts.shown[0].text,
                 QStringLiteral("Input a Title for this message....5 Characters Max!!!"));
        QCOMPARE(h->prompts.shown[0].caption, QStringLiteral("Message Title"));
        QCOMPARE(h->prompts.inputDefaults, QStringList{"Name"});
        QCOMPARE(StoredValue(*h, "Title5"), QStringLiteral("Nm"));
        QCOMPARE(StoredValue(*h, "M5"), QStringLiteral("NAME (NAME) HR *"));
        QCOMPARE(w->txtMsgTitle[4]->text(), QStringLiteral("Nm"));
        QCOMPARE(w->messageTexts[4], QStringLiteral("NAME (NAME) HR *"));
        QCOMPARE(w->cmdMessages[4]->toolTip(), QStringLiteral("NAME (NAME) HR *"));
        QCOMPARE(w->txtInfo->text(), SavedText);
        QCOMPARE(w->cmdTx->text(), TransmitCaption);
        QVERIFY(w->cmdTx->isEnabled());
        QCOMPARE(Background(w->txtKeyboard), LightYellow);
        QVERIFY(w->txtSent->isEnabled());

        // The next transmit tick keeps the banner readable for 2 s, then shows the unit's version.
        std::vector<std::int64_t> tickStarts;
        const auto tick = w->transmitTimer->onTick;
        w->transmitTimer->onTick = [&, tick] {
            tickStarts.push_back(h->clock.TickCount());
            tick();
        };
        std::vector<std::pair<std::int64_t, QString>> sleeps;
        h->clock.onSleep = [&](std::int64_t now) { sleeps.push_back({now, w->txtInfo->text()}); };
        h->clock.Advance(100);
        QCOMPARE(sleeps.size(), std::size_t(1));
        QCOMPARE(tickStarts.size(), std::size_t(1));
        QCOMPARE(sleeps[0].first - tickStarts[0], std::int64_t(2000));
        QCOMPARE(sleeps[0].second, SavedText);
        QCOMPARE(w->txtInfo->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QCOMPARE(w->keyboard.Text(), QString());
        QVERIFY(h->unit.reportsOf('C').empty());

        QCOMPARE(SendByButton(*w, 5), QStringLiteral("NAME Ann HR "));
    }

    // A message the profile cannot take is told, and stays in the window for this session.
    void aMessageThatCannotBeStoredIsTold() {
        Harness h;
        const QByteArray binary("[Messages]\r\nM1=x\0", 17);
        h.Write("Ops.ini", binary);
        h.Write("Operator.INI", "[Operator]\r\nINIFile=Ops.ini\r\n");
        ProgCon& w = h.Start();
        EditAndSave(h, 2, "QRZ?", QStringLiteral("Q"));
        QCOMPARE(h.prompts.shown.back().text, "The operator profile\n" + h.Path("Ops.ini") +
                                                  "\nwas not saved: it holds bytes that are not text.\n\n"
                                                  "The file is as it was before.");
        QCOMPARE(w.messageTexts[1], "QRZ?");
        QCOMPARE(h.Read("Ops.ini"), binary);
    }

    void titlesAndTextsAsStored() {
        EditAndSave(*h, 7, "QRL?", std::nullopt);
        EditAndSave(*h, 8, "", QStringLiteral("Abc"));
        EditAndSave(*h, 9, "QRZ?", QString());
        EditAndSave(*h, 10, "CQ TEST", QStringLiteral("Contest"));
        EditAndSave(*h, 12, "CQ\r\nDE N0CALL", QStringLiteral("Two"));
        QCOMPARE(h->prompts.inputDefaults, (QStringList{"--", "--", "--", "--", "His"}));

        QCOMPARE(StoredValue(*h, "Title7"), QStringLiteral("--"));
        QCOMPARE(StoredValue(*h, "M7"), QStringLiteral("QRL?"));
        QCOMPARE(StoredValue(*h, "Title8"), QStringLiteral("--"));
        QCOMPARE(StoredValue(*h, "M8"), QString());
        QCOMPARE(StoredValue(*h, "Title9"), QStringLiteral("--"));
        QCOMPARE(StoredValue(*h, "Title10"), QStringLiteral("Contest"));
        QCOMPARE(StoredValue(*h, "M12"), QStringLiteral("CQ  DE N0CALL"));
        QCOMPARE(w->txtMsgTitle[6]->text(), QStringLiteral("--"));
        QCOMPARE(w->txtMsgTitle[9]->text(), QStringLiteral("Contest"));
        QCOMPARE(w->messageTexts[7], QString());
        QCOMPARE(w->messageTexts[11], QStringLiteral("CQ  DE N0CALL"));
    }

    void escapeCancelsWithoutChanges() {
        const QByteArray fileBefore = h->Read("Ops.ini");
        const auto textsBefore = w->messageTexts;

        w->mnuEditMessages->trigger();
        QTest::mouseClick(w->cmdMessages[1], Qt::LeftButton);
        QTest::keyClicks(w->txtKeyboard, "QRM");
        Press(*w, Qt::Key_Escape);
        QCOMPARE(w->txtInfo->text(),
                 QStringLiteral("Message Edit Cancelled, Returning To Normal Keyboard Operation"));
        QCOMPARE(w->messageTexts, textsBefore);
        QCOMPARE(h->Read("Ops.ini"), fileBefore);
        QCOMPARE(w->keyboard.Text(), QString());
        QVERIFY(w->cmdTx->isEnabled());

        // Also before any message is chosen.
        w->mnuEditMessages->trigger();
        Press(*w, Qt::Key_Escape);
        QVERIFY(w->cmdTx->isEnabled());
        QVERIFY(!w->state.messageEditMode);
        QVERIFY(h->prompts.shown.empty());
        QCOMPARE(h->Read("Ops.ini"), fileBefore);
    }

    void theWorkedCallGoesToMacroAndClipboard() {
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QGuiApplication::clipboard()->setText("before");

        QTest::mouseClick(w->cmdCaptureCall, Qt::LeftButton);
        WorkedCallDialog* dialog = w->workedCallEntry->dlgWrkCall();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Enter Work Station Call"));
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClicks(dialog->txtWrkCall, "dl1abc");
        QTest::keyClick(dialog->txtWrkCall, Qt::Key_Return);
        QCOMPARE(w->txtWrkStation->text(), QStringLiteral("DL1ABC"));
        QCOMPARE(dialog->txtWrkCall->text(), QString());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(Clipboard(), QStringLiteral("DL1ABC"));
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo DL1ABC"));
        // The own call is taken from the operator label at the moment of sending.
        w->lblOP->setText("Operator: K1ABC");
        QCOMPARE(SendByButton(*w, 3), QStringLiteral("DL1ABC DE K1ABC UR 599 "));

        // A click empties the box; only Return in it confirms what is typed there.
        QTest::mouseClick(w->txtWrkStation, Qt::LeftButton);
        QCOMPARE(w->txtWrkStation->text(), QString());
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo DL1ABC"));
        QTest::keyClicks(w->txtWrkStation, "ok1xyz");
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo DL1ABC"));
        QCOMPARE(Clipboard(), QStringLiteral("DL1ABC"));
        QTest::keyClick(w->txtWrkStation, Qt::Key_Return);
        QCOMPARE(w->txtWrkStation->text(), QStringLiteral("OK1XYZ"));
        QCOMPARE(Clipboard(), QStringLiteral("OK1XYZ"));
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo OK1XYZ"));

        // Cancel keeps the typing for the next opening and changes nothing else.
        QTest::mouseClick(w->cmdCaptureCall, Qt::LeftButton);
        QTest::keyClicks(dialog->txtWrkCall, "abc");
        QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w->txtWrkStation->text(), QStringLiteral("OK1XYZ"));
        QCOMPARE(Clipboard(), QStringLiteral("OK1XYZ"));
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo OK1XYZ"));
        QTest::mouseClick(w->cmdCaptureCall, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->txtWrkCall->text(), QStringLiteral("abc"));

        // An empty entry confirms an empty call.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(dialog->txtWrkCall, Qt::Key_Backspace);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClick(dialog->txtWrkCall, Qt::Key_Return);
        QCOMPARE(w->txtWrkStation->text(), QString());
        QCOMPARE(Clipboard(), QString());
        QCOMPARE(SendByButton(*w, 4), QStringLiteral("Ann Oslo "));
    }
};

QTEST_MAIN(MessagesTest)
#include "test_app_messages.moc"
