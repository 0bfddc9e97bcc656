#pragma once

// What the benchmarks share: the spread of a set of figures, a description of the machine they were
// taken on, and a load to take them under.

#include <QProcess>
#include <QString>
#include <vector>

struct Spread {
    double median = 0;
    double p99 = 0;
    double maximum = 0;
    double minimum = 0;
};

// Nearest-rank percentiles of a set that is not empty.
Spread SpreadOf(std::vector<double> values);

const char* Verdict(bool met);
QString LoadAverage();
// Cores, processor, kernel, build kind, user and the real-time priority the user may ask for.
void PrintMachine(const char* title);

// The CPU time the calling thread, and the whole process, have used, in seconds.
double ThreadCpuSeconds();
double ProcessCpuSeconds();

// stress-ng beside the measurement, as on a busy station computer: two CPU-bound workers per core at
// ordinary priority. It ends with this object, and on its own after an hour should the benchmark die.
class MachineLoad {
public:
    MachineLoad();
    ~MachineLoad();
    MachineLoad(const MachineLoad&) = delete;
    MachineLoad& operator=(const MachineLoad&) = delete;

    // False when stress-ng could not be started (bench/setup installs it).
    bool Running() const { return process_.state() == QProcess::Running; }
    QString Description() const;

private:
    QProcess process_;
};
