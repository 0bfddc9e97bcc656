#pragma once

#include <QString>

// The name part of a profile path (after its last separator), cut before its first "."; a name
// with no "." is taken whole.
QString OperatorBaseName(const QString& path);
// The main window's title for a profile path.
QString TitleForOperatorFile(const QString& path);
// The part of a path after its last separator; the whole path when it has none.
QString FileNamePart(const QString& path);
