#include "network/CwDaemonProtocol.h"
#include "network/NetworkKeyer.h"
#include "network/NetworkText.h"
#include "network/WindowSettings.h"
#include "send/InlineMarks.h"

#include <QNetworkDatagram>
#include <QTest>

using namespace CwDaemon;

namespace {

QByteArray Esc(const QByteArray& rest) {
    return Escape + rest;
}

QString By(int wordsPerMinute) {
    return MarkText(SpeedMark{SpeedMark::Change::By, wordsPerMinute});
}

} // namespace

class NetworkProtocolTest : public QObject {
    Q_OBJECT

private slots:
    // Each request with its value: numbers with blanks and a line end around them, the ranges of
    // cwdaemon's documentation (tune times held at 10), refusals in words, the 256-byte limit.
    void requests() {
        const QString outOfSpeed = "speed %1 is outside 5..60";
        const std::pair<QByteArray, Request> table[] = {
            {"", Nothing{}},
            {Esc("0"), Reset{}},
            {Esc("4 and more"), Abort{}},
            {Esc("2 30\r\n"), ChangeSetting{Setting::Speed, 30}},
            {Esc("2+5"), ChangeSetting{Setting::Speed, 5}},
            {Esc("260"), ChangeSetting{Setting::Speed, 60}},
            {Esc("24"), Refused{outOfSpeed.arg(4)}},
            {Esc("2-99999999999"), Refused{outOfSpeed.arg(-999999999)}},
            {Esc("2"), Refused{"the speed is not a number"}},
            {Esc("23 0"), Refused{"the speed is not a number"}},
            {Esc("2+-3"), Refused{"the speed is not a number"}},
            {Esc("30"), ChangeSetting{Setting::Tone, 0}},
            {Esc("34000"), ChangeSetting{Setting::Tone, 4000}},
            {Esc("3-1"), Refused{"tone -1 is outside 0..4000"}},
            {Esc("7-50"), ChangeSetting{Setting::Weight, -50}},
            {Esc("751"), Refused{"weight 51 is outside -50..50"}},
            {Esc("g100\n"), ChangeSetting{Setting::Volume, 100}},
            {Esc("g0x10"), Refused{"the volume is not a number"}},
            {Esc("c3"), Tune{3}},
            {Esc("c99999999999999"), Tune{10}},
            {Esc("c-1"), Refused{"tune time -1 is below 0"}},
            {Esc("hcat\n"), AskReply{"cat\n"}},
            {Esc("h"), AskReply{}},
            {Esc("5"), Ignored{"exit"}},
            {Esc("a1"), Ignored{"PTT"}},
            {Esc("fp"), Ignored{"sound system"}},
            {Esc(""), Refused{"an ESC without a request letter"}},
            {Esc("z"), Refused{"unknown request ESC z"}},
            {Esc("\x01"), Refused{"unknown request ESC byte 01"}},
            {Esc("\x1b"), Refused{"unknown request ESC byte 1b"}},
            {QByteArray(256, 'e'), SendText{QString(256, 'E')}},
            {QByteArray(257, 'e'), Refused{"a datagram longer than 256 bytes"}},
            {Esc("4") + QByteArray(255, ' '), Refused{"a datagram longer than 256 bytes"}},
            {"cq" + Esc("4"), SendText{"CQ4"}},
        };
        for (const auto& [datagram, expected] : table)
            QVERIFY2(ParseDatagram(datagram) == expected, datagram.toPercentEncoding());
    }

    // The protocol's characters as the Keyboard window keys them; speed changes as marks that never
    // leave the operator's speed changed, prosigns, half spaces, skipped characters, line ends.
    void textAsKeyboardText() {
        const QString back = MarkText(SpeedMark{SpeedMark::Change::BackToOperator, 0});
        const QString half = MarkText(HalfSpaceMark{});
        const std::pair<QByteArray, QString> table[] = {
            {"DL1ABC ++5NN--14", "DL1ABC " + By(4) + "5NN" + By(-4) + "14"},
            {"qrz de pa0rct ++test--", "QRZ DE PA0RCT " + By(4) + "TEST" + back},
            {"a+-b-", "AB"},
            {"-+-x", By(-2) + "X" + back},
            {QByteArray(60, '+') + "x", By(100) + "X" + back},
            {"de d~l~2", "DE D" + half + "L" + half + "2"},
            {"*=<(!&>", "[;=(" + MarkText(ProsignMark{"SN"}) + "'BK"},
            {",./?\":@) 09", ",./?\":@) 09"},
            {QByteArrayLiteral("a#$%^_{}|;[']`\\\t\x7f\x80\xff\x00z"), "AZ"},
            {"tu\r\nee", "TU"},
            {"5nn\n", "5NN"},
        };
        for (const auto& [text, expected] : table)
            QCOMPARE(KeyboardTextFromNetwork(text), expected);
    }

    // Weight -50..50 onto 30..70 linearly; tone to 10 Hz steps, 0 for the sidetone off; both held to
    // the window's ranges, as the speed is.
    void windowValues() {
        const std::pair<int, int> weights[] = {{-50, 30}, {-3, 49}, {-1, 50}, {0, 50}, {25, 60}, {50, 70}};
        for (const auto& [weighting, control] : weights)
            QCOMPARE(WeightControlValue(weighting), control);
        const std::pair<int, std::optional<int>> tones[] = {
            {0, {}}, {300, 40}, {804, 80}, {805, 81}, {4000, 140}};
        for (const auto& [hertz, control] : tones)
            QVERIFY(ToneControlValue(hertz) == control);
        QCOMPARE(SpeedControlValue(60), 50);
        QCOMPARE(SpeedControlValue(5), 5);
        QCOMPARE(VolumeControlValue(100), 100);
    }

    // Every form the command line and the dialog accept, as it reads back, or the reason it is refused.
    void listenAddresses() {
        const QString badPort = "the port must be a number from 1 to 65535";
        const std::pair<QString, QString> table[] = {
            {"", "127.0.0.1:6789"},
            {" 192.168.1.5 ", "192.168.1.5:6789"},
            {":7000", "127.0.0.1:7000"},
            {"0.0.0.0:1", "0.0.0.0:1"},
            {"[::1]:65535", "[::1]:65535"},
            {"::1", "[::1]:6789"},
            {"LocalHost:6790", "127.0.0.1:6790"},
            {"1.2.3.4:0", badPort},
            {":65536", badPort},
            {":+80", badPort},
            {"1.2.3.4:", badPort},
            {"host.example:80", "\"host.example\" is not an IP address"},
            {"[::1", "\"[::1\" is not ADDRESS:PORT"},
            {"[::1]80", "\"[::1]80\" is not ADDRESS:PORT"},
        };
        for (const auto& [text, expected] : table) {
            const ParsedListenAddress parsed = ParseListenAddress(text);
            QCOMPARE(parsed.address ? ListenAddressText(*parsed.address) : parsed.error, expected);
        }
    }

    // Over real loopback sockets: a flood larger than one turn's reading arrives whole, each datagram
    // parsed with its sender; the reply reaches the logger; a port in use is refused, not shared.
    void udpKeyer() {
        NetworkKeyer keyer;
        QString reason;
        QVERIFY(keyer.Listen({QHostAddress::LocalHost, 0}, reason));
        const ListenAddress at = keyer.Address();
        QList<std::tuple<Request, QHostAddress, quint16>> arrived;
        connect(&keyer, &NetworkKeyer::requestArrived, this,
                [&](const Request& request, const QHostAddress& sender, quint16 port) {
                    arrived.append({request, sender, port});
                });
        QUdpSocket logger;
        QVERIFY(logger.bind(QHostAddress::LocalHost, 0));
        logger.writeDatagram(Esc("hcat"), at.address, at.port);
        for (int i = 0; i < 100; ++i)
            logger.writeDatagram("cq", at.address, at.port);
        QTRY_COMPARE(arrived.size(), 101);
        QVERIFY(arrived.front() ==
                std::tuple(Request{AskReply{"cat"}}, logger.localAddress(), logger.localPort()));
        QVERIFY(std::get<Request>(arrived.back()) == Request{SendText{"CQ"}});

        keyer.SendReply(logger.localAddress(), logger.localPort(), "cat");
        QTRY_VERIFY(logger.hasPendingDatagrams());
        QCOMPARE(logger.receiveDatagram().data(), "hcat");

        NetworkKeyer second;
        QVERIFY(!second.Listen(at, reason));
        QCOMPARE(reason, ListenAddressText(at) + " is in use by another program");
        QVERIFY(!second.Listen({QHostAddress("192.0.2.1"), 6789}, reason));
        QCOMPARE(reason, "192.0.2.1 is not an address of this computer");
        QVERIFY(!second.IsListening() && keyer.IsListening());
    }
};

QTEST_GUILESS_MAIN(NetworkProtocolTest)
#include "test_network_protocol.moc"
