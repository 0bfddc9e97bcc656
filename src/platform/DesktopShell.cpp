#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// xdg-mime answers from the desktop's own files in a few milliseconds; a hung one must not hold
// the window for long.
constexpr int QueryMilliseconds = 3000;

// False only when the desktop is known to have no application for the type. Without xdg-mime the
// desktop services are asked to open the file and their answer decides.
bool HasAssociatedApplication(const QFileInfo& file) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) return true;
    QProcess process;
    const QString type = QMimeDatabase().mimeTypeForFile(file).name();
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!process.waitForFinished(QueryMilliseconds)) return true;
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

int DesktopShell::OpenDocument(const QString& path) {
    const QFileInfo file(path);
    if (!file.dir().exists()) return PathNotFound;
    if (!file.isFile()) return FileNotFound;
    if (!file.isReadable()) return AccessDenied;
    if (!HasAssociatedApplication(file)) return NoAssociation;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath())) ? Opened : NoAssociation;
}

QString DesktopShell::FindProgram(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

bool DesktopShell::StartProgram(const QString& program) {
    return QProcess::startDetached(program, {});
}
