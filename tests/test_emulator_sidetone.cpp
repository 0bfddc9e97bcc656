#include "emulator/Sidetone.h"

#include <QTest>

namespace {

constexpr int Rate = 8000; // samples per second: 8 to the millisecond

// Stretches of sound, as start and length in whole milliseconds. A tone passes through zero every half
// period; only a silence of more than a millisecond ends a stretch.
using Marks = QList<QPair<int, int>>;

Marks Heard(Sidetone& sidetone, int milliseconds) {
    std::vector<std::int16_t> samples(milliseconds * Rate / 1000);
    sidetone.Render(samples);
    Marks marks; // first and last sample, until the end
    for (int i = 0, last = -Rate; i < int(samples.size()); ++i) {
        if (samples[i] == 0) continue;
        if (i - last > 8) marks.append({i, i});
        marks.last().second = last = i;
    }
    for (auto& [start, length] : marks)
        std::tie(start, length) = std::pair(qRound(start / 8.0), qRound((length - start + 1) / 8.0));
    return marks;
}

} // namespace

class SidetoneTest : public QObject {
    Q_OBJECT

private slots:
    void elementsAreTimedFromSpeedAndWeight() {
        const struct {
            int code, speed, weight;
            int late; // milliseconds after the samples already rendered
            Marks marks;
        } cases[] = {
            // At 20 words per minute a dot length is 60 ms: a dot sounds one, a dash three, a gap one.
            {0xA0, 20, 50, 30, {{30, 60}}},
            // Weight 70 lengthens each mark by 0.4 dot lengths and shortens the gap after it as much.
            {0x90, 20, 70, 0, {{0, 84}, {120, 204}}},
            {0x02, 25, 50, 0, {{0, 144}, {192, 144}, {384, 144}, {576, 144}, {768, 144}}},
            {0xFF, 20, 50, 0, {}}, // the word space
        };
        for (const auto& [code, speed, weight, late, marks] : cases) {
            Sidetone sidetone(Rate);
            sidetone.Hear(SendCharacterCommand(std::uint8_t(code)),
                          {.speedWpm = speed, .weightPercent = weight, .toneHz = 700, .volume = 100}, late);
            QCOMPARE(Heard(sidetone, 1200), marks);
        }
    }

    void tuningHoldsTheToneAtItsPitchAndVolume() {
        Sidetone sidetone(Rate);
        const DecodedSettings settings{.speedWpm = 20, .weightPercent = 50, .toneHz = 1400, .volume = 50};
        sidetone.Hear(TuneOnCommand(), settings);
        std::vector<std::int16_t> second(Rate);
        sidetone.Render(second);
        int rises = 0;
        for (std::size_t i = 1; i < second.size(); ++i)
            rises += second[i - 1] < 0 && second[i] >= 0;
        QVERIFY2(std::abs(rises - 1400) <= 1, qPrintable(QString::number(rises)));
        QVERIFY(std::abs(*std::ranges::max_element(second) - 32767 / 2) <= 327);
        sidetone.Hear(TuneOffCommand(), settings);
        QCOMPARE(Heard(sidetone, 100), Marks{});
    }
};

QTEST_GUILESS_MAIN(SidetoneTest)
#include "test_emulator_sidetone.moc"
