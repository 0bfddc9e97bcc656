#include "profile/ProfileFile.h"

#include "platform/NumberText.h"
#include "profile/IniFile.h"
#include "profile/SettingRanges.h"
#include "profile/SettingText.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace {

const QString TimingSection = QStringLiteral("Timing");
const QString ModesSection = QStringLiteral("Modes");
const QString OperatorSectionName = QStringLiteral("Operator");
const QString MessagesSection = QStringLiteral("Messages");

// The longest text one key may take: a read returns at most 254 characters, and the message editor
// has always cut at 250.
constexpr qsizetype PieceLength = 250;
// A piece must hold a character (up to two UTF-16 units) before a run of blanks and the "*" after it.
constexpr qsizetype LongestBlankRun = PieceLength - 3;
constexpr QChar PieceEndMarker = u'*';

// What an operator profile holds somewhere, in these letter cases.
constexpr std::array<const char*, 4> OperatorMarkers{"[Operator]", "MyCall=", "Name=", "QTH="};

// Twelve messages at the limit must fit in a new file (MaxIniFileBytes) whatever they hold. A character
// takes at most 3 bytes of UTF-8 (a surrogate pair 4 for two); at worst each piece holds one, with its
// key ("M12,80000="), a marker and a line end. The rest of a profile takes a few KiB.
constexpr qsizetype WorstBytesPerStoredCharacter = 3 + 10 + 1 + 2;
static_assert(MessageCount * MaxMessageLength * WorstBytesPerStoredCharacter <
              MaxIniFileBytes - qsizetype{64} * 1024);

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
    return ParseLeadingNumber(Read(document, TimingSection, key, defaultValue));
}

// Unlike the other settings, the whole text must be a number; anything else counts as the default 2.
int ReadLetterSpaceTenths(const IniDocument& document) {
    const double dotLengths = ParseNumber(Read(document, TimingSection, "LetterSpace", "2")).value_or(2.0);
    return NearestInRange((dotLengths - 1.0) * 10.0, LetterSpaceRange);
}

bool ReadMode(const IniDocument& document, const QString& key, const QString& chosenText) {
    return Read(document, ModesSection, key, chosenText) == chosenText;
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
    return piece.size() >= 2 && piece.back() == PieceEndMarker && IsBlank(piece[piece.size() - 2]);
}

QString StoredPiece(QStringView piece) {
    return IsBlank(piece.back()) ? piece.toString() + PieceEndMarker : piece.toString();
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
        if (run <= LongestBlankRun) result += character;
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
    return piece.size() + (IsBlank(piece.back()) ? 1 : 0) <= PieceLength && !EndsWithMarker(piece);
}

// The latest possible end of the piece starting at start. With blank runs shortened and start on a
// non-blank, a piece of one character plus the blanks after it always qualifies, so the search ends
// at a valid cut.
qsizetype PieceEnd(QStringView text, qsizetype start) {
    qsizetype cut = start + PieceLength;
    while (cut > start + 1 && !IsPieceEnd(text, start, cut))
        --cut;
    return cut;
}

// The message as it goes into the file: the stored pieces, the last of them for M<n>.
QStringList SplitIntoPieces(QStringView text) {
    QStringList pieces;
    qsizetype start = 0;
    while (text.size() - start > PieceLength) {
        const qsizetype end = PieceEnd(text, start);
        pieces.append(StoredPiece(text.sliced(start, end - start)));
        start = end;
    }
    pieces.append(text.sliced(start).toString());
    return pieces;
}

QStringList PieceKeysFrom(const IniDocument& document, int number, int firstPiece) {
    QStringList keys;
    for (int piece = firstPiece; document.Value(MessagesSection, PieceKey(number, piece)); ++piece)
        keys.append(PieceKey(number, piece));
    return keys;
}

void PutNumber(IniDocument& document, const QString& key, int value) {
    document.SetValue(TimingSection, key, WithLeadingBlank(value));
}

void PutText(IniDocument& document, const QString& section, const QString& key, QString& value) {
    ReplaceLineBreaks(value);
    document.SetValue(section, key, value);
}

void PutMode(IniDocument& document, const QString& key, bool chosen, const QString& chosenText,
             const QString& otherText) {
    document.SetValue(ModesSection, key, chosen ? chosenText : otherText);
}

void ReadTiming(const IniDocument& document, ProfileValues& profile) {
    KeyerTiming& t = profile.timing;
    t.speed = NearestInRange(ReadTimingNumber(document, "Speed", "25"), SpeedRange);
    t.weight = NearestInRange(ReadTimingNumber(document, "Weight", "50"), WeightRange);
    t.wordSpaceTenths = NearestInRange(ReadTimingNumber(document, "WordSpace", "8") * 10.0, WordSpaceRange);
    t.letterSpaceTenths = ReadLetterSpaceTenths(document);
    t.volume = NearestInRange(ReadTimingNumber(document, "Volume", "8"), VolumeRange);
    t.toneTens = NearestInRange(ReadTimingNumber(document, "Tone", "680") / 10.0, ToneRange);
}

void PutTiming(IniDocument& document, ProfileValues& profile) {
    const KeyerTiming& t = profile.timing;
    PutNumber(document, "Speed", t.speed);
    PutNumber(document, "Weight", t.weight);
    PutNumber(document, "Tone", t.toneTens * 10);
    PutNumber(document, "Volume", t.volume);
    document.SetValue(TimingSection, "WordSpace", DisplayText(Setting::WordSpace, t.wordSpaceTenths));
    document.SetValue(TimingSection, "LetterSpace", DisplayText(Setting::LetterSpace, t.letterSpaceTenths));
}

void ReadModes(const IniDocument& document, ProfileValues& profile) {
    profile.paddles = {ReadMode(document, "Iambic", "ON"), ReadMode(document, "DotMemory", "ON"),
                       ReadMode(document, "DashMemory", "ON"), ReadMode(document, "RLPaddles", "RIGHT")};
}

void PutModes(IniDocument& document, ProfileValues& profile) {
    const PaddleFeatures& paddles = profile.paddles;
    PutMode(document, "Iambic", paddles.iambic, "ON", "OFF");
    PutMode(document, "DotMemory", paddles.dotMemory, "ON", "OFF");
    PutMode(document, "DashMemory", paddles.dashMemory, "ON", "OFF");
    PutMode(document, "RLPaddles", paddles.rightHand, "RIGHT", "LEFT");
}

void ReadIdentity(const IniDocument& document, ProfileValues& profile) {
    profile.identity = {Read(document, OperatorSectionName, "MyCall", ""),
                        Read(document, OperatorSectionName, "Name", ""),
                        Read(document, OperatorSectionName, "QTH", "")};
}

void PutIdentity(IniDocument& document, ProfileValues& profile) {
    OperatorIdentity& identity = profile.identity;
    PutText(document, OperatorSectionName, "MyCall", identity.myCall);
    PutText(document, OperatorSectionName, "Name", identity.name);
    PutText(document, OperatorSectionName, "QTH", identity.qth);
}

void ReadMessages(const IniDocument& document, ProfileValues& profile) {
    for (int number = 1; number <= MessageCount; ++number) {
        profile.messages[number - 1] = StoredMessage(document, number);
        profile.titles[number - 1] = Read(document, MessagesSection, TitleKey(number), "--");
    }
}

void PutMessages(IniDocument& document, ProfileValues& profile) {
    for (int number = 1; number <= MessageCount; ++number) {
        PutStoredMessage(document, number, profile.messages[number - 1]);
        PutText(document, MessagesSection, TitleKey(number), profile.titles[number - 1]);
    }
}

void ReadContest(const IniDocument& document, ProfileValues& profile) {
    profile.contest = ReadContestSection(document).settings;
}

void PutContest(IniDocument& document, ProfileValues& profile) {
    PutContestSection(document, profile.contest);
}

// The parts of a profile, each read from and written to its section, in the order a new file lists
// them. A per-operator value of a new kind is a part of its own: a member of ProfileValues and a row.
struct Part {
    void (*read)(const IniDocument&, ProfileValues&);
    void (*put)(IniDocument&, ProfileValues&);
};
constexpr Part ProfileParts[] = {{ReadTiming, PutTiming},
                                 {ReadModes, PutModes},
                                 {ReadIdentity, PutIdentity},
                                 {ReadMessages, PutMessages},
                                 {ReadContest, PutContest}};

QString SerialDamagedProblem(const QString& file) {
    return QStringLiteral("The operator profile\n%1\nholds no serial number that can be read; the count "
                          "goes on from 1. Set the number beside the worked call if it should be another.")
        .arg(QDir::toNativeSeparators(file));
}

QString ReadProblem(const QString& file, const QString& problem) {
    return QStringLiteral("The operator profile\n%1\ncannot be read: %2.\n\nThe file is left as it is. "
                          "The default settings are in use, and they will not be saved into it.")
        .arg(QDir::toNativeSeparators(file), problem);
}

ProfileProblem SaveProblem(const QString& file, const FileProblem& problem) {
    if (!problem) return std::nullopt;
    return QStringLiteral("The operator profile\n%1\nwas not saved: %2.\n\nThe file is as it was before.")
        .arg(QDir::toNativeSeparators(file), *problem);
}

FileProblem Refusal(const QString& file, const IniDocument& document, ProfileWrite how) {
    if (!IniFileExists(file)) {
        if (how == ProfileWrite::Replace) return QStringLiteral("it is not there any more");
        return std::nullopt;
    }
    if (how == ProfileWrite::Create) return QStringLiteral("a file of that name is there already");
    if (!IsOperatorProfile(document)) return QStringLiteral("that file is not an operator profile");
    return std::nullopt;
}

// Loads the file, makes the change in memory and writes the file once, unless it could not be read or
// may not be written. The change is made in any case, so the caller's texts are cleaned alike.
ProfileProblem Change(const QString& file, ProfileWrite how,
                      const std::function<void(IniDocument&)>& change) {
    const bool nowhere = NamesNoProfile(file);
    IniLoad load = nowhere ? IniLoad{} : LoadIniFile(file);
    const FileProblem refused = nowhere || load.problem ? load.problem : Refusal(file, load.document, how);
    change(load.document);
    if (nowhere) return std::nullopt;
    return SaveProblem(file, refused ? refused : SaveIniFile(file, load.document));
}

// Cut where a whole character ends.
bool CutToMessageLimit(QString& text) {
    if (text.size() <= MaxMessageLength) return false;
    text.truncate(text.at(MaxMessageLength - 1).isHighSurrogate() ? MaxMessageLength - 1 : MaxMessageLength);
    return true;
}

ProfileProblem CutLongMessages(const QString& file, MessageSlots& messages) {
    QStringList cut;
    for (int number = 1; number <= MessageCount; ++number) {
        if (CutToMessageLimit(messages[number - 1])) cut << QString::number(number);
    }
    if (cut.isEmpty()) return std::nullopt;
    return QStringLiteral(
               "The operator profile\n%1\nholds a message longer than a profile keeps (message %2). "
               "Only its first %3 characters are in use, and only they will be saved; the file "
               "keeps the whole message until the profile is saved.")
        .arg(QDir::toNativeSeparators(file), cut.join(QStringLiteral(", ")))
        .arg(MaxMessageLength);
}

} // namespace

ProfileValues ProfileFromDocument(const IniDocument& document) {
    ProfileValues profile;
    for (const Part& part : ProfileParts)
        part.read(document, profile);
    return profile;
}

bool IsOperatorFile(const QByteArray& text) {
    return std::all_of(OperatorMarkers.begin(), OperatorMarkers.end(),
                       [&](const char* marker) { return text.contains(marker); });
}

bool IsOperatorProfile(const IniDocument& document) {
    return std::all_of(OperatorMarkers.begin(), OperatorMarkers.end(),
                       [&](const char* marker) { return document.LineHolds(marker); });
}

bool HoldsOperatorProfile(const QString& file) {
    const IniLoad load = LoadIniFile(file);
    return !load.problem && IsOperatorProfile(load.document);
}

bool NamesNoProfile(const QString& file) {
    return file.isEmpty() || file.endsWith(u'/');
}

ProfileRead ReadProfile(const QString& file) {
    if (NamesNoProfile(file)) return {};
    const IniLoad load = LoadIniFile(file);
    if (load.problem) return {{}, ReadProblem(file, *load.problem)};
    if (!IniFileExists(file)) return {};
    ProfileRead read{ProfileFromDocument(load.document), std::nullopt, IsOperatorProfile(load.document)};
    read.problem = CutLongMessages(file, read.profile.messages);
    if (!read.writable)
        read.problem = QStringLiteral("The file\n%1\nis not an operator profile: it lacks \"[Operator]\", "
                                      "\"MyCall=\", \"Name=\" or \"QTH=\".\n\nIts settings are in use, but "
                                      "they will not be saved into it.")
                           .arg(QDir::toNativeSeparators(file));
    if (ReadContestSection(load.document).serialDamaged)
        read.problem = (read.problem ? *read.problem + "\n\n" : QString()) + SerialDamagedProblem(file);
    return read;
}

QString UnloadedProfileProblem(const QString& file) {
    if (NamesNoProfile(file))
        return QStringLiteral("No operator is chosen, so the settings and messages in use are not saved.");
    return QStringLiteral("The operator profile\n%1\nwas not saved: the settings in use were not loaded "
                          "from it, so it is left as it is.")
        .arg(QDir::toNativeSeparators(file));
}

void PutProfile(IniDocument& document, ProfileValues& profile) {
    for (const Part& part : ProfileParts)
        part.put(document, profile);
}

ProfileProblem WriteProfile(const QString& file, ProfileValues& profile, ProfileWrite how) {
    return Change(file, how, [&](IniDocument& document) { PutProfile(document, profile); });
}

ProfileProblem StoreContestSettings(const QString& file, const ContestSettings& settings) {
    return Change(file, ProfileWrite::Replace,
                  [&](IniDocument& document) { PutContestSection(document, settings); });
}

ProfileProblem StoreMessage(const QString& file, int number, QString& text, QString& title) {
    return Change(file, ProfileWrite::Replace, [&](IniDocument& document) {
        PutText(document, MessagesSection, TitleKey(number), title);
        PutStoredMessage(document, number, text);
    });
}

void PutStoredMessage(IniDocument& document, int number, QString& text) {
    CutToMessageLimit(text);
    ReplaceLineBreaks(text);
    if (text.size() > PieceLength) text = WithShortenedBlankRuns(text);
    QStringList pieces = SplitIntoPieces(WithoutLeadingBlanks(text));
    const QString rest = pieces.takeLast();
    for (int piece = 1; piece <= pieces.size(); ++piece)
        document.SetValue(MessagesSection, PieceKey(number, piece), pieces[piece - 1]);
    document.SetValue(MessagesSection, MessageKey(number), rest);
    document.RemoveKeys(MessagesSection,
                        PieceKeysFrom(document, number, static_cast<int>(pieces.size()) + 1));
}

QString StoredMessage(const IniDocument& document, int number) {
    QString text;
    for (int piece = 1; const auto stored = document.Value(MessagesSection, PieceKey(number, piece)); ++piece)
        text += PieceText(*stored);
    return text + document.Value(MessagesSection, MessageKey(number)).value_or(QString());
}

bool IsProtectedProfilePath(const QString& path) {
    return path.toUpper().contains(QStringLiteral("OPERATOR.INI"));
}
