#include "link/KeyerCommands.h"

#include <QTest>

namespace {

KeyerCommand Bytes(std::initializer_list<int> values) {
    KeyerCommand command{};
    std::size_t index = 0;
    for (const int value : values)
        command.at(index++) = static_cast<std::uint8_t>(value);
    return command;
}

// The worked example: 25 wpm, weight 50, 680 Hz, volume 0, letter space 2, word space 8,
// right-hand paddles, iambic, no memories.
KeyerSettings WorkedExample() {
    KeyerSettings settings;
    settings.wordSpace = 8.0;
    settings.dotMemory = false;
    settings.dashMemory = false;
    return settings;
}

void CompareCount(double x, int high, int low) {
    const CountPair pair = EncodeCount(x);
    QCOMPARE(pair.high, static_cast<std::uint8_t>(high));
    QCOMPARE(pair.low, static_cast<std::uint8_t>(low));
}

} // namespace

class KeyerCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void encodesCounts();
    void holdsCountsWithinWhatThePairCarries();
    void encodesWorkedExample();
    void encodesVolume();
    void encodesWordSpaceBelowLetterSpaceAsOne();
    void encodesPaddleModeAndFeatures();
    void holdsUnusableSettingsWithinTheFormulas();
    void buildsFixedCommands();
    void buildsFirmwareText();
};

void KeyerCommandsTest::encodesCounts() {
    CompareCount(0, 0x00, 0x00);
    CompareCount(255, 0x01, 0xFF);
    CompareCount(256, 0x01, 0x00);
    CompareCount(65, 0x01, 65);
    CompareCount(300, 0x02, 44);
    CompareCount(130.5, 0x01, 130);
    CompareCount(131.5, 0x01, 132);
    CompareCount(255.5, 0x01, 0x00);
    CompareCount(0.4, 0x00, 0x00);
}

void KeyerCommandsTest::holdsCountsWithinWhatThePairCarries() {
    CompareCount(65279, 0xFF, 0xFF);
    CompareCount(65280, 0xFF, 0x00);
    CompareCount(65281, 0xFF, 0x00);
    CompareCount(1e12, 0xFF, 0x00);
    CompareCount(-3, 0x00, 0x00);
    CompareCount(std::numeric_limits<double>::quiet_NaN(), 0x00, 0x00);
}

void KeyerCommandsTest::encodesWorkedExample() {
    const KeyerEncoding encoding = EncodeKeyerSettings(WorkedExample());
    QCOMPARE(encoding.blocks[0], Bytes({0x53, 0x00, 0xEE, 0xC4, 0x01, 0x41, 0x01, 0xC4}));
    QCOMPARE(encoding.blocks[1], Bytes({0x53, 0x01, 0x00, 0x00, 0x01, 0x41, 0x3A, 0x04}));
    QCOMPARE(encoding.blocks[2], Bytes({0x53, 0x02, 0x01, 0x83, 0x02, 0x88, 0x7A, 0x7A}));
    QCOMPARE(encoding.dotMilliseconds, 48);
    QCOMPARE(encoding.paddleMode, std::uint8_t{0x3A});
    QCOMPARE(encoding.keyerFeatures, std::uint8_t{0x04});
}

void KeyerCommandsTest::encodesVolume() {
    KeyerSettings settings = WorkedExample();
    settings.volume = 50;
    const KeyerCommand atFifty = EncodeKeyerSettings(settings).blocks[1];
    QCOMPARE(atFifty[2], std::uint8_t{0x01});
    QCOMPARE(atFifty[3], std::uint8_t{0x7B});
    settings.volume = 100;
    const KeyerCommand atHundred = EncodeKeyerSettings(settings).blocks[1];
    QCOMPARE(atHundred[2], std::uint8_t{0x02});
    QCOMPARE(atHundred[3], std::uint8_t{0x14});
}

void KeyerCommandsTest::encodesWordSpaceBelowLetterSpaceAsOne() {
    KeyerSettings settings = WorkedExample();
    settings.letterSpace = 5.0;
    settings.wordSpace = 3.0;
    const KeyerCommand block = EncodeKeyerSettings(settings).blocks[2];
    QCOMPARE(block[4], std::uint8_t{0x01});
    QCOMPARE(block[5], std::uint8_t{0x01});
}

void KeyerCommandsTest::encodesPaddleModeAndFeatures() {
    KeyerSettings settings = WorkedExample();
    settings.rightHand = false;
    settings.iambic = false;
    const KeyerEncoding leftHandDashOverride = EncodeKeyerSettings(settings);
    QCOMPARE(leftHandDashOverride.paddleMode, std::uint8_t{0x1A});
    QCOMPARE(leftHandDashOverride.keyerFeatures, std::uint8_t{0x00});
    QCOMPARE(leftHandDashOverride.blocks[1][6], std::uint8_t{0x1A});
    QCOMPARE(leftHandDashOverride.blocks[1][7], std::uint8_t{0x00});

    settings.dotMemory = true;
    QCOMPARE(EncodeKeyerSettings(settings).keyerFeatures, std::uint8_t{0x02});
    settings.dotMemory = false;
    settings.dashMemory = true;
    QCOMPARE(EncodeKeyerSettings(settings).keyerFeatures, std::uint8_t{0x01});
    QCOMPARE(EncodeKeyerSettings(KeyerSettings{}).keyerFeatures, std::uint8_t{0x07});
}

void KeyerCommandsTest::holdsUnusableSettingsWithinTheFormulas() {
    KeyerSettings settings;
    settings.speed = 0;
    settings.tone = 0;
    settings.volume = 400;
    settings.letterSpace = std::numeric_limits<double>::infinity();
    settings.wordSpace = std::numeric_limits<double>::quiet_NaN();
    const KeyerEncoding encoding = EncodeKeyerSettings(settings);
    QCOMPARE(encoding.dotMilliseconds, 1200);
    // Tone held at 92 Hz: period 32609, reload 32927 = 0x809F.
    QCOMPARE(encoding.blocks[0][2], std::uint8_t{0x80});
    QCOMPARE(encoding.blocks[0][3], std::uint8_t{0x9F});
    // Letter space beyond every count is held at the largest; the word space that is not a number is 0.
    QCOMPARE(encoding.blocks[2], Bytes({0x53, 0x02, 0xFF, 0x00, 0x00, 0x00, 0x7A, 0x7A}));
}

void KeyerCommandsTest::buildsFixedCommands() {
    QCOMPARE(SendCharacterCommand(0xA0), Bytes({0x43, 0xA0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(TuneOnCommand(), Bytes({0x54, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A}));
    QCOMPARE(TuneOffCommand(), Bytes({0x74, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A}));
    QCOMPARE(VersionRequestCommand(), Bytes({0x76, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A, 0x7A}));
}

void KeyerCommandsTest::buildsFirmwareText() {
    QCOMPARE(FirmwareText({0, 1, 0, 7}), QString("Firmware Version: 1.0.7"));
    QCOMPARE(FirmwareText({0, 2, 1, 0}), QString("Firmware Version: 2.1.0"));
    QCOMPARE(FirmwareText({}), QString("Firmware Version: 0.0.0"));
    QCOMPARE(FirmwareText({0, 10, 0, 0}), QString("Firmware Version: :.0.0"));
    QCOMPARE(FirmwareText({0, 1, 207, 208}), QString("Firmware Version: 1.") + QChar(0xFF) + ".?");
    QCOMPARE(FirmwareText({0, 255, 0, 0, 9, 9, 9, 9, 9}), QString("Firmware Version: ?.0.0"));
}

QTEST_GUILESS_MAIN(KeyerCommandsTest)
#include "test_link_commands.moc"
