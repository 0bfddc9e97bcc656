// Figures of the network keyer in the running window (offscreen, system clock, software unit): how
// soon a logger's text reaches the unit, and what a flood of datagrams costs the window. A sender
// thread plays the logger over a real loopback socket. Prints the figures; asserts nothing.
//
// Usage: network [--quick]   (--quick: a few samples, to see that it runs; about a minute otherwise)

#include "support/Figures.h"
#include "support/RunningProgram.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QTextEdit>
#include <QTimer>
#include <QUdpSocket>
#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// How many samples each measurement takes.
struct Scale {
    int latencySamples;
    int floodDatagrams;
};
constexpr Scale FullRun{200, 10'000};
constexpr Scale QuickRun{10, 1'000};

// The logger's side: a plain socket, so that the sender thread needs no event loop.
class Logger {
public:
    explicit Logger(quint16 port) : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        to_.sin_family = AF_INET;
        to_.sin_port = htons(port);
        to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ~Logger() { ::close(socket_); }
    SteadyClock::time_point Send(std::string_view datagram) const {
        const SteadyClock::time_point now = SteadyClock::now();
        ::sendto(socket_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to_),
                 sizeof to_);
        return now;
    }

private:
    int socket_;
    sockaddr_in to_{};
};

quint16 FreePort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

long ResidentKibibytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) return line.mid(line.indexOf(':') + 1).trimmed().split(' ')[0].toLong();
    }
    return -1;
}

// "e" sent after a random pause while the window idles; the time from the datagram's sending to the
// unit's "C" command, which includes the system's delivery and the window's event loop.
void MeasureLatency(RunningProgram& program, int samples, const Logger& logger) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> pauseMicroseconds(150'000, 250'000);
    std::vector<double> latencies;
    for (int sample = 0; sample < samples; ++sample) {
        const std::size_t before = program.port.Count();
        SteadyClock::time_point sent;
        std::thread sender([&, pause = std::chrono::microseconds(pauseMicroseconds(random))] {
            std::this_thread::sleep_for(pause);
            sent = logger.Send("e");
        });
        const bool arrived = program.port.RunUntil(before + 1, 2s);
        sender.join();
        if (arrived) latencies.push_back(MillisecondsBetween(sent, program.port.Commands()[before].time));
        program.Click("cmdEnd");
    }
    if (latencies.empty()) {
        std::printf("1. Datagram sent -> first \"C\" command: no datagram reached the unit\n");
        return;
    }
    const Spread latency = SpreadOf(latencies);
    std::printf("1. Datagram sent -> first \"C\" command, %zu of %d samples: median %.3f ms [<= 5: %s]  "
                "p99 %.3f ms  max %.3f ms\n",
                latencies.size(), samples, latency.median, Verdict(latency.median <= 5), latency.p99,
                latency.maximum);
}

// Datagrams as fast as the sender can write them; a 10 ms timer in the window's thread shows how long
// the event loop was kept from it.
void MeasureFlood(const RunningProgram& program, int datagrams, const Logger& logger) {
    const long residentBefore = ResidentKibibytes("VmRSS");
    std::vector<double> gaps;
    auto last = SteadyClock::now();
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const auto now = SteadyClock::now();
        gaps.push_back(MillisecondsBetween(last, now));
        last = now;
    });
    beat.start(10);
    const auto start = SteadyClock::now();
    std::thread sender([&] {
        for (int i = 0; i < datagrams; ++i)
            logger.Send(i % 2 ? "CQ TEST DL1ABC"
                              : "\x1b"
                                "2 28");
    });
    sender.join();
    const double sending = MillisecondsBetween(start, SteadyClock::now());
    RunEventsFor(2s);
    beat.stop();
    std::printf("2. Flood of %d datagrams (text and speed requests alternating), written in %.0f ms:\n",
                datagrams, sending);
    const Spread gap = SpreadOf(gaps);
    std::printf("   window's 10 ms timer while it lasted and 2 s after: median gap %.2f ms  p99 %.2f ms  "
                "max %.2f ms\n",
                gap.median, gap.p99, gap.maximum);
    std::printf(
        "   memory: resident %ld KiB before, %ld KiB after (peak %ld KiB); Keyboard text %d characters\n",
        residentBefore, ResidentKibibytes("VmRSS"), ResidentKibibytes("VmHWM"),
        int(program.Keyboard()->document()->characterCount() - 1));
    std::printf("   status line: %s\n",
                qPrintable(program.window.findChild<QLineEdit*>(QStringLiteral("txtInfo"))->text()));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    const bool quick = application.arguments().contains(QStringLiteral("--quick"));
    const Scale scale = quick ? QuickRun : FullRun;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    RunningProgram program;
    const quint16 listening = FreePort();
    const QString refused = program.window.ListenForLoggers(QStringLiteral("127.0.0.1:%1").arg(listening));
    if (!refused.isEmpty()) {
        std::printf("network keyer off: %s\n", qPrintable(refused));
        return 1;
    }
    RunEventsFor(1s);
    PrintMachine(quick ? "Network keyer, QUICK RUN (too few samples to quote)" : "Network keyer");
    const Logger logger(listening);
    MeasureLatency(program, scale.latencySamples, logger);
    MeasureFlood(program, scale.floodDatagrams, logger);
    std::printf("load average at the end %s\n", qPrintable(LoadAverage()));
    program.window.close();
    return 0;
}
