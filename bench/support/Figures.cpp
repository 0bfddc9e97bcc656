#include "Figures.h"

#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double Percentile(const std::vector<double>& sorted, double fraction) {
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

QString CpuModel() {
    QFile cpuInfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuInfo.open(QIODevice::ReadOnly)) return QStringLiteral("unknown processor");
    for (const QByteArray& line : cpuInfo.readAll().split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return QStringLiteral("unknown processor");
}

double CpuSeconds(clockid_t clock) {
    timespec used{};
    clock_gettime(clock, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

int LoadWorkers() {
    return 2 * QThread::idealThreadCount();
}

} // namespace

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {Percentile(values, 0.5), Percentile(values, 0.99), values.back(), values.front()};
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

QString LoadAverage() {
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
    return QString::fromUtf8(load.readAll().trimmed());
}

void PrintMachine(const char* title) {
#ifdef NDEBUG
    const char* build = "optimised (NDEBUG)";
#else
    const char* build = "NOT optimised (debug build: figures are not representative)";
#endif
    rlimit realTime{};
    getrlimit(RLIMIT_RTPRIO, &realTime);
    std::printf("%s\n", title);
    std::printf("machine: %d cores, %s, %s %s\n", QThread::idealThreadCount(), qPrintable(CpuModel()),
                qPrintable(QSysInfo::kernelType()), qPrintable(QSysInfo::kernelVersion()));
    std::printf("build: %s; user id %d, RLIMIT_RTPRIO %lld\n", build, static_cast<int>(getuid()),
                static_cast<long long>(realTime.rlim_cur));
    std::printf("load average at start: %s\n", qPrintable(LoadAverage()));
}

double ThreadCpuSeconds() {
    return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double ProcessCpuSeconds() {
    return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
}

MachineLoad::MachineLoad() {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("stress-ng"),
                   {QStringLiteral("--cpu"), QString::number(LoadWorkers()), QStringLiteral("--timeout"),
                    QStringLiteral("3600s"), QStringLiteral("--quiet")});
    // The workers have started and spread over the cores before anything is measured.
    if (process_.waitForStarted()) QThread::sleep(3);
}

MachineLoad::~MachineLoad() {
    if (!Running()) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished();
}

QString MachineLoad::Description() const {
    if (!Running())
        return QStringLiteral("stress-ng could not be started (bench/setup installs it): NOT loaded");
    return QStringLiteral("stress-ng --cpu %1 beside it").arg(LoadWorkers());
}
