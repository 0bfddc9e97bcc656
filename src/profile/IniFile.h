#pragma once

#include "profile/IniDocument.h"

#include <QString>
#include <optional>

// INI files on disk. A file is read whole into an IniDocument and replaced whole and atomically: a
// temporary file beside it, renamed over it, so that a failed save leaves the old file as it was.
// A name that does not exist in UTF-8 is also looked for spelled in Latin-1, as names written on
// other systems are.

// Why a file could not be read or written, in plain words ("the disk is full"); nothing when all
// went well.
using FileProblem = std::optional<QString>;

// Larger files are refused: no profile comes near this, and reading one must stay quick.
constexpr qsizetype MaxIniFileBytes = qsizetype{16} * 1024 * 1024;

struct IniLoad {
    IniDocument document; // empty for a missing file and for one with a problem
    FileProblem problem;  // the file exists but cannot be read or understood; never write it then
};

IniLoad LoadIniFile(const QString& file);
// Whether the file is there, under either spelling of its name; a dangling link is not.
bool IniFileExists(const QString& file);
// Writes only a changed document.
FileProblem SaveIniFile(const QString& file, const IniDocument& document);

// The primitives for single keys, which never report a failure.

// The value, or defaultValue when the file, section or key is missing; cut to at most 254
// characters, never inside a character.
QString ReadIniValue(const QString& file, const QString& section, const QString& key,
                     const QString& defaultValue);
QString CutIniValue(const std::optional<QString>& value, const QString& defaultValue);

// Every CR and LF in value becomes a blank, in the caller's string too; then the value is written.
void WriteIniValue(const QString& file, const QString& section, const QString& key, QString& value);
void ReplaceLineBreaks(QString& value);
