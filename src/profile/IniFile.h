#pragma once

#include <QString>

// Private-profile (INI) files: "[Section]" lines and "key=value" lines, 8-bit text (UTF-8), CR LF line
// ends. Section and key names match without regard to letter case; the first matching section and the
// first matching key in it win. Every change replaces the file atomically and touches only the line it
// concerns; other lines (comments, junk, invalid UTF-8) stay byte for byte. Failures are silent.

// Returns the value, or defaultValue when the file, section or key is missing; cut to at most 254
// characters.
QString ReadIniValue(const QString& file, const QString& section, const QString& key,
                     const QString& defaultValue);

// Every CR and LF in value becomes a blank, in the caller's string too; then the value is written.
// An existing key's line becomes key=value with the key spelled as given here.
void WriteIniValue(const QString& file, const QString& section, const QString& key, QString& value);

// Removes the key's lines from the first matching section, so that a later read gives the default.
void DeleteIniValue(const QString& file, const QString& section, const QString& key);
