#include "emulator/Sidetone.h"

#include <QTest>
#include <vector>

namespace {

constexpr int SampleRate = 8000;
constexpr int SamplesPerMillisecond = SampleRate / 1000;

// Stretches of sound: start and length in milliseconds.
using MarkList = QList<QPair<int, int>>;

// The settings the unit decoded, as far as the sidetone reads them.
DecodedSettings Settings(int speed, int weight, int tone, int volume) {
    DecodedSettings settings;
    settings.speedWpm = speed;
    settings.weightPercent = weight;
    settings.toneHz = tone;
    settings.volume = volume;
    return settings;
}

std::vector<std::int16_t> Render(Sidetone& sidetone, int milliseconds) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(milliseconds * SamplesPerMillisecond));
    sidetone.Render(samples);
    return samples;
}

// Each stretch of sound as start and length in whole milliseconds. A tone passes through zero every
// half period; only a silence of more than a millisecond ends a stretch.
MarkList Marks(const std::vector<std::int16_t>& samples) {
    MarkList marks; // first and last sample until the end
    int last = -SampleRate;
    for (int i = 0; i < static_cast<int>(samples.size()); ++i) {
        if (samples[i] == 0) continue;
        if (i - last > SamplesPerMillisecond) marks.append({i, i});
        marks.last().second = last = i;
    }
    for (auto& [start, length] : marks) {
        length = qRound((length - start + 1) / double(SamplesPerMillisecond));
        start = qRound(start / double(SamplesPerMillisecond));
    }
    return marks;
}

} // namespace

class SidetoneTest : public QObject {
    Q_OBJECT

private slots:
    void elementsAreTimedFromSpeedAndWeight_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("weight");
        QTest::addColumn<MarkList>("marks");
        // At 20 words per minute a dot length is 60 ms: a dot sounds one, a dash three, a space one.
        QTest::newRow("E") << 0xA0 << 20 << 50 << MarkList{{0, 60}};
        QTest::newRow("A") << 0x90 << 20 << 50 << MarkList{{0, 60}, {120, 180}};
        // Weight 70 lengthens each mark by 0.4 dot lengths and shortens the space after it as much.
        QTest::newRow("A heavy") << 0x90 << 20 << 70 << MarkList{{0, 84}, {120, 204}};
        QTest::newRow("0 at 25") << 0x02 << 25 << 50
                                 << MarkList{{0, 144}, {192, 144}, {384, 144}, {576, 144}, {768, 144}};
        QTest::newRow("word space") << 0xFF << 20 << 50 << MarkList{};
    }
    void elementsAreTimedFromSpeedAndWeight() {
        QFETCH(int, code);
        QFETCH(int, speed);
        QFETCH(int, weight);
        QFETCH(MarkList, marks);
        Sidetone sidetone(SampleRate);
        sidetone.Hear(SendCharacterCommand(static_cast<std::uint8_t>(code)),
                      Settings(speed, weight, 700, 100));
        QCOMPARE(Marks(Render(sidetone, 1200)), marks);
    }

    void tuningHoldsTheToneAtItsPitchAndVolume_data() {
        QTest::addColumn<int>("tone");
        QTest::addColumn<int>("volume");
        QTest::newRow("400 Hz, full") << 400 << 100;
        QTest::newRow("1400 Hz, half") << 1400 << 50;
    }
    void tuningHoldsTheToneAtItsPitchAndVolume() {
        QFETCH(int, tone);
        QFETCH(int, volume);
        Sidetone sidetone(SampleRate);
        sidetone.Hear(TuneOnCommand(), Settings(20, 50, tone, volume));
        sidetone.Hear(TuneOnCommand(), Settings(20, 50, tone, volume));
        const auto second = Render(sidetone, 1000);
        int rises = 0;
        for (std::size_t i = 1; i < second.size(); ++i)
            rises += second[i - 1] < 0 && second[i] >= 0;
        QVERIFY2(std::abs(rises - tone) <= 1, qPrintable(QString::number(rises)));
        const int peak = *std::ranges::max_element(second);
        QVERIFY2(std::abs(peak - 32767 * volume / 100) <= 32767 / 100, qPrintable(QString::number(peak)));

        sidetone.Hear(TuneOffCommand(), Settings(20, 50, tone, volume));
        QCOMPARE(Marks(Render(sidetone, 100)), MarkList{});
    }
};

QTEST_GUILESS_MAIN(SidetoneTest)
#include "test_emulator_sidetone.moc"
