#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <memory>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>

// A private-profile (INI) file parsed once, then read and edited in memory and written back whole,
// so that loading or saving a profile is one pass over the file, whatever its size.
//
// Lines end in CR LF, LF or CR. A "[Section]" line starts a section; a "key=value" line belongs to
// the section above it. Names match without regard to letter case; the first matching section and
// the first matching key in it win. A value is the text after the first "=", blanks around it
// removed; around names, a byte-order mark is a blank too. A name or value that is not valid UTF-8 is
// Latin-1: single-byte text written on another system keeps its letters. A file that starts with a UTF-16
// byte-order mark is UTF-16 and is written back so. Edits touch only the lines they concern; every other line
// keeps its bytes and its own line end, and new lines end in CR LF.
class IniDocument {
public:
    IniDocument() = default; // the document of a missing file

    // The file's bytes as a document; the reason, in plain words, when they are no text this
    // program can read (binary bytes, damaged UTF-16).
    static std::variant<IniDocument, QString> Parse(const QByteArray& fileBytes);

    // The whole value; nothing when the section or the key is missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // The value holds no line break. A line that already reads key=value, in whatever encoding,
    // is left as it is; otherwise the key's line becomes key=value with the key spelled as given,
    // or the line is added after the section's last key, or the section at the end of the file.
    void SetValue(const QString& section, const QString& key, const QString& value);
    // Every line of these keys in the section.
    void RemoveKeys(const QString& section, const QStringList& keys);

    // Whether a line of the document's text (UTF-16 read as text) holds these bytes.
    bool LineHolds(QByteArrayView text) const;

    bool IsChanged() const { return changed_; }
    QByteArray FileBytes() const;

private:
    using NameIndex = std::unordered_map<QString, qsizetype>;

    struct Section {
        QByteArray header; // the "[Name]" line; empty for the lines before the first section
        // Key lines one by one, runs of other lines as one entry, each with its line break.
        std::vector<QByteArray> lines;
        // Case-folded key to its first line; built when the section is first searched.
        mutable std::unique_ptr<NameIndex> keyIndex;
    };

    IniDocument(QByteArray text, QByteArray byteOrderMark, QStringConverter::Encoding encoding);
    void AddLine(qsizetype begin, qsizetype end, bool& lastWasOther);
    std::optional<qsizetype> FindSection(const QString& name) const;
    std::optional<qsizetype> FindKey(const Section& section, const QString& key) const;
    void InsertKeyLine(Section& section, const QString& key, const QByteArray& line);
    void AppendSection(const QString& name, const QByteArray& line);
    QByteArray* LastLine();

    QByteArray text_; // the file as 8-bit text (UTF-16 converted to UTF-8); lines refer into it
    QByteArray byteOrderMark_;
    QStringConverter::Encoding encoding_ = QStringConverter::Utf8;
    std::vector<Section> sections_{1};
    // Case-folded section names looked up so far, and where they are (-1: missing).
    mutable NameIndex sectionsFound_;
    bool changed_ = false;
};
