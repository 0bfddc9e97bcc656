#include "link/KeyerCommands.h"

#include <QTest>
#include <limits>

namespace {

// The worked example: 25 wpm, weight 50, 680 Hz, volume 0, letter space 2, word space 8,
// right-hand paddles, iambic, no memories.
const KeyerSettings WorkedExample{.wordSpace = 8.0, .paddles = {.dotMemory = false, .dashMemory = false}};

KeyerEncoding EncodedWith(void (*change)(KeyerSettings&)) {
    KeyerSettings settings = WorkedExample;
    change(settings);
    return EncodeKeyerSettings(settings);
}

using Pair = std::array<std::uint8_t, 2>;

} // namespace

class KeyerCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void encodesCountsWithinWhatThePairCarries() {
        const std::pair<double, Pair> cases[] = {
            {0, {0x00, 0x00}},     {255, {0x01, 0xFF}},         {256, {0x01, 0x00}},   {300, {0x02, 44}},
            {255.5, {0x01, 0x00}}, {65279, {0xFF, 0xFF}},       {65280, {0xFF, 0x00}}, {1e12, {0xFF, 0x00}},
            {-3, {0x00, 0x00}},    {std::nan(""), {0x00, 0x00}}};
        for (const auto& [count, pair] : cases) {
            const CountPair encoded = EncodeCount(count);
            QCOMPARE((Pair{encoded.high, encoded.low}), pair);
        }
    }

    void encodesSettingsBlocks() {
        const KeyerEncoding example = EncodeKeyerSettings(WorkedExample);
        QCOMPARE(example.blocks,
                 (std::array<KeyerCommand, 3>{{{0x53, 0x00, 0xEE, 0xC4, 0x01, 0x41, 0x01, 0xC4},
                                               {0x53, 0x01, 0x00, 0x00, 0x01, 0x41, 0x3A, 0x04},
                                               {0x53, 0x02, 0x01, 0x83, 0x02, 0x88, 0x7A, 0x7A}}}));
        QCOMPARE(example.dotMilliseconds, 48);

        const KeyerCommand volume50 = EncodedWith([](KeyerSettings& s) { s.volume = 50; }).blocks[1];
        const KeyerCommand volume100 = EncodedWith([](KeyerSettings& s) { s.volume = 100; }).blocks[1];
        QVERIFY(volume50[2] == 0x01 && volume50[3] == 0x7B && volume100[2] == 0x02 && volume100[3] == 0x14);
        // A word space below the letter space is sent as the count 1.
        const KeyerCommand wordBelowLetter = EncodedWith([](KeyerSettings& s) {
                                                 s.letterSpace = 5.0;
                                                 s.wordSpace = 3.0;
                                             }).blocks[2];
        QVERIFY(wordBelowLetter[4] == 0x01 && wordBelowLetter[5] == 0x01);

        // Block 1 ends in the paddle mode and the keyer features.
        const KeyerCommand leftStraight =
            EncodedWith([](KeyerSettings& s) { s.paddles.rightHand = s.paddles.iambic = false; }).blocks[1];
        QVERIFY(leftStraight[6] == 0x1A && leftStraight[7] == 0x00);
        QCOMPARE(EncodedWith([](KeyerSettings& s) { s.paddles.dotMemory = true; }).blocks[1][7], 0x06);
    }

    void holdsUnusableSettingsWithinTheFormulas() {
        const double infinity = std::numeric_limits<double>::infinity();
        const KeyerEncoding encoding = EncodeKeyerSettings(
            {.speed = 0, .tone = 0, .volume = 400, .letterSpace = infinity, .wordSpace = std::nan("")});
        QCOMPARE(encoding.dotMilliseconds, 1200);
        // Tone held at 92 Hz: period 32609, reload 32927 = 0x809F.
        QVERIFY(encoding.blocks[0][2] == 0x80 && encoding.blocks[0][3] == 0x9F);
        // Letter space beyond every count is held at the largest; the word space that is not a number is 0.
        QCOMPARE(encoding.blocks[2], (KeyerCommand{0x53, 0x02, 0xFF, 0x00, 0x00, 0x00, 0x7A, 0x7A}));
    }

    // Each reply byte shows as the character 48 above it; above 207 there is none.
    void showsTheFirmwareVersion() {
        QCOMPARE(FirmwareText({0, 1, 207, 208}), QString("Firmware Version: 1.") + QChar(0xFF) + ".?");
    }
};

QTEST_GUILESS_MAIN(KeyerCommandsTest)
#include "test_link_commands.moc"
