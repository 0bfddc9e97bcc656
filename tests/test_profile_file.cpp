#include "FileHelpers.h"
#include "profile/ContestSettings.h"
#include "profile/Farnsworth.h"
#include "profile/IniFile.h"
#include "profile/ProfileFile.h"
#include "profile/SettingText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The lines of a message's keys exactly as they stand in the file, blanks included; pieces first.
QStringList RawMessageLines(const IniDocument& document, int number) {
    const QRegularExpression keyLine(QStringLiteral("^M%1(,\\d+)?=").arg(number));
    QStringList lines = QString::fromUtf8(document.FileBytes()).split("\r\n").filter(keyLine);
    lines.sort();
    return lines;
}

// Timing, the four modes as 0 or 1, then call, name and QTH.
QString Summary(const ProfileValues& profile) {
    const KeyerTiming& t = profile.timing;
    const PaddleFeatures& p = profile.paddles;
    return QString::asprintf("%d %d %d %d %d %d %d%d%d%d ", t.speed, t.weight, t.wordSpaceTenths,
                             t.letterSpaceTenths, t.volume, t.toneTens, p.iambic, p.dotMemory, p.dashMemory,
                             p.rightHand) +
           QStringList{profile.identity.myCall, profile.identity.name, profile.identity.qth}.join('|');
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;

private slots:
    void init() {
        path = dir.filePath("N0CALL.ini");
        QFile::remove(path);
    }

    // CR and LF become blanks in the file and in the saved texts too.
    void writesEveryKeyInOrderAndReadsItBack() {
        ProfileValues save;
        save.timing = {37, 62, 95, 21, 100, 113};
        save.paddles.iambic = save.paddles.dashMemory = false;
        save.identity = {"N0CALL", "Ann", "Oslo\nNorway"};
        save.messages[0] = "CQ\r\nDE N0CALL *";
        save.titles[0] = "";
        save.contest = {1234, true, CutNumbers::ZeroNineOne};
        WriteProfile(path, save, ProfileWrite::Create);
        QByteArray expected =
            "[Timing]\r\nSpeed= 37\r\nWeight= 62\r\nTone= 1130\r\nVolume= 100\r\nWordSpace= 9.5\r\n"
            "LetterSpace= 3.1\r\n[Modes]\r\nIambic=OFF\r\nDotMemory=ON\r\nDashMemory=OFF\r\n"
            "RLPaddles=RIGHT\r\n[Operator]\r\nMyCall=N0CALL\r\nName=Ann\r\nQTH=Oslo Norway\r\n"
            "[Messages]\r\nM1=CQ  DE N0CALL *\r\nTitle1=\r\n";
        for (int number = 2; number <= MessageCount; ++number)
            expected += QStringLiteral("M%1=\r\nTitle%1=--\r\n").arg(number).toUtf8();
        QCOMPARE(Bytes(path), expected + "[Contest]\r\nSerial=1234\r\nSerialSent=YES\r\nCutNumbers=TNA\r\n");
        QVERIFY(save.identity.qth == "Oslo Norway" && save.messages[0] == "CQ  DE N0CALL *");
        QVERIFY(ReadProfile(path).profile == save);
    }

    // Missing keys read as their defaults; numbers are held within their controls' ranges; modes take only
    // the exact texts "ON" and "RIGHT"; section and key names match in any case.
    void readsSettingsWithinTheirRanges() {
        const std::pair<QByteArray, QString> files[] = {
            {"[Operator]\nMyCall=N0CALL\n[modes]\niambic= ON \nDotMemory=on\nDASHMEMORY=Off\nRLPaddles=Right",
             "25 50 80 10 8 68 1000 N0CALL||"},
            // Tone 68.5 and letter space 1.25 go to the even neighbours; this number form has no exponent.
            {"[Timing]\nSpeed=99\nWeight=1e300\nWordSpace= 2\nLetterSpace=1.25\nVolume=101\nTone= 685",
             "50 30 30 2 100 68 1111 ||"},
            // No leading number reads as 0; the letter space alone must be a whole number, else its default.
            {"[Timing]\nSpeed=fast\nWeight=9999999999\nWordSpace=6.25\nLetterSpace=3x\nTone= 695",
             "5 70 62 10 8 70 1111 ||"},
            {"[Timing]\nSpeed= 12.5wpm\nWordSpace=50\nLetterSpace=25\nTone=9999",
             "12 50 200 90 8 140 1111 ||"}};
        for (const auto& [bytes, summary] : files) {
            Put(path, bytes);
            QCOMPARE(Summary(ReadProfile(path).profile), summary);
        }
    }

    // A whole number from 1 up in plain digits is a serial number, held to the box's nine digits; an
    // empty or missing one is the first; anything else is damaged, reads as 1 and is said. Other keys
    // take only their exact texts. Contest section, then serial, sent, cut numbers and whether said:
    void readsTheContestSection() {
        const std::pair<QByteArray, QString> cases[] = {
            {"", "1 0 0 0"},
            {"Serial=\nSerialSent=yes\nCutNumbers=tn", "1 0 0 0"},
            {"Serial=007\nSerialSent=YES\nCutNumbers=TN", "7 1 1 0"},
            {"Serial=1000000000\nCutNumbers=TNA", "999999999 0 2 0"},
            {"Serial=2147483647", "999999999 0 0 0"},
            {"Serial=0", "1 0 0 1"},
            {"Serial=-5", "1 0 0 1"},
            {"Serial=+5", "1 0 0 1"},
            {"Serial=5.0", "1 0 0 1"},
            {"Serial=12a", "1 0 0 1"},
            {"Serial=2147483648", "1 0 0 1"},
            {"Serial=\u0663", "1 0 0 1"}};
        for (const auto& [section, expected] : cases) {
            Put(path, "[Operator]\nMyCall=\nName=\nQTH=\n[Contest]\n" + section);
            const ProfileRead read = ReadProfile(path);
            const ContestSettings& c = read.profile.contest;
            QCOMPARE(QString::asprintf("%d %d %d %d", c.serial, c.serialSent, int(c.cutNumbers),
                                       read.problem.value_or("").contains("no serial number")),
                     expected);
        }
    }

    // By hand: u = (60c - 37.2s) / (1.2s x 19) dots; letter space 3u - 1, word space 7u - 1, in tenths,
    // whole from 10 up; the letter space control holds it less one.
    void computesFarnsworthSpacing() {
        // Character and effective speed: word space and letter space controls, and whether reached.
        const std::tuple<int, int, QString> cases[] = {
            {25, 25, "60 10 1"},  // u = 1: the standard gaps
            {30, 25, "97 26 1"},  // u = 870 / 570 = 1.526: 3.58 and 9.68
            {25, 15, "180 63 1"}, // u = 942 / 342 = 2.754: 7.26 and 18.28
            // Held: u = 828 / 228 = 3.632 gives 9.89 and 24.42; u = 11.53 gives 33.6 and 79.7.
            {20, 10, "200 89 0"},
            {25, 5, "200 90 0"},
            // No faster than the characters, no slower than 1 (u = 11.53 again at 5 and 1).
            {20, 30, "60 10 0"},
            {0, 0, "200 90 0"},
        };
        for (const auto& [characterWpm, effectiveWpm, expected] : cases) {
            const FarnsworthSpacing f = SpacingForEffectiveSpeed(characterWpm, effectiveWpm);
            QCOMPARE(QString::asprintf("%d %d %d", f.wordSpaceTenths, f.letterSpaceTenths, f.reached),
                     expected);
        }
    }

    // A typed number goes to its control's step and range; from 10 dot lengths up a spacing is whole.
    void typedSettingsTakeTheControlsSteps() {
        const auto typed = [](Setting setting, const char* text) {
            return ValueForTyped(setting, QString::fromLatin1(text)).value_or(-1);
        };
        using S = Setting;
        QCOMPARE(
            (QList<int>{typed(S::Speed, "3"), typed(S::Speed, " 51 "), typed(S::Tone, "685"),
                        typed(S::Tone, "1234"), typed(S::WordSpace, "9.96"), typed(S::WordSpace, "10.5"),
                        typed(S::WordSpace, "2."), typed(S::LetterSpace, "2,25"), typed(S::LetterSpace, "12"),
                        typed(S::Volume, ""), typed(S::Volume, "."), typed(S::Weight, "4x")}),
            (QList<int>{5, 50, 68, 123, 100, 100, 30, 12, 90, -1, -1, -1}));
    }

    // Each text replaces a 600-character one in message 3: stale pieces go; message 4 keeps its own.
    // Pieces are cut before a non-blank; one that ends in blanks carries a "*" after them; a "*" of the
    // text itself that would end a piece after a blank is kept off the piece's end; only blank runs no
    // piece can hold are shortened, to 247.
    void storesLongMessagesInPieces() {
        const QString plain = QString("ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(24).left(600);
        const QString a248 = QString("A").repeated(248), b50 = QString("B").repeated(50);
        const QString blanks247 = QString(' ').repeated(247), c100 = QString("C").repeated(100);
        const struct {
            QString text;
            QStringList lines;
            QString stored = text;
        } cases[] = {
            {plain, {"M3,1=" + plain.left(250), "M3,2=" + plain.sliced(250, 250), "M3=" + plain.sliced(500)}},
            {plain.left(251), {"M3,1=" + plain.left(250), "M3=Q"}},
            {plain.left(250), {"M3=" + plain.left(250)}},
            {QString("V ").repeated(150) + "K",
             {"M3,1=" + QString("V ").repeated(124) + "*", "M3=" + QString("V ").repeated(26) + "K"}},
            {a248 + " *" + b50, {"M3,1=" + a248 + " *", "M3=*" + b50}},
            {"A" + blanks247 + "B" + c100, {"M3,1=A" + blanks247 + "BC", "M3=" + c100.left(99)}},
            {"A" + blanks247 + " B", {"M3=A" + blanks247 + " B"}},
            {"A" + QString(' ').repeated(300) + "\t\tB" + QString(' ').repeated(600) + "C",
             {"M3,1=A" + blanks247 + "*", "M3=B" + blanks247 + "C"},
             "A" + blanks247 + "B" + blanks247 + "C"}};
        IniDocument document;
        QString text = plain;
        PutStoredMessage(document, 4, text);
        for (const auto& [original, lines, stored] : cases) {
            PutStoredMessage(document, 3, text = plain);
            text = original;
            PutStoredMessage(document, 3, text);
            QCOMPARE(StoredMessage(document, 3), stored);
            QCOMPARE(text, stored);
            QCOMPARE(RawMessageLines(document, 3), lines);
        }
        QCOMPARE(StoredMessage(document, 4), plain);
    }

    // A message written by hand as one line is read whole and saved in the piece form. One longer than
    // a profile keeps is cut once, and said so, so that it can be saved: in Latin-1, half the largest
    // file would be too large saved as UTF-8.
    void readsLongMessagesWholeAndSavesThemInPieces() {
        const QByteArray operatorSection = "[Operator]\r\nMyCall=\r\nName=\r\nQTH=\r\n[Messages]\r\nM1=";
        for (const qsizetype length : {qsizetype(300), MaxIniFileBytes / 2}) {
            const QString message = "CQ DE N0CALL " + QString(length, u'\u00E9');
            Put(path, operatorSection + message.toLatin1() + "\r\n");
            const ProfileRead read = ReadProfile(path);
            ProfileValues save = read.profile;
            QCOMPARE(save.messages[0], message.left(MaxMessageLength));
            QCOMPARE(read.problem.value_or("").contains("(message 1). Only its first 80000 characters"),
                     length > MaxMessageLength);
            QCOMPARE(WriteProfile(path, save, ProfileWrite::Replace).value_or("saved"), "saved");
            QVERIFY(Bytes(path).contains("\r\nM1,1=CQ DE N0CALL "));
            QCOMPARE(ReadProfile(path).profile.messages[0], message.left(MaxMessageLength));
        }
    }

    // Only an operator profile is written over, and only a file that is there is replaced; a new file
    // is made only where nothing is, and a link to nothing is left as it is.
    void writesOnlyWhereTheSaveMay() {
        using enum ProfileWrite;
        const QByteArray profile = "[Operator]\r\nMyCall=N0CALL\r\nName=\r\nQTH=\r\n";
        const QString there = "a file of that name is there already";
        const QString notProfile = "that file is not an operator profile";
        ProfileValues save;
        // The problems of Replace, Create and Choose.
        for (const auto& [before, problems] : {std::pair{profile, QStringList{"", there, ""}},
                                               {"[Timing]\r\nSpeed=30", {notProfile, there, notProfile}},
                                               {"", {"it is not there any more", "", ""}}}) {
            for (const ProfileWrite how : {Replace, Create, Choose}) {
                QFile::remove(path);
                if (!before.isEmpty()) Put(path, before);
                const QString problem = problems[int(how)],
                              saved = WriteProfile(path, save, how).value_or("");
                QVERIFY(saved.contains(problem) && saved.isEmpty() == problem.isEmpty());
                QCOMPARE(Bytes(path).contains("Speed= 25\r\n"), problem.isEmpty());
            }
        }
        QFile::remove(path);
        QVERIFY(QFile::link(dir.filePath("unmounted/N0CALL.ini"), path));
        QVERIFY(WriteProfile(path, save, Create).value_or("").contains("a link to a file that is not"));
        QCOMPARE(QFileInfo(path).symLinkTarget(), dir.filePath("unmounted/N0CALL.ini"));
    }

    // The operator is told which file and why. A file that cannot be read loads as the defaults and
    // is never written; the longest name the system allows is saved like any other.
    void tellsWhyAProfileIsNotReadOrSaved() {
        QVERIFY(QDir(dir.path()).mkdir("Folder.ini"));
        Put(dir.filePath("Plain.ini"), "a file");
        const QString tooLong = QString(300, 'L') + ".ini", longest = QString(251, 'L') + ".ini";
        const struct {
            QString name;
            QByteArray bytes;
            QString problem;
            bool unreadable;
        } cases[] = {
            {"Big.ini", QByteArray(MaxIniFileBytes + 1, '\n'), "it is larger than 16 MiB", true},
            {"Binary.ini", QByteArray("[Timing]\r\nSpeed=\0", 17), "it holds bytes that are not text", true},
            {"Utf16.ini", QByteArray("\xFF\xFE[\0\0\xD8", 6), "its Unicode (UTF-16) text is damaged", true},
            {"Folder.ini", {}, "a folder has that name", true},
            {tooLong, {}, "its name is too long", true},
            {"Plain.ini/x.ini", {}, "a file stands where one of its folders should be", false},
            {"No/x.ini", {}, "its folder does not exist", false},
            {longest, {}, {}, false}};
        for (const auto& [name, bytes, problem, unreadable] : cases) {
            const QString file = dir.filePath(name);
            if (!bytes.isEmpty()) Put(file, bytes);
            const ProfileRead read = ReadProfile(file);
            QCOMPARE(read.problem.has_value(), unreadable);
            QVERIFY(!unreadable || read.problem->contains(file + "\ncannot be read: " + problem + "."));
            QCOMPARE(Summary(read.profile), "25 50 80 10 8 68 1111 ||");
            ProfileValues save;
            const ProfileProblem saved = WriteProfile(file, save, ProfileWrite::Choose);
            QCOMPARE(saved.has_value(), !problem.isEmpty());
            QVERIFY(problem.isEmpty() || saved->contains(file + "\nwas not saved: " + problem + "."));
            if (!bytes.isEmpty()) QCOMPARE(Bytes(file), bytes);
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".tandrel").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
