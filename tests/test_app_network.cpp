#include "Harness.h"
#include "network/NetworkKeyerDialog.h"

#include <QCheckBox>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>

namespace {

const QString Tuning = QStringLiteral("TRANSMITTER KEYED - Tuning Until ALT Is Released");

// A port no socket holds at the moment.
quint16 FreePort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

} // namespace

// A logger on a real loopback socket keys the running window on the emulator; the unit's time is the
// test clock's.
class NetworkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Harness> h;
    QUdpSocket logger;
    quint16 port = 0;
    QByteArrayList heard;

    void Send(const QByteArray& datagram) { logger.writeDatagram(datagram, QHostAddress::LocalHost, port); }
    QString Status() const { return h->Find<QLineEdit>("txtInfo")->text(); }
    QString Listening() const {
        return QStringLiteral("Firmware Version: 1.0.7 - Network keyer 127.0.0.1:%1").arg(port);
    }
    QString From() const { return QStringLiteral("127.0.0.1:%1").arg(logger.localPort()); }
    // Every reply so far, in order.
    QByteArrayList Replies() {
        while (logger.hasPendingDatagrams())
            heard << logger.receiveDatagram().data();
        return heard;
    }

private slots:
    // The test's own sockets go direct too, without the proxy lookup's thread.
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    // 25 wpm, letter space 2, word space 8; the profile keeps 22 wpm, weight 40 and volume 30.
    void init() {
        h = std::make_unique<Harness>();
        h->StartWith("Ann.ini",
                     "[Timing]\r\nSpeed=22\r\nWeight=40\r\nVolume=30\r\n[Operator]\r\nMyCall=N0CALL\r\n"
                     "Name=Ann\r\nQTH=Oslo\r\n");
        h->Panel()->scrSpeed->setValue(25);
        port = FreePort();
        QCOMPARE(h->window->ListenForLoggers(QStringLiteral("127.0.0.1:%1").arg(port)), QString());
        QCOMPARE(Status(), Listening());
        QVERIFY(logger.bind(QHostAddress::LocalHost, 0));
        h->unit.ClearReports();
    }
    void cleanup() {
        h.reset();
        logger.close();
        heard.clear();
    }

    // The logger's speed with one settings transfer, its text through the loop into the Keyboard and
    // Sent windows, the reply once the text's last character was written, and at once for a text with
    // nothing to key; requests without meaning, exit among them, change nothing.
    void aLoggerKeysTheUnit() {
        Send("\x1b"
             "2 30");
        Send("\x1bhdone");
        Send("ee+e~\r\nlost");
        QTRY_COMPARE(h->KeyboardText(), u"EE\u2039+2\u203AE\u2039~\u203A\u2039\u203A"_qs);
        QCOMPARE(h->Panel()->txtSpeed->text(), QStringLiteral(" 30"));
        QCOMPARE(Status(), Listening() + ", text from " + From());
        h->clock.Advance(130);
        QCOMPARE(Replies(), QByteArrayList());
        h->clock.Advance(200);
        QCOMPARE(Replies(), QByteArrayList{"hdone"});
        QCOMPARE(h->unit.letters(), QStringLiteral("SSSCCSSSCSSS"));
        QCOMPARE(Codes(h->unit), (std::vector<std::uint8_t>{0xA0, 0xA0, 0xA0}));
        QCOMPARE(h->SentText(), QStringLiteral("EEE"));
        QCOMPARE(h->unit.settings().speedWpm, 30);

        Send("\x1bhnil");
        Send("\x1b"
             "5");
        Send("\x1b"
             "a1");
        Send("%#\n");
        QTRY_COMPARE(Replies(), (QByteArrayList{"hdone", "hnil"}));
        Send("t");
        QTRY_VERIFY(h->KeyboardText().endsWith('T'));
    }

    // The text waits while sending is paused, beside the operator's caret, and what the operator
    // deletes of it never goes out; Esc, Stop and the logger's abort drop it, answering its reply.
    void theOperatorKeepsControl() {
        QTest::mouseClick(h->Find<QPushButton>("cmdTx"), Qt::LeftButton);
        QTest::keyClicks(h->Keyboard(), "AB");
        h->Keyboard()->moveCursor(QTextCursor::PreviousCharacter);
        Send("\x1bhcut");
        Send("test");
        QTRY_COMPARE(h->KeyboardText(), QStringLiteral("ABTEST"));
        QCOMPARE(h->Keyboard()->textCursor().position(), 1);
        h->Keyboard()->moveCursor(QTextCursor::End);
        QTest::keyClick(h->Keyboard(), Qt::Key_Backspace);
        QTest::keyClick(h->Keyboard(), Qt::Key_Backspace);
        QTest::mouseClick(h->Find<QPushButton>("cmdTx"), Qt::LeftButton);
        h->clock.Advance(1000);
        QCOMPARE(h->SentText() + Replies().join(), QStringLiteral("ABT"));
        h->clock.Advance(500);
        QCOMPARE(Replies(), QByteArrayList{"hcut"});
        QCOMPARE(h->SentText(), QStringLiteral("ABTE"));

        using Stop = void (*)(Harness&);
        const Stop stops[] = {[](Harness& g) { QTest::keyClick(g.Keyboard(), Qt::Key_Escape); },
                              [](Harness& g) { g.Find<QPushButton>("cmdEnd")->click(); }, [](Harness&) {}};
        for (qsizetype i = 0; i < qsizetype(std::size(stops)); ++i) {
            h->clock.Advance(4000);
            Send("\x1bhstop");
            Send("eeee");
            QTRY_COMPARE(h->KeyboardText(), QStringLiteral("EEEE"));
            h->clock.Advance(100);
            stops[i](*h);
            Send("\x1b"
                 "4");
            QTRY_COMPARE(Replies().count("hstop"), i + 1);
            QCOMPARE(h->KeyboardText(), QString());
        }
        QCOMPARE(h->SentText(), QStringLiteral("ABTE\r\nE\r\nE\r\nE\r\n"));
    }

    // Tune keys the transmitter as ALT does: the character on its way waits, the tune sign shows, the
    // key goes up after the time (10 s at most) and at shutdown, and stays up after the operator's ALT.
    void tuneHoldsTheKeyForItsTime() {
        QTest::keyClicks(h->Keyboard(), "EE");
        h->clock.Advance(100);
        Send("\x1b"
             "c2");
        QTRY_VERIFY(h->unit.keyDown());
        QCOMPARE(Status(), Tuning);
        QTest::keyPress(h->Keyboard(), Qt::Key_Alt);
        QTest::keyRelease(h->Keyboard(), Qt::Key_Alt, Qt::AltModifier);
        h->clock.Advance(2500);
        QCOMPARE(h->unit.letters(), QStringLiteral("CTTtC"));

        Send("\x1b"
             "c99");
        QTRY_VERIFY(h->unit.keyDown());
        h->clock.Advance(9999);
        QVERIFY(h->unit.keyDown());
        h->clock.Advance(1);
        QVERIFY(!h->unit.keyDown());
        QCOMPARE(Status(), Listening());
        Send("\x1b"
             "c5");
        QTRY_VERIFY(h->unit.keyDown());
        h->window->close();
        QVERIFY(h->unit.letters().endsWith("TtTt"));
    }

    // Each setting moves its control and goes to the unit once; reset brings back the profile's; a
    // value out of range is refused and said.
    void settingsMoveTheControls() {
        const std::pair<QByteArray, QString> steps[] = {{"3 805", "25 40 810 30 2 8 7"},
                                                        {"7 25", "25 60 810 30 2 8 7"},
                                                        {"g40", "25 60 810 40 2 8 7"},
                                                        {"30", "25 60 810 0 2 8 7"},
                                                        {"0", "22 40 680 30 2 8 7"}};
        for (const auto& [request, decoded] : steps) {
            h->unit.ClearReports();
            Send("\x1b" + request);
            QTRY_COMPARE(Decoded(h->unit), decoded);
            QCOMPARE(h->unit.letters(), QStringLiteral("SSS"));
        }
        Send("\x1b"
             "24");
        QTRY_COMPARE(Status(), Listening() + ", refused from " + From() + ": speed 4 is outside 5..60");
    }

    // A flood: a few datagrams a moment are carried out, the rest dropped and counted; a text that would
    // leave too much waiting is dropped whole.
    void aFloodIsHeldBack() {
        for (int i = 0; i < 100; ++i)
            Send("e");
        QTRY_COMPARE(Status(), Listening() + ", 84 datagrams dropped, more than 16 in 100 ms");
        QCOMPARE(h->KeyboardText(), QString(16, 'E'));
        h->clock.Advance(100);
        for (int i = 0; i < 4; ++i)
            Send(QByteArray(250, 't'));
        QTRY_COMPARE(Status(),
                     Listening() + ", text from " + From() + " dropped: 765 characters wait unsent");
        QCOMPARE(h->KeyboardText().size(), 16 + 750);
    }

    // The choice is read from Operator.INI, made in the dialog and written back; a port in use is told,
    // an address that cannot be read is refused; turned off, nothing listens.
    void theChoiceIsKept() {
        QUdpSocket taken;
        QVERIFY(taken.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        const QByteArray at = "127.0.0.1:" + QByteArray::number(taken.localPort());
        Harness g;
        g.Write("Operator.INI", "[NetworkKeyer]\r\nListen=on\r\nAddress=" + at + "\r\n");
        ProgCon& w = g.Start();
        QCOMPARE(g.Find<QLineEdit>("txtInfo")->text(),
                 "Firmware Version: 1.0.7 - Network keyer off: " + at + " is in use by another program");
        QCOMPARE(w.ListenForLoggers("host"), QStringLiteral("\"host\" is not an IP address"));

        g.Trigger("mnuEditNetworkKeyer");
        auto* dialog = g.Find<NetworkKeyerDialog>();
        QVERIFY(dialog->chkListen->isChecked() && dialog->txtAddress->text() == at);
        dialog->txtAddress->setText("1.2.3.4:0");
        dialog->OKButton->click();
        QVERIFY(dialog->isVisible() &&
                dialog->lblProblem->text() == "the port must be a number from 1 to 65535");
        dialog->txtAddress->setText(at);
        taken.close();
        dialog->OKButton->click();
        QCOMPARE(g.Find<QLineEdit>("txtInfo")->text(), "Firmware Version: 1.0.7 - Network keyer " + at);
        g.Trigger("mnuEditNetworkKeyer");
        dialog->chkListen->setChecked(false);
        QTest::keyClick(dialog->txtAddress, Qt::Key_Return);
        QCOMPARE(g.Find<QLineEdit>("txtInfo")->text(), QStringLiteral("Firmware Version: 1.0.7"));
        QVERIFY(taken.bind(QHostAddress::LocalHost, quint16(at.split(':')[1].toInt())));
        w.close();
        QVERIFY(g.Read("Operator.INI").startsWith("[NetworkKeyer]\r\nListen=OFF\r\nAddress=" + at + "\r\n"));
    }
};

QTEST_MAIN(NetworkTest)
#include "test_app_network.moc"
