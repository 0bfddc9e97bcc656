#include "Harness.h"
#include "keyboard/WorkedCall.h"
#include "operators/OperatorDialog.h"
#include "operators/SelectOperatorDialog.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const QByteArray AnnsProfile = "[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo\r\n"
                               "[Messages]\r\n"
                               "M1=TU 73 *\r\nTitle1=End\r\n"
                               "M2=CQ DE (MYCALL) (mycall) K\r\nTitle2=CQ\r\n"
                               "M3=(HISCALL) DE (MYCALL) UR 599 *\r\nTitle3=Resp\r\n"
                               "M4=(NAME) (QTH) (HISCALL)\r\nTitle4=Info\r\n"
                               "M5=NAME (NAME)\r\nTitle5=Name\r\n"
                               "M6=NR (SERIAL)\r\nM11=E (WPM+5)T(WPM 10)E\r\n"
                               "M12=SK\r\nTitle12=His\r\n";

QPushButton* MessageButton(const Harness& h, int number) {
    return h.Find<QPushButton>(QStringLiteral("cmdMessages%1").arg(number - 1));
}

// The Keyboard text after the message's button, sent into an emptied window.
QString SendByButton(const Harness& h, int number) {
    QTest::mouseClick(h.Find<QPushButton>("cmdEnd"), Qt::LeftButton);
    QTest::mouseClick(MessageButton(h, number), Qt::LeftButton);
    return h.KeyboardText();
}

void Press(const Harness& h, Qt::Key key) {
    QTest::keyClick(h.Keyboard(), key);
}

// The new text is pasted over the old, as the operator may.
void EditAndSave(Harness& h, int number, const QString& text, std::optional<QString> title) {
    h.Trigger("mnuEditMessages");
    QTest::mouseClick(MessageButton(h, number), Qt::LeftButton);
    h.Keyboard()->selectAll();
    h.Keyboard()->insertPlainText(text);
    h.prompts.inputAnswers.push_back(title);
    Press(h, Qt::Key_Return);
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
    QTextEdit* keyboard = nullptr;
    QLineEdit* info = nullptr;
    QPushButton* transmit = nullptr;

private slots:
    // A started window with the operator's profile, nothing sent yet.
    void init() {
        h = std::make_unique<Harness>();
        h->StartWith("Ops.ini", AnnsProfile);
        keyboard = h->Keyboard();
        info = h->Find<QLineEdit>("txtInfo");
        transmit = h->Find<QPushButton>("cmdTx");
        h->unit.ClearReports();
    }
    void cleanup() { h.reset(); }

    void aButtonSendsItsMessageAtTheEnd() {
        QTest::keyClicks(keyboard, "AB");
        // Wherever the caret is, a button adds at the end.
        Press(*h, Qt::Key_Left);
        QTest::mouseClick(MessageButton(*h, 1), Qt::LeftButton);
        QCOMPARE(h->KeyboardText(), QStringLiteral("ABTU 73 "));
        QCOMPARE(keyboard->textCursor().position(), 8);

        h->clock.Advance(4000);
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0x90, 0x74, 0x20, 0xC8, 0xFF, 0x3A, 0xE2, 0xFF}));
    }

    void functionKeysSendAtTheCaret() {
        QTest::keyClicks(keyboard, "ABCD");
        Press(*h, Qt::Key_Left);
        Press(*h, Qt::Key_Left);
        Press(*h, Qt::Key_F5);
        QCOMPARE(h->KeyboardText(), QStringLiteral("ABNAME AnnCD"));
        QCOMPARE(keyboard->textCursor().position(), 10);

        // In the emptied window each message follows the one before, and a letter typed just
        // before the key, with no transmit tick between, comes first.
        Press(*h, Qt::Key_Escape);
        Press(*h, Qt::Key_K);
        Press(*h, Qt::Key_F1);
        Press(*h, Qt::Key_F12);
        QCOMPARE(h->KeyboardText(), QStringLiteral("kTU 73 SK"));
    }

    // Saving a message changes the message alone: the live settings, sent and shown, stay.
    void savingAMessageKeepsTheLiveSettings() {
        ClickUp(h->Panel()->scrSpeed);
        h->Trigger("mnuEditKeyer");
        h->Find<KeyerFeaturesDialog>()->rbRightLeft[1]->setChecked(true);
        QTest::mouseClick(h->Find<KeyerFeaturesDialog>()->OKButton, Qt::LeftButton);
        EditAndSave(*h, 2, "QRZ?", QStringLiteral("Qrz"));
        QCOMPARE(h->Panel()->txtSpeed->text(), QStringLiteral(" 26"));
        QCOMPARE(h->unit.settings().speedWpm, 26);
        QCOMPARE(h->Find<QLineEdit>("txtRLPaddles")->text(), QStringLiteral("Left-Hand Paddles"));
        QCOMPARE(h->unit.settings().paddleMode, std::uint8_t(0x1A));
        QVERIFY(h->Find<KeyerFeaturesDialog>()->rbRightLeft[1]->isChecked());
        QCOMPARE(StoredValue(*h, "M2"), QStringLiteral("QRZ?"));
        QCOMPARE(StoredValue(*h, "Speed"), QStringLiteral("<missing>"));
    }

    void editingChoosesAMessageFirst() {
        QTest::keyClicks(keyboard, "AB");
        h->Trigger("mnuEditMessages");
        QCOMPARE(info->text(),
                 QStringLiteral("Click Message Number or Press Corresponding Function Key - ESC to Cancel"));
        QCOMPARE(transmit->text(), QStringLiteral("     Paused     Click to Transmit"));
        QVERIFY(!transmit->isEnabled());
        QCOMPARE(Background(keyboard), QColor(224, 224, 224));
        QVERIFY(!h->Find<QTextEdit>("txtSent")->isEnabled());
        QCOMPARE(h->KeyboardText(), QStringLiteral("AB"));

        QTest::keyClicks(keyboard, "x");
        QCOMPARE(h->prompts.shown.back().text,
                 QStringLiteral("You must click the message number before editing"));
        QCOMPARE(h->KeyboardText(), QString());

        // Button and function key show the same raw text; only the wording differs.
        QTest::mouseClick(MessageButton(*h, 3), Qt::LeftButton);
        QCOMPARE(info->text(),
                 QStringLiteral("Editing Message 3....Press Return When Finished Editing! ESC to Cancel"));
        Press(*h, Qt::Key_F3);
        QCOMPARE(info->text(),
                 QStringLiteral("Editing Message  3....Press Return To Save Message! ESC to Cancel"));

        // The text being edited is not sent.
        QTest::keyClick(keyboard, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(keyboard, "TU");
        QCOMPARE(h->KeyboardText(), QStringLiteral("(HISCALL) DE (MYCALL) UR 599 TU"));
        QCOMPARE(h->prompts.shown.size(), std::size_t(1));
        // Nothing goes to the unit while a message is edited, not even the connection monitor's search.
        const int searches = h->unit.enumerations();
        h->clock.Advance(3000);
        QVERIFY(h->unit.reportsOf('C').empty());
        QCOMPARE(h->unit.enumerations(), searches);
    }

    void returnSavesTheMessageWithATitle() {
        h->Trigger("mnuEditMessages");
        QTest::mouseClick(MessageButton(*h, 5), Qt::LeftButton);
        QTest::keyClick(keyboard, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(keyboard, " HR ");
        h->prompts.inputAnswers.push_back(QStringLiteral("Nm"));
        Press(*h, Qt::Key_Return);

        QCOMPARE(h->prompts.shown.back().text + '|' + h->prompts.shown.back().caption,
                 QStringLiteral("Input a Title for this message....5 Characters Max!!!|Message Title"));
        QCOMPARE(h->prompts.inputDefaults, QStringList{"Name"});
        QCOMPARE(StoredValue(*h, "Title5"), QStringLiteral("Nm"));
        QCOMPARE(StoredValue(*h, "M5"), QStringLiteral("NAME (NAME) HR *"));
        QCOMPARE(h->Find<QLineEdit>("txtMsgTitle4")->text(), QStringLiteral("Nm"));
        QCOMPARE(MessageButton(*h, 5)->toolTip(), QStringLiteral("NAME (NAME) HR *"));
        QCOMPARE(transmit->text(), QStringLiteral(" Transmit Mode Click to Pause"));
        QCOMPARE(Background(keyboard), QColor(255, 255, 192));

        // The banner stays readable for 2 s, then the unit's version shows.
        h->clock.Advance(1990);
        QCOMPARE(info->text(), QStringLiteral("Message Saved, Returning To Normal Keyboard Operation"));
        h->clock.Advance(20);
        QCOMPARE(info->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QVERIFY(h->unit.reportsOf('C').empty());
    }

    // A message the profile cannot take is told, and stays in the window for this session.
    void aMessageThatCannotBeStoredIsTold() {
        const QByteArray binary("[Messages]\r\nM1=x\0", 17);
        h->Write("Ops.ini", binary);
        EditAndSave(*h, 2, "QRZ?", QStringLiteral("Q"));
        QCOMPARE(h->prompts.shown.back().text, "The operator profile\n" + h->Path("Ops.ini") +
                                                   "\nwas not saved: it holds bytes that are not text.\n\n"
                                                   "The file is as it was before.");
        QCOMPARE(MessageButton(*h, 2)->toolTip(), "QRZ?");
        QCOMPARE(h->Read("Ops.ini"), binary);
    }

    // A profile the settings were not loaded from is never written, whatever saves: missing at start
    // and back since, a link to a disk not mounted, a path longer than 254 characters, a file that is
    // no profile. The state file keeps naming it, whole, and the operator may save elsewhere at exit.
    void aProfileNotLoadedIsLeftAlone() {
        const QString aFolder = QString(200, 'a');
        const QByteArray notes = "[Timing]\r\nSpeed=30\r\n";
        for (const QString& name :
             QStringList{"gone.ini", "link.ini", aFolder + '/' + QString(100, 'b') + ".ini", "notes.txt"}) {
            Harness g;
            g.Write("Ops.ini", AnnsProfile);
            g.Write("notes.txt", notes);
            QVERIFY(QDir(g.folder.path()).mkdir(aFolder) &&
                    QFile::link(g.Path("gone/link.ini"), g.Path("link.ini")));
            g.Write("Operator.INI", "[Operator]\r\nINIFile=" + g.Path(name).toUtf8() + "\r\n");
            g.Start();
            QCOMPARE(g.prompts.shown.front().text.section('\n', 0, 0),
                     name == "notes.txt" ? "The file" : "Operator File Not Found!");
            if (name != "notes.txt") g.Find<SelectOperatorDialog>()->close();
            EditAndSave(g, 2, "QRZ?", QStringLiteral("Q"));
            g.Trigger("mnuEditOperator");
            QTest::mouseClick(g.Find<OperatorDialog>()->CancelButton, Qt::LeftButton);
            g.Write("gone.ini", AnnsProfile);
            g.Trigger("mnuFileExit");
            QCOMPARE(g.Read("gone.ini") + g.Read("notes.txt"), AnnsProfile + notes);
            QVERIFY(QFileInfo(g.Path("link.ini")).isSymLink() && QDir(g.Path(aFolder)).isEmpty());
            QVERIFY(g.Read("Operator.INI").contains(name.toUtf8() + "\r\n"));
            QVERIFY(
                g.prompts.shown.back().text.contains("not loaded from it, so it is left as it is.\n\nSave"));
        }
    }

    void titlesAndTextsAsStored() {
        EditAndSave(*h, 7, "QRL?", std::nullopt);
        EditAndSave(*h, 8, "", QStringLiteral("Abc"));
        EditAndSave(*h, 9, "QRZ?", QString());
        EditAndSave(*h, 10, "CQ TEST", QStringLiteral("Contest"));
        EditAndSave(*h, 12, "CQ\nDE N0CALL", QStringLiteral("Two"));
        QCOMPARE(h->prompts.inputDefaults, (QStringList{"--", "--", "--", "--", "His"}));

        // No title, or an empty one, stores "--"; a line break is stored as blanks.
        QStringList stored;
        for (const char* key : {"Title7", "M7", "Title8", "M8", "Title9", "Title10", "M12"})
            stored << StoredValue(*h, key);
        QCOMPARE(stored, QStringList({"--", "QRL?", "--", "", "--", "Contest", "CQ  DE N0CALL"}));
        QCOMPARE(MessageButton(*h, 12)->toolTip(), QStringLiteral("CQ  DE N0CALL"));
    }

    void escapeCancelsWithoutChanges() {
        h->Trigger("mnuEditMessages");
        QTest::mouseClick(MessageButton(*h, 2), Qt::LeftButton);
        QTest::keyClicks(keyboard, "QRM");
        Press(*h, Qt::Key_Escape);
        QCOMPARE(info->text(),
                 QStringLiteral("Message Edit Cancelled, Returning To Normal Keyboard Operation"));
        QCOMPARE(MessageButton(*h, 2)->toolTip(), QStringLiteral("CQ DE (MYCALL) (mycall) K"));
        QCOMPARE(h->Read("Ops.ini"), AnnsProfile);
        QCOMPARE(h->KeyboardText(), QString());

        // Also before any message is chosen.
        h->Trigger("mnuEditMessages");
        Press(*h, Qt::Key_Escape);
        QVERIFY(transmit->isEnabled());
        QVERIFY(h->prompts.shown.empty());
        QCOMPARE(h->Read("Ops.ini"), AnnsProfile);
    }

    // A speed word changes the unit's speed between the characters around it, one transfer each, and
    // the operator's speed comes back after the message, or when it is stopped.
    void aSpeedChangeGoesOutAtItsCharacter() {
        Press(*h, Qt::Key_F11);
        QCOMPARE(h->KeyboardText(), u"E \u2039+5\u203AT\u203910\u203AE\u2039\u203A"_qs);
        h->clock.Advance(300);
        QCOMPARE(h->Panel()->txtSpeed->text() + h->unit.letters(), QStringLiteral(" 30CCSSS"));
        h->clock.Advance(3000);
        QCOMPARE(h->unit.letters(), QStringLiteral("CCSSSCSSSCSSS"));
        QCOMPARE(h->SentText(), QStringLiteral("E TE"));
        QCOMPARE(h->Panel()->txtSpeed->text() + QString::number(h->unit.settings().speedWpm), " 2525");

        Press(*h, Qt::Key_Escape);
        Press(*h, Qt::Key_F11);
        h->clock.Advance(400);
        QCOMPARE(h->unit.settings().speedWpm, 30);
        QTest::mouseClick(h->Find<QPushButton>("cmdEnd"), Qt::LeftButton);
        QCOMPARE(h->Panel()->txtSpeed->text() + QString::number(h->unit.settings().speedWpm), " 2525");
    }

    // The number goes up with the next confirmed call once it went out, is typed like a setting (never
    // keyed), is cut as chosen, and is in the profile at each change, so a restart goes on with it.
    void theSerialNumberCountsContacts() {
        QVERIFY(h->ShowActive());
        auto* call = h->Find<QLineEdit>("txtWrkStation");
        auto* serial = h->Find<SettingBox>("txtSerial");
        const auto confirm = [&](const char* typed) {
            QTest::mouseClick(call, Qt::LeftButton);
            QTest::keyClicks(call, typed);
            QTest::keyClick(call, Qt::Key_Return);
        };
        confirm("dl1abc");
        confirm("dl1abd");
        QCOMPARE(SendByButton(*h, 6), QStringLiteral("NR 001"));
        QTest::mouseClick(h->Find<QPushButton>("cmdCaptureCall"), Qt::LeftButton);
        QTest::keyClicks(h->Find<WorkedCallDialog>()->txtWrkCall, "g4xyz");
        QTest::keyClick(h->Find<WorkedCallDialog>()->txtWrkCall, Qt::Key_Return);
        confirm("");
        QCOMPARE(serial->text(), QStringLiteral("2"));
        QVERIFY(h->Read("Ops.ini").endsWith("[Contest]\r\nSerial=2\r\nSerialSent=NO\r\nCutNumbers=OFF\r\n"));

        QTest::mouseClick(serial, Qt::LeftButton);
        QTest::keyClicks(serial, "5");
        QTest::keyClick(serial, Qt::Key_Escape);
        QTest::mouseClick(serial, Qt::LeftButton);
        QTest::keyClicks(serial, "9999");
        QTest::keyClick(serial, Qt::Key_Return);
        QVERIFY(keyboard->hasFocus() && !h->KeyboardText().contains(u'9') && !h->SentText().contains(u'9'));
        QCOMPARE(SendByButton(*h, 6), QStringLiteral("NR 9999"));
        confirm("ok1xyz");
        h->Trigger("mnuEditKeyer");
        h->Find<KeyerFeaturesDialog>()->rbCutNumbers[1]->setChecked(true);
        QTest::mouseClick(h->Find<KeyerFeaturesDialog>()->OKButton, Qt::LeftButton);
        h->clock.Advance(9000);
        QTest::keyClicks(keyboard, "0 ");
        Press(*h, Qt::Key_F6);
        h->clock.Advance(9000);
        QCOMPARE(h->SentText(), QStringLiteral("NR 9999\r\n0 NR 1TTTT\r\n"));

        h->window->close();
        h->Start();
        QCOMPARE(h->Find<SettingBox>("txtSerial")->text(), QStringLiteral("10000"));
        QVERIFY(h->Find<KeyerFeaturesDialog>()->rbCutNumbers[1]->isChecked());
        QCOMPARE(SendByButton(*h, 6), QStringLiteral("NR 1TTTT"));
    }

    void theWorkedCallGoesToMacroAndClipboard() {
        QVERIFY(h->ShowActive());
        auto* call = h->Find<QLineEdit>("txtWrkStation");
        auto* capture = h->Find<QPushButton>("cmdCaptureCall");
        QGuiApplication::clipboard()->setText("before");

        QTest::mouseClick(capture, Qt::LeftButton);
        auto* dialog = h->Find<WorkedCallDialog>();
        QVERIFY(!dialog->isModal());
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QTest::keyClicks(dialog->txtWrkCall, "dl1abc");
        QTest::keyClick(dialog->txtWrkCall, Qt::Key_Return);
        QCOMPARE(call->text(), QStringLiteral("DL1ABC"));
        QCOMPARE(dialog->txtWrkCall->text(), QString());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(Clipboard(), QStringLiteral("DL1ABC"));
        QCOMPARE(SendByButton(*h, 4), QStringLiteral("Ann Oslo DL1ABC"));
        // The own call is the operator's at the moment of sending.
        h->Trigger("mnuEditOperator");
        h->Find<OperatorDialog>()->txtCall->setText("K1ABC");
        QTest::mouseClick(h->Find<OperatorDialog>()->OKButton, Qt::LeftButton);
        QCOMPARE(SendByButton(*h, 3), QStringLiteral("DL1ABC DE K1ABC UR 599 "));

        // A click empties the box; only Return in it confirms what is typed there.
        QTest::mouseClick(call, Qt::LeftButton);
        QCOMPARE(call->text(), QString());
        QTest::keyClicks(call, "ok1xyz");
        QCOMPARE(SendByButton(*h, 4), QStringLiteral("Ann Oslo DL1ABC"));
        QCOMPARE(Clipboard(), QStringLiteral("DL1ABC"));
        QTest::keyClick(call, Qt::Key_Return);
        QCOMPARE(call->text(), QStringLiteral("OK1XYZ"));
        QCOMPARE(Clipboard(), QStringLiteral("OK1XYZ"));
        QCOMPARE(SendByButton(*h, 4), QStringLiteral("Ann Oslo OK1XYZ"));

        // Cancel (ESC too) keeps the typing for the next opening and changes nothing else.
        QTest::mouseClick(capture, Qt::LeftButton);
        QTest::keyClicks(dialog->txtWrkCall, "abc");
        call->setFocus();
        QTest::keyClick(dialog->txtWrkCall, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible() && h->window->focusWidget() == keyboard);
        QCOMPARE(call->text() + ' ' + Clipboard(), QStringLiteral("OK1XYZ OK1XYZ"));
        QTest::mouseClick(capture, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->txtWrkCall->text(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(MessagesTest)
#include "test_app_messages.moc"
