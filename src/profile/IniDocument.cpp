#include "profile/IniDocument.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <unordered_set>

namespace {

constexpr QByteArrayView Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr QByteArrayView Utf16LittleEndianMark = "\xFF\xFE";
constexpr QByteArrayView Utf16BigEndianMark = "\xFE\xFF";
constexpr char LineBreak[] = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

QByteArrayView TrimmedBlanks(QByteArrayView text) {
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

// Around names a UTF-8 byte-order mark (U+FEFF, a zero-width blank) is a blank too: files joined
// end to end carry one at the start of a line, before a section or a key. Values keep theirs.
QByteArrayView TrimmedNameBlanks(QByteArrayView text) {
    for (;;) {
        text = TrimmedBlanks(text);
        if (text.startsWith(Utf8ByteOrderMark)) {
            text = text.sliced(Utf8ByteOrderMark.size());
        } else if (text.endsWith(Utf8ByteOrderMark)) {
            text.chop(Utf8ByteOrderMark.size());
        } else {
            return text;
        }
    }
}

// A line without its line break; for a run of lines, its first line.
QByteArrayView Content(QByteArrayView line) {
    qsizetype end = 0;
    while (end < line.size() && !IsLineEnd(line[end]))
        ++end;
    return line.first(end);
}

bool IsTerminated(QByteArrayView line) {
    return !line.isEmpty() && IsLineEnd(line.back());
}

std::optional<QByteArrayView> SectionName(QByteArrayView content) {
    const QByteArrayView text = TrimmedNameBlanks(content);
    const qsizetype close = text.indexOf(']');
    if (!text.startsWith('[') || close < 0) return std::nullopt;
    return TrimmedNameBlanks(text.sliced(1, close - 1));
}

struct KeyLine {
    QByteArrayView key;
    QByteArrayView value;
};

// A key line holds "=" and is no section line and no ";" comment.
std::optional<KeyLine> ParseKeyLine(QByteArrayView content) {
    const qsizetype equals = content.indexOf('=');
    if (equals < 0 || SectionName(content)) return std::nullopt;
    const QByteArrayView key = TrimmedNameBlanks(content.first(equals));
    if (key.startsWith(';')) return std::nullopt;
    return KeyLine{key, TrimmedBlanks(content.sliced(equals + 1))};
}

bool IsKeyLine(QByteArrayView line) {
    return ParseKeyLine(Content(line)).has_value();
}

bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-8 when the bytes are valid UTF-8 (a leading U+FEFF kept), otherwise Latin-1.
QString Decode(QByteArrayView bytes) {
    // Names and most values are ASCII, which reads the same either way, and quicker as Latin-1.
    if (IsAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// Names compare as the file holds them: blanks around them aside, case folded.
QString FoldedName(QByteArrayView name) {
    const QByteArrayView trimmed = TrimmedNameBlanks(name);
    if (IsAscii(trimmed)) return QString::fromLatin1(trimmed.toByteArray().toLower());
    return Decode(trimmed).toCaseFolded();
}

QString FoldedName(const QString& name) {
    return FoldedName(QByteArrayView(name.toUtf8()));
}

// A slice of the document's text, sharing its bytes.
QByteArray Slice(const QByteArray& text, qsizetype begin, qsizetype end) {
    return QByteArray::fromRawData(text.constData() + begin, end - begin);
}

// UTF-16 without its byte-order mark, as UTF-8; nothing when it is damaged.
std::optional<QByteArray> Utf16AsUtf8(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    QStringDecoder decoder(encoding,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder(bytes);
    if (decoder.hasError() || !text.isValidUtf16()) return std::nullopt;
    return text.toUtf8();
}

} // namespace

IniDocument::IniDocument(QByteArray text, QByteArray byteOrderMark, QStringConverter::Encoding encoding)
    : text_(std::move(text)), byteOrderMark_(std::move(byteOrderMark)), encoding_(encoding) {
    const QByteArray& bytes = text_; // read only: the lines share its buffer
    bool lastWasOther = false;
    for (qsizetype begin = 0; begin < bytes.size();) {
        qsizetype end = begin;
        while (end < bytes.size() && !IsLineEnd(bytes[end]))
            ++end;
        if (end < bytes.size())
            end += bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        AddLine(begin, end, lastWasOther);
        begin = end;
    }
}

std::variant<IniDocument, QString> IniDocument::Parse(const QByteArray& fileBytes) {
    const QStringConverter::Encoding encoding =
        fileBytes.startsWith(Utf16LittleEndianMark) ? QStringConverter::Utf16LE
        : fileBytes.startsWith(Utf16BigEndianMark)  ? QStringConverter::Utf16BE
                                                    : QStringConverter::Utf8;
    const bool utf8 = encoding == QStringConverter::Utf8;
    QByteArray mark =
        utf8 && fileBytes.startsWith(Utf8ByteOrderMark) ? Utf8ByteOrderMark.toByteArray() : QByteArray();
    std::optional<QByteArray> text =
        utf8 ? fileBytes.sliced(mark.size()) : Utf16AsUtf8(fileBytes.sliced(2), encoding);
    if (!text) return QStringLiteral("its Unicode (UTF-16) text is damaged");
    // No text holds a NUL: this is a program, a picture, or text in a form this program does not read.
    if (text->contains('\0')) return QStringLiteral("it holds bytes that are not text");
    return IniDocument(std::move(*text), std::move(mark), encoding);
}

void IniDocument::AddLine(qsizetype begin, qsizetype end, bool& lastWasOther) {
    const QByteArray line = Slice(text_, begin, end);
    if (SectionName(Content(line))) {
        sections_.push_back({line, {}, nullptr});
        lastWasOther = false;
        return;
    }
    std::vector<QByteArray>& lines = sections_.back().lines;
    const bool isOther = !IsKeyLine(line);
    if (isOther && lastWasOther) {
        const qsizetype runBegin = lines.back().constData() - text_.constData();
        lines.back() = Slice(text_, runBegin, end);
    } else {
        lines.push_back(line);
    }
    lastWasOther = isOther;
}

std::optional<qsizetype> IniDocument::FindSection(const QString& name) const {
    const QString folded = FoldedName(name);
    auto found = sectionsFound_.find(folded);
    if (found == sectionsFound_.end()) {
        qsizetype index = 1;
        while (index < qsizetype(sections_.size()) &&
               FoldedName(*SectionName(Content(sections_[index].header))) != folded)
            ++index;
        found = sectionsFound_.try_emplace(folded, index < qsizetype(sections_.size()) ? index : -1).first;
    }
    if (found->second < 0) return std::nullopt;
    return found->second;
}

std::optional<qsizetype> IniDocument::FindKey(const Section& section, const QString& key) const {
    if (!section.keyIndex) {
        section.keyIndex = std::make_unique<NameIndex>();
        for (qsizetype index = 0; index < qsizetype(section.lines.size()); ++index)
            if (const auto keyLine = ParseKeyLine(Content(section.lines[index])))
                section.keyIndex->try_emplace(FoldedName(keyLine->key), index);
    }
    const auto found = section.keyIndex->find(FoldedName(key));
    if (found == section.keyIndex->end()) return std::nullopt;
    return found->second;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
    const auto sectionIndex = FindSection(section);
    if (!sectionIndex) return std::nullopt;
    const Section& found = sections_[*sectionIndex];
    const auto line = FindKey(found, key);
    if (!line) return std::nullopt;
    return Decode(ParseKeyLine(Content(found.lines[*line]))->value);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    const QString lineText = key + u'=' + value;
    const auto sectionIndex = FindSection(section);
    if (!sectionIndex) {
        AppendSection(section, lineText.toUtf8());
        return;
    }
    Section& found = sections_[*sectionIndex];
    const auto index = FindKey(found, key);
    if (!index) {
        InsertKeyLine(found, key, lineText.toUtf8());
        return;
    }
    QByteArray& line = found.lines[*index];
    const QByteArrayView content = Content(line);
    if (Decode(content) == lineText) return;
    line = lineText.toUtf8() + line.sliced(content.size());
    changed_ = true;
}

// After the section's last key line, before the blank lines and comments that end it.
void IniDocument::InsertKeyLine(Section& section, const QString& key, const QByteArray& line) {
    std::vector<QByteArray>& lines = section.lines;
    auto position = static_cast<qsizetype>(lines.size());
    while (position > 0 && !IsKeyLine(lines[position - 1]))
        --position;
    QByteArray& before = position > 0 ? lines[position - 1] : section.header;
    if (!IsTerminated(before)) before += LineBreak;
    lines.insert(lines.begin() + position, line + LineBreak);
    section.keyIndex->try_emplace(FoldedName(key), position);
    changed_ = true;
}

void IniDocument::AppendSection(const QString& name, const QByteArray& line) {
    if (QByteArray* last = LastLine(); last && !IsTerminated(*last)) *last += LineBreak;
    Section section{'[' + name.toUtf8() + ']' + LineBreak, {line + LineBreak}, nullptr};
    sections_.push_back(std::move(section));
    sectionsFound_.insert_or_assign(FoldedName(name), qsizetype(sections_.size()) - 1);
    changed_ = true;
}

QByteArray* IniDocument::LastLine() {
    Section& last = sections_.back();
    if (!last.lines.empty()) return &last.lines.back();
    return last.header.isEmpty() ? nullptr : &last.header;
}

void IniDocument::RemoveKeys(const QString& section, const QStringList& keys) {
    const auto sectionIndex = FindSection(section);
    if (!sectionIndex || keys.isEmpty()) return;
    std::unordered_set<QString> removed;
    for (const QString& key : keys)
        removed.insert(FoldedName(key));
    Section& found = sections_[*sectionIndex];
    std::vector<QByteArray> kept;
    bool lastWasOther = false;
    for (QByteArray& line : found.lines) {
        const auto keyLine = ParseKeyLine(Content(line));
        if (keyLine && removed.count(FoldedName(keyLine->key)) > 0) {
            changed_ = true;
            continue;
        }
        // Runs of other lines that met where a key line was become one run again.
        if (!keyLine && lastWasOther) {
            kept.back() += line;
        } else {
            kept.push_back(std::move(line));
        }
        lastWasOther = !keyLine;
    }
    found.lines = std::move(kept);
    found.keyIndex.reset();
}

bool IniDocument::LineHolds(QByteArrayView text) const {
    return std::any_of(sections_.begin(), sections_.end(), [&](const Section& section) {
        return section.header.contains(text) ||
               std::any_of(section.lines.begin(), section.lines.end(),
                           [&](const QByteArray& line) { return line.contains(text); });
    });
}

QByteArray IniDocument::FileBytes() const {
    QByteArray text = byteOrderMark_;
    text.reserve(byteOrderMark_.size() + text_.size());
    for (const Section& section : sections_) {
        text += section.header;
        for (const QByteArray& line : section.lines)
            text += line;
    }
    if (encoding_ == QStringConverter::Utf8) return text;
    QStringEncoder utf16(encoding_, QStringEncoder::Flag::Stateless | QStringEncoder::Flag::WriteBom);
    return utf16(Decode(text));
}
