#include "profile/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace {

constexpr qsizetype maxValueLength = 254;
constexpr char lineBreak[] = "\r\n";
// Editors on this platform may start a file with it; it belongs to no line.
constexpr QByteArrayView byteOrderMark = "\xEF\xBB\xBF";

// A line as offsets into the file's bytes: its text is [begin, contentEnd), its line break (LF or
// CR LF; none on an unterminated last line) is [contentEnd, end).
struct LineSpan {
    qsizetype begin;
    qsizetype contentEnd;
    qsizetype end;

    bool IsTerminated() const { return contentEnd != end; }
};

QList<LineSpan> SplitLines(const QByteArray& bytes) {
    QList<LineSpan> lines;
    qsizetype begin = bytes.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    while (begin < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', begin);
        if (newline < 0) {
            lines.append({begin, bytes.size(), bytes.size()});
            break;
        }
        const bool crBefore = newline > begin && bytes[newline - 1] == '\r';
        lines.append({begin, crBefore ? newline - 1 : newline, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

// The file's bytes with their lines. Edits splice the bytes, so lines not touched keep their encoding
// and their own line ends.
struct IniText {
    QByteArray bytes;
    QList<LineSpan> lines = SplitLines(bytes);

    QByteArrayView Content(qsizetype index) const {
        const LineSpan& line = lines[index];
        return QByteArrayView(bytes).sliced(line.begin, line.contentEnd - line.begin);
    }
};

// Lines (first, one past the last) of a section, its "[Name]" line included.
struct SectionRange {
    qsizetype header;
    qsizetype end;
};

struct KeyLine {
    QByteArrayView key;
    QByteArrayView value;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView TrimmedBlanks(QByteArrayView text) {
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

std::optional<QByteArrayView> SectionName(QByteArrayView content) {
    const QByteArrayView text = TrimmedBlanks(content);
    const qsizetype close = text.indexOf(']');
    if (!text.startsWith('[') || close < 0) return std::nullopt;
    return TrimmedBlanks(text.sliced(1, close - 1));
}

// A key line holds "=" and is no section line and no ";" comment.
std::optional<KeyLine> ParseKeyLine(QByteArrayView content) {
    const qsizetype equals = content.indexOf('=');
    if (equals < 0 || SectionName(content)) return std::nullopt;
    const QByteArrayView key = TrimmedBlanks(content.first(equals));
    if (key.startsWith(';')) return std::nullopt;
    return KeyLine{key, TrimmedBlanks(content.sliced(equals + 1))};
}

bool NameMatches(QByteArrayView nameInFile, const QString& wanted) {
    return QString::fromUtf8(nameInFile).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

std::optional<SectionRange> FindSection(const IniText& ini, const QString& section) {
    const qsizetype count = ini.lines.size();
    for (qsizetype header = 0; header < count; ++header) {
        const auto name = SectionName(ini.Content(header));
        if (!name || !NameMatches(*name, section)) continue;
        qsizetype end = header + 1;
        while (end < count && !SectionName(ini.Content(end)))
            ++end;
        return SectionRange{header, end};
    }
    return std::nullopt;
}

bool IsLineOfKey(const IniText& ini, qsizetype index, const QString& key) {
    const auto keyLine = ParseKeyLine(ini.Content(index));
    return keyLine && NameMatches(keyLine->key, key);
}

std::optional<qsizetype> FindKeyLine(const IniText& ini, SectionRange range, const QString& key) {
    for (qsizetype index = range.header + 1; index < range.end; ++index)
        if (IsLineOfKey(ini, index, key)) return index;
    return std::nullopt;
}

// Where a new key goes: after the section's last key line (before trailing blank lines and junk), or
// right after the "[Name]" line when the section has no key yet.
qsizetype LastKeyLine(const IniText& ini, SectionRange range) {
    qsizetype last = range.header;
    for (qsizetype index = range.header + 1; index < range.end; ++index)
        if (ParseKeyLine(ini.Content(index))) last = index;
    return last;
}

// Whole CR LF-terminated lines inserted after the given line (index -1: the file has no line), which
// gets a line break first when it is an unterminated last line.
QByteArray InsertedAfter(const IniText& ini, qsizetype index, QByteArrayView newLines) {
    const bool closeLine = index >= 0 && !ini.lines[index].IsTerminated();
    const qsizetype position = index >= 0 ? ini.lines[index].end : ini.bytes.size();
    QByteArray result = ini.bytes.first(position);
    if (closeLine) result += lineBreak;
    result += newLines;
    result += QByteArrayView(ini.bytes).sliced(position);
    return result;
}

QByteArray Replaced(const IniText& ini, qsizetype index, QByteArrayView content) {
    const LineSpan& line = ini.lines[index];
    QByteArray result = ini.bytes.first(line.begin);
    result += content;
    result += QByteArrayView(ini.bytes).sliced(line.contentEnd);
    return result;
}

QByteArray WithValue(const IniText& ini, const QString& section, const QString& key, const QString& value) {
    const QByteArray keyLine = key.toUtf8() + '=' + value.toUtf8();
    const auto range = FindSection(ini, section);
    if (!range) {
        const QByteArray sectionLines = '[' + section.toUtf8() + ']' + lineBreak + keyLine + lineBreak;
        return InsertedAfter(ini, ini.lines.size() - 1, sectionLines);
    }
    if (const auto index = FindKeyLine(ini, *range, key)) return Replaced(ini, *index, keyLine);
    return InsertedAfter(ini, LastKeyLine(ini, *range), keyLine + lineBreak);
}

QByteArray WithoutKey(const IniText& ini, const QString& section, const QString& key) {
    QByteArray result = ini.bytes;
    const auto range = FindSection(ini, section);
    if (!range) return result;
    // Backwards, so that the offsets of the lines still to remove stay valid.
    for (qsizetype index = range->end - 1; index > range->header; --index) {
        const LineSpan& line = ini.lines[index];
        if (IsLineOfKey(ini, index, key)) result.remove(line.begin, line.end - line.begin);
    }
    return result;
}

// The file's text; empty for a missing file, nothing for one that exists but cannot be read whole (a
// directory, no permission), which must then not be overwritten.
std::optional<IniText> LoadIniText(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return IniText{};
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return IniText{std::move(bytes)};
}

// A temporary file in the same folder renamed over the old one: a failed write leaves the old file whole.
void SaveIfChanged(const QString& path, const QByteArray& before, const QByteArray& after) {
    if (after == before) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(after);
    file.commit();
}

QString CutToValueLength(QString value) {
    if (value.size() <= maxValueLength) return value;
    const bool wouldSplitPair = value.at(maxValueLength - 1).isHighSurrogate();
    value.truncate(wouldSplitPair ? maxValueLength - 1 : maxValueLength);
    return value;
}

std::optional<QString> FindValue(const QString& file, const QString& section, const QString& key) {
    const auto ini = LoadIniText(file);
    if (!ini) return std::nullopt;
    const auto range = FindSection(*ini, section);
    if (!range) return std::nullopt;
    const auto index = FindKeyLine(*ini, *range, key);
    if (!index) return std::nullopt;
    return QString::fromUtf8(ParseKeyLine(ini->Content(*index))->value);
}

} // namespace

QString ReadIniValue(const QString& file, const QString& section, const QString& key,
                     const QString& defaultValue) {
    return CutToValueLength(FindValue(file, section, key).value_or(defaultValue));
}

void WriteIniValue(const QString& file, const QString& section, const QString& key, QString& value) {
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const auto ini = LoadIniText(file);
    if (ini) SaveIfChanged(file, ini->bytes, WithValue(*ini, section, key, value));
}

void DeleteIniValue(const QString& file, const QString& section, const QString& key) {
    const auto ini = LoadIniText(file);
    if (ini) SaveIfChanged(file, ini->bytes, WithoutKey(*ini, section, key));
}
