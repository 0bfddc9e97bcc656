// Time taken to open and close operator profiles of hostile sizes and to expand long messages: both
// grow in proportion to the size. Prints the figures; asserts nothing.

#include "keyboard/Macros.h"
#include "profile/ProfileFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype MiB = qsizetype{1024} * 1024;

double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// Opening is the load at start-up, closing the save at shutdown; only an operator profile is saved.
void OpenAndClose(const QString& path, const char* what, const QByteArray& bytes) {
    Put(path, "[Operator]\r\nMyCall=\r\nName=\r\nQTH=\r\n" + bytes);
    ProfileRead loaded;
    const double open = Milliseconds([&] { loaded = ReadProfile(path); });
    const double close = Milliseconds([&] { WriteProfile(path, loaded.profile, ProfileWrite::Replace); });
    std::printf("%-44s open %10.1f ms   close %10.1f ms%s\n", what, open, close,
                !loaded.writable ? "   (refused, file left as it was)"
                : loaded.profile.messages[0].size() < 1000
                    ? ""
                    : "   (message cut to the length a profile keeps)");
}

void Expand(const char* what, const QString& message) {
    const MacroValues values{"N0CALL", "G4XYZ", "Ann", "Leeds"};
    qsizetype length = 0;
    const double time = Milliseconds([&] { length = ExpandMacros(message, values).size(); });
    std::printf("%-44s %10.1f ms   (%lld characters out)\n", what, time, static_cast<long long>(length));
}

QString Repeated(const QString& unit, qsizetype length) {
    return unit.repeated(length / unit.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath("Hostile.ini");
    OpenAndClose(path, "15 MiB of line feeds", QByteArray(15 * MiB, '\n'));
    OpenAndClose(path, "50 MB of line feeds", QByteArray(50'000'000, '\n'));
    OpenAndClose(path, "one M1 line of 1 000 000 characters",
                 "[Messages]\r\nM1=" + QByteArray(1'000'000, 'E') + "\r\n");
    OpenAndClose(path, "15 MiB of key lines",
                 QByteArray("[Messages]\r\n") + QByteArray("K=v\r\n").repeated(3 * MiB));
    for (const qsizetype length : {180'000, 1'800'000}) {
        const QByteArray size = QByteArray::number(static_cast<double>(length) / 1e6, 'f', 2) + " MB ";
        Expand(size + "message of \"CQ (MYCALL) \"", Repeated("CQ (MYCALL) ", length));
        Expand(size + "message of \"()\"", Repeated("()", length));
        Expand(size + "message of nested brackets", Repeated("(", length / 2) + Repeated(")", length / 2));
    }
}
