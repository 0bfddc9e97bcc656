#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The rules for operator profile files: how they are found, recognised and named, and how the entries
// of the operator dialog are tidied. No widgets here.

// The name part of a profile path (after its last separator), cut before its first "."; a name
// with no "." is taken whole.
QString OperatorBaseName(const QString& path);
// The main window's title for a profile path.
QString TitleForOperatorFile(const QString& path);
// The part of a path after its last separator; the whole path when it has none.
QString FileNamePart(const QString& path);

// The operator files (IsOperatorFile) among the first 51 "*.ini" files of the folder (any letter case),
// as full paths in listing order. A file over 1 MiB, or one that cannot be read, is not listed.
QStringList ScanOperatorFiles(const QString& folder);

// The profile that a file name typed into the operator dialog names: in the folder, with ".INI" added
// whatever the name ends in. Each character a file name cannot hold ("/" of a portable call) becomes
// "-". Names match without regard to letter case, as the scan matches "*.ini": N0CALL names an
// existing N0CALL.ini.
QString ProfileFileFor(const QString& folder, const QString& typedName);
// The file name proposed for a new operator: the call in capitals (made safe as above), else with the
// first free number (2) to (31); when all of those exist, current stays.
QString DeriveFileName(const QString& call, const QString& folder, const QString& current);

// The entry tidying of the operator dialog. A name gets a capital first letter. A QTH gets a capital
// first letter, capitals for a two-letter code after its first comma (", ny") and a capital after its
// first space.
QString TidyName(const QString& name);
QString TidyQth(const QString& qth);

// The profile path a recorded INIFile value names: a relative name lies in the folder.
QString ProfilePathFromRecord(const QString& record, const QString& folder);
// What INIFile records for a profile path: the bare name for a profile in the folder itself, the full
// path for one anywhere else, so that the next start finds it where it lies.
QString RecordForProfilePath(const QString& path, const QString& folder);
// A chosen profile name without an extension gets ".ini", so that the scan lists it.
QString WithIniExtension(const QString& path);
