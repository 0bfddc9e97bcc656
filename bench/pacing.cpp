// Timing figures of the transmit loop, taken as the program runs: the real window on the offscreen
// platform, Qt's event loop and timers, the system clock, and the software unit behind the HID seam.
// Prints the figures beside their targets; asserts nothing.

#include "BenchSupport.h"
#include "app/ProgCon.h"
#include "emulator/UnitEmulator.h"
#include "platform/DesktopShell.h"
#include "platform/SystemClock.h"
#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include "send/MorseTables.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <random>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace bench;
using namespace std::chrono_literals;

// Letters, digits, the prosigns and single spaces, as an operator would type a contact.
constexpr std::string_view PacingText =
    "CQ CQ CQ DE DL2KAW DL2KAW [ K "
    "W1AW DE DL2KAW = GM OM ES TNX FER CALL = UR RST 579 579 = QTH NEAR HAMBURG = "
    "NAME IS JAN JAN = RIG 100W ES DIPOLE UP 12M = WX CLOUDY 7C = HW CPY ; BK "
    "DL2KAW DE W1AW R R = FB JAN TNX RPRT UR 599 = NAME BOB QTH NEWINGTON CT = "
    "PSE QSL VIA BURO = 73 ES GL ' W1AW DE DL2KAW [";
static_assert(PacingText.size() == 300);

constexpr int PacingSpeeds[] = {20, 35, 50};
// The panel's start values, set explicitly: letter space 2.0 and word space 6.0 dot lengths.
constexpr int LetterSpaceControl = 10;
constexpr int WordSpaceControl = 60;
constexpr double LetterSpace = 2.0;
constexpr double WordSpace = 6.0;

// Each round polls at 10 ms from 0.3 s after its character to 2.8 s, before the hand-over at 3.5 s.
constexpr int IdleRounds = 12;
constexpr std::chrono::milliseconds IdleTimed{2500};
constexpr int KeyPressSamples = 50;

// A precise timer whose every tick is timed while its clock asks for it.
class TimedTimer : public Timer {
public:
    TimedTimer(std::unique_ptr<Timer> timer, std::vector<double>*& timedTicks)
        : timer_(std::move(timer)), timedTicks_(timedTicks) {
        timer_->onTick = [this] {
            const auto start = SteadyClock::now();
            if (onTick) onTick();
            if (timedTicks_)
                timedTicks_->push_back(
                    std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
        };
    }
    void SetInterval(int milliseconds) override { timer_->SetInterval(milliseconds); }
    int Interval() const override { return timer_->Interval(); }
    void SetEnabled(bool enabled) override { timer_->SetEnabled(enabled); }
    bool Enabled() const override { return timer_->Enabled(); }

private:
    std::unique_ptr<Timer> timer_;
    std::vector<double>*& timedTicks_;
};

// The system clock, whose precise timers (the transmit loop's) are timed tick by tick on request.
class TickTimingClock : public Clock {
public:
    std::int64_t TickCount() override { return clock_.TickCount(); }
    void Sleep(int milliseconds) override { clock_.Sleep(milliseconds); }
    std::unique_ptr<Timer> CreateTimer(int intervalMilliseconds, bool precise) override {
        std::unique_ptr<Timer> timer = clock_.CreateTimer(intervalMilliseconds, precise);
        if (!precise) return timer;
        return std::make_unique<TimedTimer>(std::move(timer), timedTicks);
    }
    std::unique_ptr<Sleeper> CreateSleeper() override { return clock_.CreateSleeper(); }
    // While set, each tick's length in microseconds is added here.
    std::vector<double>* timedTicks = nullptr;

private:
    SystemClock clock_;
};

void PrintHeader() {
#ifdef NDEBUG
    const char* build = "optimised (NDEBUG)";
#else
    const char* build = "NOT optimised (debug build: figures are not representative)";
#endif
    std::printf("Transmit loop timing\n");
    std::printf("machine: %u cores, %s, Qt %s on %s, event dispatcher %s\n",
                std::thread::hardware_concurrency(), qPrintable(CpuModel()), qVersion(),
                qPrintable(QGuiApplication::platformName()),
                QAbstractEventDispatcher::instance()->metaObject()->className());
    std::printf("build: %s; load average at start: %s\n\n", build, qPrintable(LoadAverage()));
}

// The pause the program leaves after a character, as it computes it: halves to even, whole ms.
double IdealMilliseconds(char character, int dotMilliseconds, const MorseTables& tables) {
    const double dotLengths =
        character == ' ' ? WordSpace - LetterSpace
                         : tables.MorseLengthTable[character - MorseTableFirstCharacter] + LetterSpace;
    return std::nearbyint(dotLengths * dotMilliseconds);
}

int CodeMismatches(const std::vector<CharacterCommand>& commands, const MorseTables& tables) {
    int mismatches = 0;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].code != tables.MorseCodeTable[PacingText[i] - MorseTableFirstCharacter]) ++mismatches;
    }
    return mismatches;
}

void ReportPacing(int speed, int dotMilliseconds, const std::vector<CharacterCommand>& commands) {
    const MorseTables tables = BuildMorseTables();
    std::vector<double> deviations;
    std::vector<double> signedDeviations;
    double idealTotal = 0;
    for (std::size_t i = 0; i + 1 < commands.size(); ++i) {
        const double ideal = IdealMilliseconds(PacingText[i], dotMilliseconds, tables);
        const double actual = MillisecondsBetween(commands[i].time, commands[i + 1].time);
        idealTotal += ideal;
        signedDeviations.push_back(actual - ideal);
        deviations.push_back(std::abs(actual - ideal));
    }
    const double actualTotal = MillisecondsBetween(commands.front().time, commands.back().time);
    const double totalDeviation = (actualTotal - idealTotal) / idealTotal * 100;
    const double median = Median(deviations);
    const double p99 = Percentile(deviations, 0.99);
    std::printf("  %d wpm (dot %d ms), %zu intervals:\n", speed, dotMilliseconds, deviations.size());
    std::printf("    |actual - ideal|  median %.3f ms [<= 0.5: %s]  p99 %.3f ms [<= 2: %s]  max %.3f ms\n",
                median, Verdict(median <= 0.5), p99, Verdict(p99 <= 2), Maximum(deviations));
    std::printf("    actual - ideal    mean %+.3f ms  min %+.3f ms  max %+.3f ms\n", Mean(signedDeviations),
                *std::min_element(signedDeviations.begin(), signedDeviations.end()),
                *std::max_element(signedDeviations.begin(), signedDeviations.end()));
    std::printf("    whole text        %.3f ms against ideal %.0f ms: %+.3f %% [within 0.2 %%: %s]\n",
                actualTotal, idealTotal, totalDeviation, Verdict(std::abs(totalDeviation) <= 0.2));
    if (const int mismatches = CodeMismatches(commands, tables))
        std::printf("    warning: %d code bytes are not those of the text\n", mismatches);
}

double IdealTextMilliseconds(int dotMilliseconds) {
    const MorseTables tables = BuildMorseTables();
    double total = 0;
    for (const char character : PacingText)
        total += IdealMilliseconds(character, dotMilliseconds, tables);
    return total;
}

SettingsPanel* Panel(const ProgCon& window) {
    return window.findChild<SettingsPanel*>();
}

QTextEdit* Keyboard(const ProgCon& window) {
    return window.findChild<QTextEdit*>(QStringLiteral("txtKeyboard"));
}

void Stop(const ProgCon& window) {
    window.findChild<QPushButton*>(QStringLiteral("cmdEnd"))->click();
}

void MeasurePacingAt(ProgCon& window, RecordingPort& port, int speed) {
    Panel(window)->scrSpeed->setValue(speed);
    const int dotMilliseconds = static_cast<int>(std::nearbyint(1200.0 / speed));

    port.commands.clear();
    // Pasted at the end, as the operator may.
    QTextEdit* keyboard = Keyboard(window);
    keyboard->moveCursor(QTextCursor::End);
    keyboard->insertPlainText(
        QString::fromLatin1(PacingText.data(), static_cast<qsizetype>(PacingText.size())));
    const auto idealText =
        std::chrono::milliseconds(static_cast<long long>(IdealTextMilliseconds(dotMilliseconds)));
    const bool complete = RunUntilCommands(port, PacingText.size(), idealText * 3 / 2 + 10s);
    const std::vector<CharacterCommand> commands = port.commands;
    // Stop, and let the last character's pause run out, so that the next run starts on an idle loop.
    Stop(window);
    RunEventsFor(1500ms);

    if (!complete || commands.size() != PacingText.size()) {
        std::printf("  %d wpm: only %zu of %zu characters went out before the time-out\n", speed,
                    commands.size(), PacingText.size());
        return;
    }
    ReportPacing(speed, dotMilliseconds, commands);
}

void MeasurePacing(ProgCon& window, RecordingPort& port, UnitEmulator& unit) {
    std::printf(
        "1. Pacing: interval between consecutive \"C\" commands against (length + letter space) x dot\n");
    std::printf("   after a character, (word space - letter space) x dot after a space; letter space %.1f,\n",
                LetterSpace);
    std::printf(
        "   word space %.1f (the panel's start values, set explicitly); %zu-character text per speed\n",
        WordSpace, PacingText.size());
    Panel(window)->scrLetterSpace->setValue(LetterSpaceControl);
    Panel(window)->scrWordSpace->setValue(WordSpaceControl);
    // A real bus walk takes time on every tick; it must not lengthen the characters.
    for (const int enumerationCost : {0, 4}) {
        unit.SetEnumerationCost(enumerationCost);
        std::printf("  each enumeration takes %d ms:\n", enumerationCost);
        for (const int speed : PacingSpeeds)
            MeasurePacingAt(window, port, speed);
    }
    unit.SetEnumerationCost(0);
    std::printf("\n");
}

// Runs each idle tick of the running window: the character typed is sent, the window cleared, and
// the ticks that poll until the idle hand-over are timed, after the sent character's pause.
void MeasureIdleTick(ProgCon& window, RecordingPort& port, TickTimingClock& clock) {
    std::printf("3. Idle polling: the transmit timer's tick in the running window, unit present, Keyboard\n");
    std::printf("   window empty (%d rounds: \"e\" sent, the window cleared, then %lld ms of ticks timed)\n",
                IdleRounds, static_cast<long long>(IdleTimed.count()));
    std::vector<double> micros;
    for (int round = 0; round < IdleRounds; ++round) {
        const std::size_t before = port.commands.size();
        Keyboard(window)->insertPlainText(QStringLiteral("e"));
        RunUntilCommands(port, before + 1, 2s);
        Stop(window);
        RunEventsFor(300ms);
        clock.timedTicks = &micros;
        RunEventsFor(IdleTimed);
        clock.timedTicks = nullptr;
    }
    if (micros.empty()) {
        std::printf("   no idle tick ran\n\n");
        return;
    }
    const double average = Mean(micros);
    std::printf("   %zu ticks: average %.3f us [<= 50: %s]  median %.3f us  p99 %.3f us  max %.3f us\n\n",
                micros.size(), average, Verdict(average <= 50), Median(micros), Percentile(micros, 0.99),
                Maximum(micros));
}

// Posted from another thread, as the windowing system delivers a key: the moment is random against
// the loop's 10 ms polling, and the time includes waking the event loop. The events are made in the
// window's thread, where Qt sets up its input device on first use.
struct KeyStroke {
    QKeyEvent* press = new QKeyEvent(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
    QKeyEvent* release = new QKeyEvent(QEvent::KeyRelease, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
};

Microseconds PostAfter(QWidget* target, KeyStroke stroke, std::chrono::microseconds delay) {
    std::this_thread::sleep_for(delay);
    const Microseconds pressed = std::chrono::time_point_cast<std::chrono::microseconds>(SteadyClock::now());
    QCoreApplication::postEvent(target, stroke.press);
    QCoreApplication::postEvent(target, stroke.release);
    return pressed;
}

void MeasureKeyPress(ProgCon& window, RecordingPort& port) {
    std::printf(
        "2. Key press to \"C\" command: 'e' pressed and released (posted from another thread) in the\n");
    std::printf(
        "   empty Keyboard window while the loop polls at 10 ms, after a random 150..250 ms pause;\n");
    std::printf("   at %d wpm, window cleared between samples\n", Panel(window)->scrSpeed->value());
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pauseMicroseconds(150'000, 250'000);
    std::vector<double> latencies;
    for (int sample = 0; sample < KeyPressSamples; ++sample) {
        const std::size_t before = port.commands.size();
        const std::chrono::microseconds pause(pauseMicroseconds(random));
        Microseconds pressed;
        std::thread typist(
            [&, stroke = KeyStroke{}] { pressed = PostAfter(Keyboard(window), stroke, pause); });
        const bool arrived = RunUntilCommands(port, before + 1, 2s);
        typist.join();
        if (arrived) latencies.push_back(MillisecondsBetween(pressed, port.commands[before].time));
        Stop(window);
    }
    if (latencies.empty()) {
        std::printf("   no key press reached the unit\n");
        return;
    }
    const double maximum = Maximum(latencies);
    const double median = Median(latencies);
    std::printf("   %zu of %d samples: median %.3f ms [<= 10: %s]  max %.3f ms [<= 10: %s]  min %.3f ms\n",
                latencies.size(), KeyPressSamples, median, Verdict(median <= 10), maximum,
                Verdict(maximum <= 10), *std::min_element(latencies.begin(), latencies.end()));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Each figure shows as soon as it is known; the whole run takes minutes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir applicationFolder;
    TickTimingClock clock;
    UnitEmulator unit(clock);
    RecordingPort port(unit);
    QuietPrompts prompts;
    DesktopShell shell;
    ProgCon window({port, clock, prompts, applicationFolder.path(), shell});
    window.StartUp();
    window.show();
    // The window's first layout and paint happen here, not inside the first measurement.
    RunEventsFor(1s);

    PrintHeader();
    const auto start = SteadyClock::now();
    MeasurePacing(window, port, unit);
    MeasureKeyPress(window, port);
    MeasureIdleTick(window, port, clock);
    std::printf("\nrunning time %.0f s\n", std::chrono::duration<double>(SteadyClock::now() - start).count());
    std::fflush(stdout);
    window.close();
    return 0;
}
