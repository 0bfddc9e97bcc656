// Timing and cost figures of the transmit loop, taken as the program runs: the real window on the
// offscreen platform, Qt's event loop and timers, the system clock, and the software unit behind the
// HID seam. Prints the figures beside their targets; asserts nothing.
//
// Usage: pacing [--quick] [--ordinary] [idle] [loaded] [cost]   (all three when none is named)
//   idle        pacing at 15, 25, 35 and 50 wpm and key press to "C" on the machine as it is
//   loaded      the same with stress-ng beside it
//   cost        the CPU time while idle, and the window's thread's per character as the windows fill up
//   --quick     a few samples of each, to see that every measurement runs; its figures mean little
//   --ordinary  the sending thread put back to ordinary scheduling, as where real time is not granted

#include "profile/SettingsPanel.h"
#include "profile/UpDown.h"
#include "send/MorseTables.h"
#include "support/Figures.h"
#include "support/RunningProgram.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTextEdit>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <sched.h>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Letters, digits, prosigns and single spaces, as an operator would send a contact: 903 dot lengths,
// 72 s at 15 wpm and 22 s at 50.
constexpr std::string_view PacingText =
    "CQ CQ DE DL2KAW DL2KAW [ K W1AW DE DL2KAW = GM OM TNX FER CALL = UR RST 579 579 = QTH HAMBURG = NAME";
static_assert(PacingText.size() == 100);

constexpr int PacingSpeeds[] = {15, 25, 35, 50};
// The panel's start values, set explicitly: letter space 2.0 and word space 6.0 dot lengths.
constexpr int LetterSpaceControl = 10;
constexpr int WordSpaceControl = 60;
constexpr double LetterSpace = 2.0;
constexpr double WordSpace = 6.0;

// How many samples each measurement takes: the full run's take a few minutes in all.
struct Scale {
    std::size_t pacingCharacters;
    int keyPresses;
    int idleRounds;
    int costCharacters; // per window size, after the first
    // The Keyboard window's sizes, in characters; the Sent window holds as many as the largest.
    std::array<qsizetype, 5> windowSizes;
};
constexpr Scale FullRun{PacingText.size(), 50, 4, 40, {100, 1'000, 100'000, 250'000, 1'000'000}};
constexpr Scale QuickRun{12, 5, 1, 2, {100, 1'000, 10'000, 25'000, 100'000}};

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The running program and the window's controls the measurements work through.
struct Station {
    RunningProgram& program;
    Scale scale;

    RecordingPort& Port() const { return program.port; }
    SettingsPanel* Panel() const { return program.window.findChild<SettingsPanel*>(); }
    // Pasted at the end, as the operator may: sending starts at once.
    void Paste(const QString& text) const {
        program.Keyboard()->moveCursor(QTextCursor::End);
        program.Keyboard()->insertPlainText(text);
    }
    void SetSpeed(int wpm) const { Panel()->scrSpeed->setValue(wpm); }
    // Ends the over and lets the last character's pause run out, so that the next run starts on an idle
    // loop.
    void StopAndSettle() const;
};

void Station::StopAndSettle() const {
    program.Click("cmdEnd");
    program.Click("cmdClearSend");
    RunEventsFor(1500ms);
}

// The threads of this process that run under a real-time policy: the sending thread, when it got it.
std::vector<pid_t> RealTimeThreads() {
    std::vector<pid_t> found;
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (sched_getscheduler(task.toInt()) == SCHED_FIFO) found.push_back(task.toInt());
    }
    return found;
}

QString RealTimeDescription() {
    QStringList found;
    for (const pid_t thread : RealTimeThreads()) {
        sched_param parameters{};
        if (sched_getparam(thread, &parameters) == 0)
            found << QStringLiteral("SCHED_FIFO priority %1").arg(parameters.sched_priority);
    }
    return found.isEmpty() ? QStringLiteral("none: the sending thread runs at ordinary priority")
                           : found.join(QStringLiteral(", "));
}

// As where the system grants no real-time scheduling.
void PutBackToOrdinaryScheduling() {
    const sched_param ordinary{};
    for (const pid_t thread : RealTimeThreads())
        sched_setscheduler(thread, SCHED_OTHER, &ordinary);
}

// The pause the program leaves after a character, as it computes it: halves to even, whole ms.
double IdealMilliseconds(char character, int dotMilliseconds, const MorseTables& tables) {
    const double dotLengths =
        character == ' ' ? WordSpace - LetterSpace
                         : tables.MorseLengthTable[character - MorseTableFirstCharacter] + LetterSpace;
    return std::nearbyint(dotLengths * dotMilliseconds);
}

double IdealTextMilliseconds(std::string_view text, int dotMilliseconds, const MorseTables& tables) {
    double total = 0;
    for (const char character : text)
        total += IdealMilliseconds(character, dotMilliseconds, tables);
    return total;
}

int CodeMismatches(std::string_view text, const std::vector<CharacterCommand>& commands,
                   const MorseTables& tables) {
    int mismatches = 0;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].code != tables.MorseCodeTable[text[i] - MorseTableFirstCharacter]) ++mismatches;
    }
    return mismatches;
}

void ReportPacing(std::string_view text, int speed, int dotMilliseconds,
                  const std::vector<CharacterCommand>& commands) {
    const MorseTables tables = BuildMorseTables();
    std::vector<double> errors;
    double idealTotal = 0;
    for (std::size_t i = 0; i + 1 < commands.size(); ++i) {
        const double ideal = IdealMilliseconds(text[i], dotMilliseconds, tables);
        idealTotal += ideal;
        errors.push_back(std::abs(MillisecondsBetween(commands[i].time, commands[i + 1].time) - ideal));
    }
    const double actualTotal = MillisecondsBetween(commands.front().time, commands.back().time);
    const double drift = (actualTotal - idealTotal) / idealTotal * 100;
    const Spread error = SpreadOf(errors);
    std::printf(
        "  %d wpm (dot %d ms), %zu intervals: |actual - ideal| median %.3f ms, p99 %.3f ms [<= 1: %s],"
        " max %.3f ms [<= 3: %s]\n",
        speed, dotMilliseconds, errors.size(), error.median, error.p99, Verdict(error.p99 <= 1),
        error.maximum, Verdict(error.maximum <= 3));
    std::printf("    whole text %.3f ms against ideal %.0f ms: %+.4f %% [within 0.01 %%: %s]\n", actualTotal,
                idealTotal, drift, Verdict(std::abs(drift) <= 0.01));
    if (const int mismatches = CodeMismatches(text, commands, tables))
        std::printf("    warning: %d code bytes are not those of the text\n", mismatches);
}

void MeasurePacingAt(const Station& station, int speed) {
    const std::string_view text = PacingText.substr(0, station.scale.pacingCharacters);
    station.SetSpeed(speed);
    const int dotMilliseconds = static_cast<int>(std::nearbyint(1200.0 / speed));
    const auto ideal = std::chrono::milliseconds(
        static_cast<long long>(IdealTextMilliseconds(text, dotMilliseconds, BuildMorseTables())));
    station.Port().Clear();
    station.Paste(Latin1(text));
    station.Port().RunUntil(text.size(), ideal * 3 / 2 + 10s);
    const std::vector<CharacterCommand> commands = station.Port().Commands();
    station.StopAndSettle();
    if (commands.size() != text.size()) {
        std::printf("  %d wpm: %zu of %zu characters went out before the time-out\n", speed, commands.size(),
                    text.size());
        return;
    }
    ReportPacing(text, speed, dotMilliseconds, commands);
}

// Posted from another thread, as the windowing system delivers a key: the moment is random against
// whatever the loop is doing, and the time includes waking the event loop. The events are made in the
// window's thread, where Qt sets up its input device on first use.
struct KeyStroke {
    QKeyEvent* press = new QKeyEvent(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
    QKeyEvent* release = new QKeyEvent(QEvent::KeyRelease, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
};

SteadyClock::time_point PostAfter(QWidget* target, KeyStroke stroke, std::chrono::microseconds delay) {
    std::this_thread::sleep_for(delay);
    const SteadyClock::time_point pressed = SteadyClock::now();
    QCoreApplication::postEvent(target, stroke.press);
    QCoreApplication::postEvent(target, stroke.release);
    return pressed;
}

void MeasureKeyPress(const Station& station) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pauseMicroseconds(150'000, 250'000);
    std::vector<double> latencies;
    for (int sample = 0; sample < station.scale.keyPresses; ++sample) {
        const std::size_t before = station.Port().Count();
        const std::chrono::microseconds pause(pauseMicroseconds(random));
        SteadyClock::time_point pressed;
        std::thread typist(
            [&, stroke = KeyStroke{}] { pressed = PostAfter(station.program.Keyboard(), stroke, pause); });
        const bool arrived = station.Port().RunUntil(before + 1, 2s);
        typist.join();
        if (arrived)
            latencies.push_back(MillisecondsBetween(pressed, station.Port().Commands()[before].time));
        station.program.Click("cmdEnd");
    }
    if (latencies.empty()) {
        std::printf("  key press to \"C\": no key press reached the unit\n");
        return;
    }
    const Spread latency = SpreadOf(latencies);
    std::printf(
        "  key press to \"C\", %zu of %d samples: median %.3f ms [<= 2: %s], p99 %.3f ms, max %.3f ms\n",
        latencies.size(), station.scale.keyPresses, latency.median, Verdict(latency.median <= 2), latency.p99,
        latency.maximum);
}

// Pacing at each speed, then key presses, under one state of the machine.
void MeasureTiming(const Station& station, bool loaded) {
    std::printf("\n%s machine, load average %s\n", loaded ? "Loaded" : "Idle", qPrintable(LoadAverage()));
    std::optional<MachineLoad> load;
    if (loaded) {
        load.emplace();
        std::printf("  %s\n", qPrintable(load->Description()));
    }
    std::printf(
        "  pacing: interval between consecutive \"C\" commands against (length + letter space) x dot\n"
        "  after a character, (word space - letter space) x dot after a space; letter space %.1f, word\n"
        "  space %.1f; the same %zu-character text at each speed\n",
        LetterSpace, WordSpace, station.scale.pacingCharacters);
    for (const int speed : PacingSpeeds)
        MeasurePacingAt(station, speed);
    std::printf("  key press: 'e' pressed and released (posted from another thread) in the empty Keyboard\n"
                "  window after a random 150..250 ms pause, at %d wpm, the over ended between samples\n",
                station.Panel()->scrSpeed->value());
    MeasureKeyPress(station);
}

// CPU time used over a stretch, by the window's thread and by the whole process (the sending thread
// and the software unit too).
struct CpuUse {
    double window = 0;
    double process = 0;

    static CpuUse Now() { return {ThreadCpuSeconds(), ProcessCpuSeconds()}; }
    CpuUse operator-(const CpuUse& before) const {
        return {window - before.window, process - before.process};
    }
    CpuUse& operator+=(const CpuUse& more) {
        window += more.window;
        process += more.process;
        return *this;
    }
};

CpuUse CpuUseOver(std::chrono::milliseconds stretch) {
    const CpuUse start = CpuUse::Now();
    RunEventsFor(stretch);
    return CpuUse::Now() - start;
}

void PrintPerSecond(const char* stretch, const CpuUse& used, double seconds) {
    std::printf("    %s: window's thread %.1f us per second, whole process %.1f us per second\n", stretch,
                used.window * 1e6 / seconds, used.process * 1e6 / seconds);
}

// The CPU time per second while the unit is present and nothing is to send: first in the 3.5 s after
// a character, while the loop waits for more, then once the connection monitor has taken over.
void MeasureIdleCost(const Station& station) {
    const int rounds = station.scale.idleRounds;
    std::printf(
        "  idle: CPU time, unit present, nothing to send (%d rounds: 'e' sent, the over ended, 0.3..2.8 s\n"
        "  after it timed; then 4..9 s, after the hand-over to the connection monitor)\n",
        rounds);
    CpuUse waiting;
    CpuUse monitoring;
    for (int round = 0; round < rounds; ++round) {
        const std::size_t before = station.Port().Count();
        station.Paste(QStringLiteral("e"));
        station.Port().RunUntil(before + 1, 2s);
        station.program.Click("cmdEnd");
        RunEventsFor(300ms);
        waiting += CpuUseOver(2500ms);
        RunEventsFor(1200ms);
        monitoring += CpuUseOver(5s);
    }
    PrintPerSecond("waiting for text", waiting, rounds * 2.5);
    PrintPerSecond("connection monitor", monitoring, rounds * 5.0);
}

QString Repeated(const QString& piece, qsizetype length) {
    return piece.repeated(length / piece.size() + 1).left(length);
}

// A window's contents for one measurement of the cost per character.
struct CostCase {
    QString title;
    QString keyboard;
    QString sent;
};

QString Size(qsizetype characters) {
    return characters >= 1'000'000 ? QStringLiteral("%1 M").arg(characters / 1'000'000)
           : characters >= 1'000   ? QStringLiteral("%1 k").arg(characters / 1'000)
                                   : QString::number(characters);
}

// The Keyboard window at each size, then the Sent window at the largest.
std::vector<CostCase> CostCases(const std::array<qsizetype, 5>& sizes) {
    const qsizetype largest = sizes.back();
    // A message without spaces is one run longer than any line; the Sent window holds a long over
    // either on one line or on many.
    const QString noSpaces = QStringLiteral("CQDEDL2KAW");
    const QString words = Latin1(PacingText.substr(0, 70)) + QLatin1Char(' ');
    const QString lines = Latin1(PacingText.substr(0, 70)) + QLatin1Char('\n');
    const QString message = Repeated(words, 1000);
    std::vector<CostCase> cases;
    cases.reserve(sizes.size() + 2);
    for (const qsizetype size : sizes)
        cases.push_back({QStringLiteral("Keyboard window %1 characters").arg(Size(size)),
                         Repeated(noSpaces, size), QString()});
    cases.push_back({QStringLiteral("Sent window %1B on one line").arg(Size(largest)), message,
                     Repeated(words, largest)});
    cases.push_back({QStringLiteral("Sent window %1B in lines of 71").arg(Size(largest)), message,
                     Repeated(lines, largest)});
    return cases;
}

// The CPU time the window's thread spends on each character with the windows already full, from one
// "C" command to the next. Timing starts at the second character: the first goes out while the text
// just pasted is laid out.
void MeasureCostPerCharacter(const Station& station, const CostCase& costCase) {
    station.program.Sent()->setPlainText(costCase.sent);
    station.Port().Clear();
    const SteadyClock::time_point start = SteadyClock::now();
    station.Paste(costCase.keyboard);
    const double pasteSeconds = MillisecondsBetween(start, SteadyClock::now()) / 1e3;
    const auto timeout = 1min;
    std::vector<double> costs;
    bool complete = station.Port().RunUntil(2, timeout);
    for (int character = 0; complete && character < station.scale.costCharacters; ++character) {
        const double before = ThreadCpuSeconds();
        complete = station.Port().RunUntil(costs.size() + 3, timeout);
        if (complete) costs.push_back((ThreadCpuSeconds() - before) * 1e3);
    }
    if (costs.empty()) {
        std::printf("    %-34s timed out\n", qPrintable(costCase.title));
    } else {
        const Spread cost = SpreadOf(costs);
        std::printf("    %-34s %3zu characters: median %7.3f ms of CPU, max %7.3f ms [median <= 1: %s]"
                    " (pasted in %.1f s)%s\n",
                    qPrintable(costCase.title), costs.size(), cost.median, cost.maximum,
                    Verdict(cost.median <= 1), pasteSeconds, complete ? "" : " (timed out)");
    }
    station.StopAndSettle();
}

void MeasureCost(const Station& station) {
    std::printf("\nCost on the window's thread, load average %s\n", qPrintable(LoadAverage()));
    MeasureIdleCost(station);
    station.SetSpeed(50);
    std::printf("  per character at 50 wpm (each character's ideal interval is 96..480 ms):\n");
    // The first over after a pause costs more while the caches it uses warm up: one goes untimed.
    station.Port().Clear();
    station.Paste(QStringLiteral("CQ CQ CQ DE DL2KAW"));
    station.Port().RunUntil(10, 10s);
    station.StopAndSettle();
    for (const CostCase& costCase : CostCases(station.scale.windowSizes))
        MeasureCostPerCharacter(station, costCase);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList sections = application.arguments().mid(1);
    const bool quick = sections.removeAll(QStringLiteral("--quick")) > 0;
    const bool ordinary = sections.removeAll(QStringLiteral("--ordinary")) > 0;
    if (sections.isEmpty())
        sections = {QStringLiteral("idle"), QStringLiteral("loaded"), QStringLiteral("cost")};
    // Each figure shows as soon as it is known; the whole run takes minutes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    RunningProgram program;
    // The window's first layout and paint happen here, not inside the first measurement.
    RunEventsFor(1s);
    const Station station{program, quick ? QuickRun : FullRun};
    station.Panel()->scrLetterSpace->setValue(LetterSpaceControl);
    station.Panel()->scrWordSpace->setValue(WordSpaceControl);

    PrintMachine(quick ? "Transmit loop timing and cost, QUICK RUN (too few samples to quote)"
                       : "Transmit loop timing and cost");
    std::printf("Qt %s on %s, event dispatcher %s\n", qVersion(), qPrintable(QGuiApplication::platformName()),
                QAbstractEventDispatcher::instance()->metaObject()->className());
    if (ordinary) PutBackToOrdinaryScheduling();
    std::printf("real-time threads: %s\n", qPrintable(RealTimeDescription()));
    const auto start = SteadyClock::now();
    for (const QString& section : sections) {
        if (section == QLatin1String("idle") || section == QLatin1String("loaded"))
            MeasureTiming(station, section == QLatin1String("loaded"));
        else if (section == QLatin1String("cost"))
            MeasureCost(station);
        else
            std::printf("\nunknown section %s: idle, loaded, cost, --quick or --ordinary\n",
                        qPrintable(section));
    }
    std::printf("\nrunning time %.0f s\n", std::chrono::duration<double>(SteadyClock::now() - start).count());
    program.window.close();
    return 0;
}
