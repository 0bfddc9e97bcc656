#include "network/CwDaemonProtocol.h"
#include "network/NetworkKeyer.h"
#include "network/NetworkText.h"
#include "network/WindowSettings.h"

#include <QNetworkDatagram>
#include <QTest>

using namespace CwDaemon;

class NetworkProtocolTest : public QObject {
    Q_OBJECT

private slots:
    // Each request with its value: numbers with blanks and a line end around them, the ranges of
    // cwdaemon's documentation (tune times held at 10), refusals in words, the 256-byte limit.
    void requests() {
        using enum Setting;
        const std::tuple<QByteArray, Setting, int> settings[] = {
            {"2 30\r\n", Speed, 30}, {"2+5", Speed, 5},     {"260", Speed, 60},      {"30", Tone, 0},
            {"34000", Tone, 4000},   {"7-50", Weight, -50}, {"g100\n", Volume, 100}, {"g 0", Volume, 0}};
        for (const auto& [rest, setting, value] : settings)
            QVERIFY2((ParseDatagram(Escape + rest) == Request{ChangeSetting{setting, value}}), rest);
        const std::pair<QByteArray, Request> others[] = {
            {"0", Reset{}},         {"4 and more", Abort{}},
            {"c3", Tune{3}},        {"c99999999999", Tune{10}},
            {"h", AskReply{}},      {"hcat\n", AskReply{"cat\n"}},
            {"5", Ignored{"exit"}}, {"a1", Ignored{"PTT"}}};
        for (const auto& [rest, expected] : others)
            QVERIFY2(ParseDatagram(Escape + rest) == expected, rest);
        const std::pair<QByteArray, QString> refusals[] = {
            {"24", "speed 4 is outside 5..60"}, {"751", "weight 51 is outside -50..50"},
            {"c-1", "tune time -1 is below 0"}, {"", "an ESC without a request letter"},
            {"z", "unknown request ESC z"},     {"\x1b", "unknown request ESC byte 1b"},
            {"2", "the speed is not a number"}, {"g0x1", "the volume is not a number"}};
        for (const auto& [rest, reason] : refusals)
            QVERIFY2(ParseDatagram(Escape + rest) == Request{Refused{reason}}, rest);
        QVERIFY(ParseDatagram(QByteArray(257, 'e')) == Request{Refused{"a datagram longer than 256 bytes"}});
        QVERIFY(ParseDatagram(QByteArray(256, 'e')) == Request{SendText{QString(256, 'E')}});
        QVERIFY(ParseDatagram("") == Request{Nothing{}});
    }

    // The protocol's characters as the Keyboard window keys them; speed changes as marks that never
    // leave the operator's speed changed, prosigns, half spaces, skipped characters, line ends.
    void textAsKeyboardText() {
        QCOMPARE(KeyboardTextFromNetwork("DL1ABC ++5NN--14"), "DL1ABC ‹+4›5NN‹-4›14");
        QCOMPARE(KeyboardTextFromNetwork("qrz de ++test--"), "QRZ DE ‹+4›TEST‹›");
        QCOMPARE(KeyboardTextFromNetwork("-+-x+-"), "‹-2›X‹›");
        QCOMPARE(KeyboardTextFromNetwork(QByteArray(60, '+') + "x"), "‹+100›X‹›");
        QCOMPARE(KeyboardTextFromNetwork("a+-b-\nc"), "AB");
        QCOMPARE(KeyboardTextFromNetwork("d~e~ *=<(!&> ,./?\":@) 09"), "D‹~›E‹~› [;=(‹SN›'BK ,./?\":@) 09");
        QCOMPARE(KeyboardTextFromNetwork(QByteArrayLiteral("a#$%^_{}|;[']`\\\t\x7f\x80\xff\x00z")), "AZ");
        QCOMPARE(KeyboardTextFromNetwork("t\033u\r\nee"), "TU");
    }

    // Weight -50..50 onto 30..70 linearly; tone to 10 Hz steps, 0 for the sidetone off; both held to
    // the window's ranges, as the speed is.
    void windowValues() {
        const std::pair<int, int> weights[] = {{-50, 30}, {-3, 49}, {-1, 50}, {0, 50}, {25, 60}, {50, 70}};
        for (const auto& [weighting, control] : weights)
            QCOMPARE(WeightControlValue(weighting), control);
        const std::pair<int, std::optional<int>> tones[] = {{0, {}}, {300, 40}, {805, 81}, {4000, 140}};
        for (const auto& [hertz, control] : tones)
            QVERIFY(ToneControlValue(hertz) == control);
        QCOMPARE(SpeedControlValue(60), 50);
    }

    // Every form the command line and the dialog accept, as it reads back, or the reason it is refused.
    void listenAddresses() {
        const std::pair<QString, QString> accepted[] = {
            {"::1", "[::1]:6789"},       {"[::1]:65535", "[::1]:65535"},
            {"", "127.0.0.1:6789"},      {"LocalHost:6790", "127.0.0.1:6790"},
            {":7000", "127.0.0.1:7000"}, {" 192.168.1.5 ", "192.168.1.5:6789"}};
        for (const auto& [text, expected] : accepted)
            QCOMPARE(ListenAddressText(ParseListenAddress(text).address.value()), expected);
        for (const QString text : {"1.2.3.4:0", ":65536", ":+80", "1.2.3.4:"})
            QCOMPARE(ParseListenAddress(text).error, "the port must be a number from 1 to 65535");
        QCOMPARE(ParseListenAddress(u"host:80").error, "\"host\" is not an IP address");
        QCOMPARE(ParseListenAddress(u"[::1]80").error, "\"[::1]80\" is not ADDRESS:PORT");
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
                [&](const Request& r, const QHostAddress& a, quint16 p) {
                    arrived.append({r, a, p});
                });
        QUdpSocket logger;
        QVERIFY(logger.bind(QHostAddress::LocalHost, 0));
        logger.writeDatagram("\033hcat", at.address, at.port);
        for (int i = 0; i < 100; ++i)
            logger.writeDatagram("cq", at.address, at.port);
        QTRY_COMPARE(arrived.size(), 101);
        QVERIFY(arrived.front() ==
                std::tuple(Request{AskReply{"cat"}}, logger.localAddress(), logger.localPort()));

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
