#include "operators/OperatorFiles.h"

#include "profile/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int MaximumListed = 51;
constexpr qint64 MaximumProfileBytes = qint64{1024} * 1024;

// The whole text of a file of at most 1 MiB; empty for a larger file or one that cannot be read.
QByteArray ReadSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray text = file.read(MaximumProfileBytes + 1);
    return text.size() > MaximumProfileBytes ? QByteArray() : text;
}

bool HasFileIgnoringCase(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

// One character for one, so that the positions the QTH rule counts stay where they were.
void UpperCaseAt(QString& text, qsizetype position) {
    if (position < text.size()) text[position] = text[position].toUpper();
}

// Control characters go too: no platform takes NUL, Windows none of them.
QString SafeFileName(const QString& name) {
#ifdef Q_OS_WIN
    const QString forbidden = QStringLiteral("\\/:*?\"<>|");
#else
    const QString forbidden = QStringLiteral("/");
#endif
    QString safe = name;
    for (QChar& character : safe) {
        if (forbidden.contains(character) || character.unicode() < 32) character = QLatin1Char('-');
    }
    return safe;
}

// Joined by hand: QDir takes a name that starts with ":" for one of Qt's resources, outside the folder.
QString PathInFolder(const QString& folder, const QString& fileName) {
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        if (name.compare(fileName, Qt::CaseInsensitive) == 0) return folder + QLatin1Char('/') + name;
    }
    return folder + QLatin1Char('/') + fileName;
}

} // namespace

QString FileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString OperatorBaseName(const QString& path) {
    const QString name = FileNamePart(path);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString TitleForOperatorFile(const QString& path) {
    return QStringLiteral("Vesk Tandrel.....") + OperatorBaseName(path);
}

QStringList ScanOperatorFiles(const QString& folder) {
    const QDir dir(folder);
    QStringList operatorFiles;
    const QStringList listed = dir.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Unsorted);
    for (const QString& name : listed.mid(0, MaximumListed)) {
        const QString path = dir.filePath(name);
        if (IsOperatorFile(ReadSmallFile(path))) operatorFiles << path;
    }
    return operatorFiles;
}

QString ProfileFileFor(const QString& folder, const QString& typedName) {
    return PathInFolder(folder, SafeFileName(typedName) + QStringLiteral(".INI"));
}

QString DeriveFileName(const QString& call, const QString& folder, const QString& current) {
    QString base = SafeFileName(call.toUpper());
    const QStringList names = QDir(folder).entryList(QDir::Files);
    if (!HasFileIgnoringCase(names, base + QStringLiteral(".INI"))) return base;
    for (int number = 2; number <= 31; ++number) {
        QString numbered = QStringLiteral("%1(%2)").arg(base).arg(number);
        if (!HasFileIgnoringCase(names, numbered + QStringLiteral(".INI"))) return numbered;
    }
    return current;
}

QString TidyName(const QString& name) {
    QString tidy = name;
    UpperCaseAt(tidy, 0);
    return tidy;
}

QString TidyQth(const QString& qth) {
    QString tidy = qth;
    UpperCaseAt(tidy, 0);
    const qsizetype comma = tidy.indexOf(QLatin1Char(','));
    if (comma >= 0 && tidy.size() - comma - 1 == 3) {
        UpperCaseAt(tidy, tidy.size() - 2);
        UpperCaseAt(tidy, tidy.size() - 1);
    }
    // A first space that ends the text has nothing after it to capitalise.
    const qsizetype space = tidy.indexOf(QLatin1Char(' '));
    if (space >= 0) UpperCaseAt(tidy, space + 1);
    return tidy;
}

QString ProfilePathFromRecord(const QString& record, const QString& folder) {
    const bool absolute = QDir::isAbsolutePath(record) && !record.startsWith(QLatin1Char(':')); // no resource
    return absolute ? record : folder + QLatin1Char('/') + record;
}

QString RecordForProfilePath(const QString& path, const QString& folder) {
    if (path.isEmpty()) return path;
    const QFileInfo profile(QDir(folder), path);
    if (QDir::cleanPath(profile.absolutePath()) == QDir::cleanPath(folder)) return profile.fileName();
    return profile.absoluteFilePath();
}

QString WithIniExtension(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".ini") : path;
}
