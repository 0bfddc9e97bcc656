#include "operators/OperatorFiles.h"

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
