#include "app/ApplicationFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString StateFile = QStringLiteral("Operator.INI");
const QString PortableMarker = QStringLiteral("Tandrel.portable");

bool UnderSystemFolder(const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    const QStringList systemFolders{"/usr", "/opt", "/bin", "/sbin"};
    return std::any_of(systemFolders.begin(), systemFolders.end(), [&](const QString& prefix) {
        return path == prefix || path.startsWith(prefix + '/');
    });
}

} // namespace

QString ChooseApplicationFolder(const QString& programFolder, const QStringList& programFolderHolds,
                                const QString& dataFolder) {
    const bool portable =
        programFolderHolds.contains(StateFile) || programFolderHolds.contains(PortableMarker);
    return portable && !UnderSystemFolder(programFolder) ? programFolder : dataFolder;
}

QString ApplicationFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList holds =
        QDir(programFolder).entryList({StateFile, PortableMarker}, QDir::Files | QDir::CaseSensitive);
    QString folder = ChooseApplicationFolder(
        programFolder, holds, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(folder);
    return folder;
}
