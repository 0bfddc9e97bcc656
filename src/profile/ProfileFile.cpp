#include "profile/ProfileFile.h"

#include "platform/NumberText.h"
#include "profile/IniFile.h"
#include "profile/SettingRanges.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

const QString timing = QStringLiteral("Timing");
const QString modes = QStringLiteral("Modes");
const QString operatorSection = QStringLiteral("Operator");
const QString messagesSection = QStringLiteral("Messages");

// The longest text one key may take: a read returns at most 254 characters, and the message editor
// has always cut at 250.
constexpr qsizetype pieceLength = 250;
// A piece must hold a character (up to two UTF-16 units) before a run of blanks and the "*" after it.
constexpr qsizetype longestBlankRun = pieceLength - 3;
constexpr QChar pieceEndMarker = u'*';

// The blanks that reading trims from both ends of a value.
bool IsBlank(QChar character) {
    return character == u' ' || character == u'\t';
}

int NearestInRange(double value, ControlRange range) {
    return static_cast<int>(std::clamp(RoundHalfEven(value), static_cast<long long>(range.minimum),
                                       static_cast<long long>(range.maximum)));
}

double ReadTimingNumber(const QString& file, const QString& key, const QString& defaultValue) {
    return ParseLeadingNumber(ReadIniValue(file, timing, key, defaultValue));
}

// Unlike the other settings, the whole text must be a number; anything else counts as the default 2.
int ReadLetterSpaceTenths(const QString& file) {
    const double dotLengths = ParseNumber(ReadIniValue(file, timing, "LetterSpace", "2")).value_or(2.0);
    return NearestInRange((dotLengths - 1.0) * 10.0, letterSpaceRange);
}

bool ReadMode(const QString& file, const QString& key, const QString& chosenText) {
    return ReadIniValue(file, modes, key, chosenText) == chosenText;
}

QString MessageKey(int number) {
    return QStringLiteral("M%1").arg(number);
}

QString PieceKey(int number, int piece) {
    return QStringLiteral("M%1,%2").arg(number).arg(piece);
}

QString TitleKey(int number) {
    return QStringLiteral("Title%1").arg(number);
}

bool EndsWithMarker(QStringView piece) {
    return piece.size() >= 2 && piece.back() == pieceEndMarker && IsBlank(piece[piece.size() - 2]);
}

QString StoredPiece(QStringView piece) {
    return IsBlank(piece.back()) ? piece.toString() + pieceEndMarker : piece.toString();
}

QString PieceText(QString stored) {
    if (EndsWithMarker(stored)) stored.chop(1);
    return stored;
}

void ReplaceLineBreaks(QString& text) {
    text.replace(u'\r', u' ').replace(u'\n', u' ');
}

QString WithShortenedBlankRuns(const QString& text) {
    QString result;
    qsizetype run = 0;
    for (const QChar character : text) {
        run = IsBlank(character) ? run + 1 : 0;
        if (run <= longestBlankRun) result += character;
    }
    return result;
}

QStringView WithoutLeadingBlanks(QStringView text) {
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.sliced(1);
    return text;
}

// A piece may end at cut when the next piece starts there with a non-blank (and not inside a surrogate
// pair), the piece as stored fits, and its own last "*" cannot be taken for the marker.
bool IsPieceEnd(QStringView text, qsizetype start, qsizetype cut) {
    if (IsBlank(text[cut]) || (text[cut].isLowSurrogate() && text[cut - 1].isHighSurrogate())) return false;
    const QStringView piece = text.sliced(start, cut - start);
    return StoredPiece(piece).size() <= pieceLength && !EndsWithMarker(piece);
}

// The latest possible end of the piece starting at start. With blank runs shortened and start on a
// non-blank, a piece of one character plus the blanks after it always qualifies, so the search ends
// at a valid cut.
qsizetype PieceEnd(QStringView text, qsizetype start) {
    qsizetype cut = start + pieceLength;
    while (cut > start + 1 && !IsPieceEnd(text, start, cut))
        --cut;
    return cut;
}

// The message as it goes into the file: the stored pieces, the last of them for M<n>.
QStringList SplitIntoPieces(QStringView text) {
    QStringList pieces;
    qsizetype start = 0;
    while (text.size() - start > pieceLength) {
        const qsizetype end = PieceEnd(text, start);
        pieces.append(StoredPiece(text.sliced(start, end - start)));
        start = end;
    }
    pieces.append(text.sliced(start).toString());
    return pieces;
}

// Nothing when the piece key is missing; a present value is trimmed, so it never reads as a lone blank.
std::optional<QString> ReadStoredPiece(const QString& file, int number, int piece) {
    const QString missing = QStringLiteral(" ");
    const QString stored = ReadIniValue(file, messagesSection, PieceKey(number, piece), missing);
    if (stored == missing) return std::nullopt;
    return stored;
}

void RemovePieceKeysFrom(const QString& file, int number, int firstPiece) {
    for (int piece = firstPiece; ReadStoredPiece(file, number, piece); ++piece)
        DeleteIniValue(file, messagesSection, PieceKey(number, piece));
}

void Write(const QString& file, const QString& section, const QString& key, QString value) {
    WriteIniValue(file, section, key, value);
}

void WriteSentNumber(const QString& file, const QString& key, int value) {
    Write(file, timing, key, WithLeadingBlank(value));
}

void WriteMode(const QString& file, const QString& key, bool chosen, const QString& chosenText,
               const QString& otherText) {
    Write(file, modes, key, chosen ? chosenText : otherText);
}

void WriteTiming(const QString& file, ProfileSave& profile) {
    WriteSentNumber(file, "Speed", profile.sentSpeed);
    WriteSentNumber(file, "Weight", profile.sentWeight);
    WriteSentNumber(file, "Tone", profile.sentToneHertz);
    WriteSentNumber(file, "Volume", profile.sentVolume);
    WriteIniValue(file, timing, "WordSpace", profile.wordSpaceText);
    WriteIniValue(file, timing, "LetterSpace", profile.letterSpaceText);
}

void WriteModes(const QString& file, const ProfileSave& profile) {
    WriteMode(file, "Iambic", profile.iambic, "ON", "OFF");
    WriteMode(file, "DotMemory", profile.dotMemory, "ON", "OFF");
    WriteMode(file, "DashMemory", profile.dashMemory, "ON", "OFF");
    WriteMode(file, "RLPaddles", profile.rightHand, "RIGHT", "LEFT");
}

void WriteIdentity(const QString& file, ProfileSave& profile) {
    WriteIniValue(file, operatorSection, "MyCall", profile.myCall);
    WriteIniValue(file, operatorSection, "Name", profile.name);
    WriteIniValue(file, operatorSection, "QTH", profile.qth);
}

void WriteMessages(const QString& file, ProfileSave& profile) {
    for (int number = 1; number <= storedMessageCount; ++number) {
        WriteStoredMessage(file, number, profile.messages[number - 1]);
        WriteIniValue(file, messagesSection, TitleKey(number), profile.titles[number - 1]);
    }
}

} // namespace

ProfileData ReadProfile(const QString& file) {
    ProfileData profile;
    profile.speed = NearestInRange(ReadTimingNumber(file, "Speed", "25"), speedRange);
    profile.weight = NearestInRange(ReadTimingNumber(file, "Weight", "50"), weightRange);
    profile.wordSpaceTenths = NearestInRange(ReadTimingNumber(file, "WordSpace", "8") * 10.0, wordSpaceRange);
    profile.letterSpaceTenths = ReadLetterSpaceTenths(file);
    profile.volume = NearestInRange(ReadTimingNumber(file, "Volume", "8"), volumeRange);
    profile.toneTens = NearestInRange(ReadTimingNumber(file, "Tone", "680") / 10.0, toneRange);
    profile.iambic = ReadMode(file, "Iambic", "ON");
    profile.dotMemory = ReadMode(file, "DotMemory", "ON");
    profile.dashMemory = ReadMode(file, "DashMemory", "ON");
    profile.rightHand = ReadMode(file, "RLPaddles", "RIGHT");
    profile.myCall = ReadIniValue(file, operatorSection, "MyCall", "");
    profile.name = ReadIniValue(file, operatorSection, "Name", "");
    profile.qth = ReadIniValue(file, operatorSection, "QTH", "");
    for (int number = 1; number <= storedMessageCount; ++number) {
        profile.messages[number - 1] = ReadStoredMessage(file, number);
        profile.titles[number - 1] = ReadIniValue(file, messagesSection, TitleKey(number), "--");
    }
    return profile;
}

void WriteProfile(const QString& file, ProfileSave& profile) {
    if (file.isEmpty()) return;
    WriteTiming(file, profile);
    WriteModes(file, profile);
    WriteIdentity(file, profile);
    WriteMessages(file, profile);
}

void WriteStoredMessage(const QString& file, int number, QString& text) {
    if (file.isEmpty()) return;
    ReplaceLineBreaks(text);
    if (text.size() > pieceLength) text = WithShortenedBlankRuns(text);
    QStringList pieces = SplitIntoPieces(WithoutLeadingBlanks(text));
    QString rest = pieces.takeLast();
    for (int piece = 1; piece <= pieces.size(); ++piece)
        WriteIniValue(file, messagesSection, PieceKey(number, piece), pieces[piece - 1]);
    WriteIniValue(file, messagesSection, MessageKey(number), rest);
    RemovePieceKeysFrom(file, number, pieces.size() + 1);
}

QString ReadStoredMessage(const QString& file, int number) {
    QString text;
    for (int piece = 1; const auto stored = ReadStoredPiece(file, number, piece); ++piece)
        text += PieceText(*stored);
    return text + ReadIniValue(file, messagesSection, MessageKey(number), "");
}

bool IsProtectedProfilePath(const QString& path) {
    return path.toUpper().contains(QStringLiteral("OPERATOR.INI"));
}
