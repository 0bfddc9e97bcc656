#include "profile/ProfileFile.h"

#include "platform/NumberText.h"
#include "profile/IniFile.h"
#include "profile/SettingRanges.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <functional>
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

// Every key but the messages keeps the 254-character limit of private-profile values.
QString Read(const IniDocument& document, const QString& section, const QString& key,
             const QString& defaultValue) {
    return CutIniValue(document.Value(section, key), defaultValue);
}

double ReadTimingNumber(const IniDocument& document, const QString& key, const QString& defaultValue) {
    return ParseLeadingNumber(Read(document, timing, key, defaultValue));
}

// Unlike the other settings, the whole text must be a number; anything else counts as the default 2.
int ReadLetterSpaceTenths(const IniDocument& document) {
    const double dotLengths = ParseNumber(Read(document, timing, "LetterSpace", "2")).value_or(2.0);
    return NearestInRange((dotLengths - 1.0) * 10.0, letterSpaceRange);
}

bool ReadMode(const IniDocument& document, const QString& key, const QString& chosenText) {
    return Read(document, modes, key, chosenText) == chosenText;
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
// pair), the piece as stored (a "*" added after a blank) fits, and its own last "*" cannot be taken
// for the marker.
bool IsPieceEnd(QStringView text, qsizetype start, qsizetype cut) {
    if (IsBlank(text[cut]) || (text[cut].isLowSurrogate() && text[cut - 1].isHighSurrogate())) return false;
    const QStringView piece = text.sliced(start, cut - start);
    return piece.size() + (IsBlank(piece.back()) ? 1 : 0) <= pieceLength && !EndsWithMarker(piece);
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

QStringList PieceKeysFrom(const IniDocument& document, int number, int firstPiece) {
    QStringList keys;
    for (int piece = firstPiece; document.Value(messagesSection, PieceKey(number, piece)); ++piece)
        keys.append(PieceKey(number, piece));
    return keys;
}

void PutSentNumber(IniDocument& document, const QString& key, int value) {
    document.SetValue(timing, key, WithLeadingBlank(value));
}

void PutText(IniDocument& document, const QString& section, const QString& key, QString& value) {
    ReplaceLineBreaks(value);
    document.SetValue(section, key, value);
}

void PutMode(IniDocument& document, const QString& key, bool chosen, const QString& chosenText,
             const QString& otherText) {
    document.SetValue(modes, key, chosen ? chosenText : otherText);
}

void PutTiming(IniDocument& document, ProfileSave& profile) {
    PutSentNumber(document, "Speed", profile.sentSpeed);
    PutSentNumber(document, "Weight", profile.sentWeight);
    PutSentNumber(document, "Tone", profile.sentToneHertz);
    PutSentNumber(document, "Volume", profile.sentVolume);
    PutText(document, timing, "WordSpace", profile.wordSpaceText);
    PutText(document, timing, "LetterSpace", profile.letterSpaceText);
}

void PutModes(IniDocument& document, const ProfileSave& profile) {
    PutMode(document, "Iambic", profile.iambic, "ON", "OFF");
    PutMode(document, "DotMemory", profile.dotMemory, "ON", "OFF");
    PutMode(document, "DashMemory", profile.dashMemory, "ON", "OFF");
    PutMode(document, "RLPaddles", profile.rightHand, "RIGHT", "LEFT");
}

void PutIdentity(IniDocument& document, ProfileSave& profile) {
    PutText(document, operatorSection, "MyCall", profile.myCall);
    PutText(document, operatorSection, "Name", profile.name);
    PutText(document, operatorSection, "QTH", profile.qth);
}

void PutMessages(IniDocument& document, ProfileSave& profile) {
    for (int number = 1; number <= storedMessageCount; ++number) {
        PutStoredMessage(document, number, profile.messages[number - 1]);
        PutText(document, messagesSection, TitleKey(number), profile.titles[number - 1]);
    }
}

ProfileProblem ReadProblem(const QString& file, const FileProblem& problem) {
    if (!problem) return std::nullopt;
    return QStringLiteral("The operator profile\n%1\ncannot be read: %2.\n\nThe file is left as it is. "
                          "The default settings are in use, and they will not be saved into it.")
        .arg(QDir::toNativeSeparators(file), *problem);
}

ProfileProblem SaveProblem(const QString& file, const FileProblem& problem) {
    if (!problem) return std::nullopt;
    return QStringLiteral("The operator profile\n%1\nwas not saved: %2.\n\nThe file is as it was before.")
        .arg(QDir::toNativeSeparators(file), *problem);
}

// Empty, or a folder ending in a separator: the state with no operator chosen.
bool NamesNoProfile(const QString& file) {
    return file.isEmpty() || file.endsWith(u'/');
}

// Loads the file, makes the change in memory and writes the file once, unless it could not be read.
ProfileProblem Change(const QString& file, const std::function<void(IniDocument&)>& change) {
    IniLoad load = NamesNoProfile(file) ? IniLoad{} : LoadIniFile(file);
    change(load.document);
    if (NamesNoProfile(file)) return std::nullopt;
    return SaveProblem(file, load.problem ? load.problem : SaveIniFile(file, load.document));
}

} // namespace

ProfileData ProfileFromDocument(const IniDocument& document) {
    ProfileData profile;
    profile.speed = NearestInRange(ReadTimingNumber(document, "Speed", "25"), speedRange);
    profile.weight = NearestInRange(ReadTimingNumber(document, "Weight", "50"), weightRange);
    profile.wordSpaceTenths =
        NearestInRange(ReadTimingNumber(document, "WordSpace", "8") * 10.0, wordSpaceRange);
    profile.letterSpaceTenths = ReadLetterSpaceTenths(document);
    profile.volume = NearestInRange(ReadTimingNumber(document, "Volume", "8"), volumeRange);
    profile.toneTens = NearestInRange(ReadTimingNumber(document, "Tone", "680") / 10.0, toneRange);
    profile.iambic = ReadMode(document, "Iambic", "ON");
    profile.dotMemory = ReadMode(document, "DotMemory", "ON");
    profile.dashMemory = ReadMode(document, "DashMemory", "ON");
    profile.rightHand = ReadMode(document, "RLPaddles", "RIGHT");
    profile.myCall = Read(document, operatorSection, "MyCall", "");
    profile.name = Read(document, operatorSection, "Name", "");
    profile.qth = Read(document, operatorSection, "QTH", "");
    for (int number = 1; number <= storedMessageCount; ++number) {
        profile.messages[number - 1] = StoredMessage(document, number);
        profile.titles[number - 1] = Read(document, messagesSection, TitleKey(number), "--");
    }
    return profile;
}

ProfileRead ReadProfile(const QString& file) {
    const IniLoad load = NamesNoProfile(file) ? IniLoad{} : LoadIniFile(file);
    return {ProfileFromDocument(load.document), ReadProblem(file, load.problem)};
}

void PutProfile(IniDocument& document, ProfileSave& profile) {
    PutTiming(document, profile);
    PutModes(document, profile);
    PutIdentity(document, profile);
    PutMessages(document, profile);
}

ProfileProblem WriteProfile(const QString& file, ProfileSave& profile) {
    return Change(file, [&](IniDocument& document) { PutProfile(document, profile); });
}

ProfileProblem StoreMessage(const QString& file, int number, QString& text, QString& title) {
    return Change(file, [&](IniDocument& document) {
        PutText(document, messagesSection, TitleKey(number), title);
        PutStoredMessage(document, number, text);
    });
}

void PutStoredMessage(IniDocument& document, int number, QString& text) {
    ReplaceLineBreaks(text);
    if (text.size() > pieceLength) text = WithShortenedBlankRuns(text);
    QStringList pieces = SplitIntoPieces(WithoutLeadingBlanks(text));
    const QString rest = pieces.takeLast();
    for (int piece = 1; piece <= pieces.size(); ++piece)
        document.SetValue(messagesSection, PieceKey(number, piece), pieces[piece - 1]);
    document.SetValue(messagesSection, MessageKey(number), rest);
    document.RemoveKeys(messagesSection, PieceKeysFrom(document, number, pieces.size() + 1));
}

QString StoredMessage(const IniDocument& document, int number) {
    QString text;
    for (int piece = 1; const auto stored = document.Value(messagesSection, PieceKey(number, piece)); ++piece)
        text += PieceText(*stored);
    return text + document.Value(messagesSection, MessageKey(number)).value_or(QString());
}

bool IsProtectedProfilePath(const QString& path) {
    return path.toUpper().contains(QStringLiteral("OPERATOR.INI"));
}
