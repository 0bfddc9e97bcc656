#include "profile/IniFile.h"
#include "profile/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString Stored(const QString& path, const QString& key) {
    return ReadIniValue(path, "Messages", key, "<missing>");
}

// The values of the message keys exactly as they stand in the file, blanks included.
QStringList RawMessageLines(const QString& path, int number) {
    const QRegularExpression keyLine(QStringLiteral("^M%1(,\\d+)?=").arg(number));
    QStringList lines;
    for (const QString& line : QString::fromUtf8(Bytes(path)).split("\r\n"))
        if (keyLine.match(line).hasMatch()) lines.append(line);
    return lines;
}

QString StoreAndReadBack(const QString& path, int number, QString& text) {
    WriteStoredMessage(path, number, text);
    return ReadStoredMessage(path, number);
}

// 600 characters with blanks on both sides of the 250 and 500 marks, long and short runs of blanks and
// tabs, one-letter words with no two non-blanks side by side, a real " *" and characters beyond 16 bits.
QString AwkwardMessage() {
    QString text = QString("CQ DE N0CALL ").repeated(20).left(240);
    text += "TEST     " + QString("  \t ") + "X";                                    // blanks from 244 to 252
    text += QString("V ").repeated(100);                                             // no adjacent non-blanks
    text += "T *" + QString(' ').repeated(30) + "E\t\t*";                            // " *" and runs
    text += QString::fromUtf8("\xF0\x9F\x98\x80 \xF0\x9F\x98\x80\xF0\x9F\x98\x80 "); // up to 498
    text += "  ";                                                                    // 499 and 500
    return text + QString("K").repeated(600 - text.size());
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;

    ProfileSave ExampleSave() const {
        ProfileSave save;
        save.sentSpeed = 25;
        save.sentWeight = 50;
        save.sentToneHertz = 680;
        save.sentVolume = 8;
        save.wordSpaceText = " 8";
        save.letterSpaceText = " 2";
        save.dotMemory = false;
        save.rightHand = false;
        save.myCall = "N0CALL";
        save.name = "Ann";
        save.qth = "Oslo";
        save.messages[0] = "CQ CQ DE MYCALL K";
        save.titles[0] = "CQ";
        save.messages[11] = "TU 73 *";
        save.titles[11] = "";
        return save;
    }

private slots:
    void init() {
        path = dir.filePath("N0CALL.ini");
        QFile::remove(path);
    }

    void writesNewFileInKeyOrder() {
        ProfileSave save = ExampleSave();
        WriteProfile(path, save);
        QCOMPARE(Bytes(path), "[Timing]\r\n"
                              "Speed= 25\r\n"
                              "Weight= 50\r\n"
                              "Tone= 680\r\n"
                              "Volume= 8\r\n"
                              "WordSpace= 8\r\n"
                              "LetterSpace= 2\r\n"
                              "[Modes]\r\n"
                              "Iambic=ON\r\n"
                              "DotMemory=OFF\r\n"
                              "DashMemory=ON\r\n"
                              "RLPaddles=LEFT\r\n"
                              "[Operator]\r\n"
                              "MyCall=N0CALL\r\n"
                              "Name=Ann\r\n"
                              "QTH=Oslo\r\n"
                              "[Messages]\r\n"
                              "M1=CQ CQ DE MYCALL K\r\n"
                              "Title1=CQ\r\n"
                              "M2=\r\n"
                              "Title2=--\r\n"
                              "M3=\r\n"
                              "Title3=--\r\n"
                              "M4=\r\n"
                              "Title4=--\r\n"
                              "M5=\r\n"
                              "Title5=--\r\n"
                              "M6=\r\n"
                              "Title6=--\r\n"
                              "M7=\r\n"
                              "Title7=--\r\n"
                              "M8=\r\n"
                              "Title8=--\r\n"
                              "M9=\r\n"
                              "Title9=--\r\n"
                              "M10=\r\n"
                              "Title10=--\r\n"
                              "M11=\r\n"
                              "Title11=--\r\n"
                              "M12=TU 73 *\r\n"
                              "Title12=\r\n");

        // Saving again changes nothing; the other modes are written as their other texts.
        const QByteArray first = Bytes(path);
        WriteProfile(path, save);
        QCOMPARE(Bytes(path), first);
        save.iambic = false;
        save.dotMemory = true;
        save.dashMemory = false;
        save.rightHand = true;
        WriteProfile(path, save);
        QVERIFY(Bytes(path).contains(
            "[Modes]\r\nIambic=OFF\r\nDotMemory=ON\r\nDashMemory=OFF\r\nRLPaddles=RIGHT\r\n"));
    }

    void readsDefaultsOfMissingFileSectionsAndKeys() {
        const ProfileData missing = ReadProfile(dir.filePath("absent.ini"));
        QCOMPARE(missing.speed, 25);
        QCOMPARE(missing.weight, 50);
        QCOMPARE(missing.wordSpaceTenths, 80);
        QCOMPARE(missing.letterSpaceTenths, 10);
        QCOMPARE(missing.volume, 8);
        QCOMPARE(missing.toneTens, 68);
        QVERIFY(missing.iambic && missing.dotMemory && missing.dashMemory && missing.rightHand);
        QCOMPARE(missing.myCall, "");
        QCOMPARE(missing.name, "");
        QCOMPARE(missing.qth, "");
        for (int index = 0; index < storedMessageCount; ++index) {
            QCOMPARE(missing.messages[index], "");
            QCOMPARE(missing.titles[index], "--");
        }

        Put(path, "[Operator]\r\nMyCall=N0CALL\r\n[Messages]\r\nTitle2=\r\nM2=QRL?\r\n");
        const ProfileData partial = ReadProfile(path);
        QCOMPARE(partial.speed, 25);
        QCOMPARE(partial.toneTens, 68);
        QVERIFY(partial.iambic && partial.rightHand);
        QCOMPARE(partial.myCall, "N0CALL");
        QCOMPARE(partial.name, "");
        QCOMPARE(partial.titles[0], "--"); // missing
        QCOMPARE(partial.titles[1], "");   // present and empty
        QCOMPARE(partial.messages[1], "QRL?");
    }

    void roundTripsEverySetting() {
        ProfileSave save = ExampleSave();
        save.sentSpeed = 37;
        save.sentWeight = 62;
        save.sentToneHertz = 1130;
        save.sentVolume = 100;
        save.wordSpaceText = " 12.5";
        save.letterSpaceText = " 3.1";
        save.dotMemory = true;
        save.dashMemory = false;
        save.iambic = false;
        for (int index = 0; index < storedMessageCount; ++index) {
            save.messages[index] = QStringLiteral("MSG %1 = [x] ; \xE9t\xE9").arg(index + 1);
            save.titles[index] = QStringLiteral("T%1").arg(index + 1);
        }
        save.messages[2] = AwkwardMessage();
        WriteProfile(path, save);

        const ProfileData loaded = ReadProfile(path);
        QCOMPARE(loaded.speed, 37);
        QCOMPARE(loaded.weight, 62);
        QCOMPARE(loaded.toneTens, 113);
        QCOMPARE(loaded.volume, 100);
        QCOMPARE(loaded.wordSpaceTenths, 125);
        QCOMPARE(loaded.letterSpaceTenths, 21);
        QCOMPARE(loaded.iambic, false);
        QCOMPARE(loaded.dotMemory, true);
        QCOMPARE(loaded.dashMemory, false);
        QCOMPARE(loaded.rightHand, false);
        QCOMPARE(loaded.myCall, "N0CALL");
        QCOMPARE(loaded.name, "Ann");
        QCOMPARE(loaded.qth, "Oslo");
        QCOMPARE(loaded.messages, save.messages);
        QCOMPARE(loaded.titles, save.titles);

        // A second save of what was loaded leaves the file as it was.
        const QByteArray first = Bytes(path);
        save.messages = loaded.messages;
        WriteProfile(path, save);
        QCOMPARE(Bytes(path), first);
        QCOMPARE(ReadProfile(path).messages[2], AwkwardMessage());
    }

    void convertsAndClampsNumbers() {
        const auto timingWith = [this](const QByteArray& lines) {
            Put(path, "[Timing]\r\n" + lines);
            return ReadProfile(path);
        };
        QCOMPARE(timingWith("Tone= 685\r\n").toneTens, 68); // 68.5 goes to the even 68
        QCOMPARE(timingWith("Tone= 695\r\n").toneTens, 70);
        QCOMPARE(timingWith("Tone=9999\r\n").toneTens, 140);
        QCOMPARE(timingWith("Tone=100\r\n").toneTens, 40);
        QCOMPARE(timingWith("LetterSpace= 1\r\n").letterSpaceTenths, 0);
        QCOMPARE(timingWith("LetterSpace= 2\r\n").letterSpaceTenths, 10);
        QCOMPARE(timingWith("LetterSpace=1.25\r\n").letterSpaceTenths, 2); // 2.5 goes to the even 2
        QCOMPARE(timingWith("LetterSpace=abc\r\n").letterSpaceTenths, 10);
        QCOMPARE(timingWith("LetterSpace=3x\r\n").letterSpaceTenths, 10); // the whole text must be a number
        QCOMPARE(timingWith("LetterSpace=0.5\r\n").letterSpaceTenths, 0);
        QCOMPARE(timingWith("LetterSpace=25\r\n").letterSpaceTenths, 90);
        QCOMPARE(timingWith("Speed=99\r\n").speed, 50);
        QCOMPARE(timingWith("Speed=fast\r\n").speed, 5); // no number reads as 0, held at the bottom
        QCOMPARE(timingWith("Speed= 12.5wpm\r\n").speed, 12);
        QCOMPARE(timingWith("Speed=-30\r\n").speed, 5);
        QCOMPARE(timingWith("Weight=1e300\r\n").weight, 30); // "1" leads: no exponent in this number form
        QCOMPARE(timingWith("Weight=99999999999999999999999\r\n").weight, 70);
        QCOMPARE(timingWith("Volume=101\r\n").volume, 100);
        QCOMPARE(timingWith("WordSpace= 2\r\n").wordSpaceTenths, 30);
        QCOMPARE(timingWith("WordSpace=6.25\r\n").wordSpaceTenths, 62);
        QCOMPARE(timingWith("WordSpace=50\r\n").wordSpaceTenths, 200);
    }

    void takesOnlyExactModeTexts() {
        Put(path, "[Modes]\r\nIambic=on\r\nDotMemory=ON\r\nDashMemory=Off\r\nRLPaddles=Right\r\n");
        ProfileData loaded = ReadProfile(path);
        QCOMPARE(loaded.iambic, false);
        QCOMPARE(loaded.dotMemory, true);
        QCOMPARE(loaded.dashMemory, false);
        QCOMPARE(loaded.rightHand, false);
        Put(path, "[modes]\r\niambic= ON \r\nRLPADDLES=RIGHT\r\n");
        loaded = ReadProfile(path);
        QCOMPARE(loaded.iambic, true);
        QCOMPARE(loaded.rightHand, true);
    }

    void turnsLineBreaksIntoBlanks() {
        ProfileSave save = ExampleSave();
        save.messages[2] = "CQ\r\nDE N0CALL";
        save.qth = "Oslo\nNorway";
        WriteProfile(path, save);
        QCOMPARE(save.messages[2], "CQ  DE N0CALL");
        QCOMPARE(save.qth, "Oslo Norway");
        QVERIFY(Bytes(path).contains("\r\nM3=CQ  DE N0CALL\r\n"));
        QCOMPARE(ReadProfile(path).messages[2], "CQ  DE N0CALL");
    }

    void storesLongMessagesInPieces() {
        // Plain text: the editor's shape of 250 + 250 + 100.
        QString plain;
        for (int index = 0; index < 600; ++index)
            plain += QChar(u'A' + index % 26);
        QString text = plain;
        QCOMPARE(StoreAndReadBack(path, 3, text), plain);
        QCOMPARE(text, plain);
        QCOMPARE(Stored(path, "M3,1"), plain.sliced(0, 250));
        QCOMPARE(Stored(path, "M3,2"), plain.sliced(250, 250));
        QCOMPARE(Stored(path, "M3"), plain.sliced(500));
        QCOMPARE(Stored(path, "M3,3"), "<missing>");

        // Exactly 250 characters is one key; replacing the long text removes its stale pieces.
        text = plain.left(250);
        QCOMPARE(StoreAndReadBack(path, 3, text), plain.left(250));
        QCOMPARE(RawMessageLines(path, 3), QStringList{"M3=" + plain.left(250)});
        text = plain.left(251);
        QCOMPARE(StoreAndReadBack(path, 3, text), plain.left(251));
        QCOMPARE(RawMessageLines(path, 3), QStringList({"M3=Q", "M3,1=" + plain.left(250)}));
        text = plain;
        WriteStoredMessage(path, 3, text);
        text = "QRZ?";
        QCOMPARE(StoreAndReadBack(path, 3, text), "QRZ?");
        QCOMPARE(RawMessageLines(path, 3), QStringList{"M3=QRZ?"});

        // A shorter long text removes the pieces beyond its own; other messages keep theirs.
        text = plain;
        WriteStoredMessage(path, 4, text);
        WriteStoredMessage(path, 3, text);
        text = plain.left(400);
        QCOMPARE(StoreAndReadBack(path, 3, text), plain.left(400));
        QCOMPARE(Stored(path, "M3,2"), "<missing>");
        QCOMPARE(ReadStoredMessage(path, 4), plain);
    }

    void keepsBlanksAtPieceBoundaries() {
        const QString awkward = AwkwardMessage();
        QCOMPARE(awkward.size(), 600);
        QVERIFY(awkward[249] == u' ' && awkward[250] == u' ' && awkward[499] == u' ' && awkward[500] == u' ');

        QString text = awkward;
        QCOMPARE(StoreAndReadBack(path, 3, text), awkward);
        QCOMPARE(text, awkward);
        const QByteArray firstFile = Bytes(path);
        QCOMPARE(StoreAndReadBack(path, 3, text), awkward);
        QCOMPARE(Bytes(path), firstFile);

        const QStringList lines = RawMessageLines(path, 3);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("M3,1=") && lines[1].startsWith("M3,2=") && lines[2].startsWith("M3="));
        for (const QString& line : lines) {
            const QString value = line.sliced(line.indexOf('=') + 1);
            QVERIFY2(value.size() <= 250, qPrintable(line));
            QVERIFY2(!value.front().isSpace() && !value.back().isSpace(), qPrintable(line));
        }

        // Pieces are cut before a non-blank; one that ends in blanks carries a "*" after them.
        text = QString("V ").repeated(150);
        text += "K";
        QCOMPARE(StoreAndReadBack(path, 5, text), QString("V ").repeated(150) + "K");
        QCOMPARE(RawMessageLines(path, 5), QStringList({"M5,1=" + QString("V ").repeated(124) + "*",
                                                        "M5=" + QString("V ").repeated(26) + "K"}));

        // A "*" of the text itself that would end a piece after a blank is kept off the piece's end.
        const QString star = QString("A").repeated(248) + " *" + QString("B").repeated(50);
        text = star;
        QCOMPARE(StoreAndReadBack(path, 6, text), star);
        QCOMPARE(RawMessageLines(path, 6), QStringList({"M6,1=" + QString("A").repeated(248) + " *",
                                                        "M6=*" + QString("B").repeated(50)}));
    }

    void shortensOnlyBlankRunsNoPieceCanHold() {
        const QString longest = "A" + QString(' ').repeated(247) + "B";
        QString text = longest + QString("C").repeated(100);
        QCOMPARE(StoreAndReadBack(path, 7, text), longest + QString("C").repeated(100));

        text = "A" + QString(' ').repeated(300) + "\t\tB" + QString(' ').repeated(600) + "C";
        const QString shortened = "A" + QString(' ').repeated(247) + "B" + QString(' ').repeated(247) + "C";
        QCOMPARE(StoreAndReadBack(path, 7, text), shortened);
        QCOMPARE(text, shortened);
    }

    // Random texts of blanks, tabs, "*", one-letter words, line breaks and characters beyond 16 bits:
    // what a read gives back is the text as the write left it, which differs from the original only by
    // line breaks turned into blanks and blank runs over 247 shortened.
    void survivesAnyTextOverWriteAndRead() {
        const QStringList parts = {" ",
                                   "  ",
                                   "\t",
                                   "*",
                                   " *",
                                   "E",
                                   "TEST",
                                   "\r\n",
                                   "\xC3\xA9",
                                   QString::fromUtf8("\xF0\x9F\x93\xBB"),
                                   QString(' ').repeated(120)};
        QRandomGenerator random(20240611);
        for (int round = 0; round < 300; ++round) {
            QString original = "<";
            const int length = random.bounded(200, 1400);
            while (original.size() < length)
                original += parts[random.bounded(parts.size())];
            original += ">";
            QString expected = original;
            expected.replace("\r\n", "  ");
            expected.replace(QRegularExpression("([ \\t]{247})[ \\t]+"), "\\1");

            QString text = original;
            const QString readBack = StoreAndReadBack(path, 1 + round % storedMessageCount, text);
            QCOMPARE(text, expected);
            QCOMPARE(readBack, expected);
            QCOMPARE(StoreAndReadBack(path, 1 + round % storedMessageCount, text), expected);
        }
    }

    void readsBadFilesWithoutFailing() {
        QByteArray bytes = "junk without equals\r\n=value without key\r\n[unclosed\r\n\xFF\xFE\xC0\r\n"
                           "[Timing]\r\nSpeed= 30\xFF\r\nTone=\xC3\x28 700\r\n[Extra]\r\n";
        for (int index = 0; index < 5000; ++index)
            bytes += "Key" + QByteArray::number(index) + "=value " + QByteArray::number(index) + "\r\n";
        bytes += "[Messages]\nM1=caf\xE9 \xF0\x9F\r\nTitle1=\xFF\xFF\nM2,1=lost piece\r\n";
        Put(path, bytes);

        const ProfileData loaded = ReadProfile(path);
        QCOMPARE(loaded.speed, 30);
        QCOMPARE(loaded.toneTens, 40); // no leading number: 0, held at the bottom
        QCOMPARE(loaded.weight, 50);
        QVERIFY(loaded.iambic);
        QVERIFY(loaded.messages[0].startsWith("caf"));
        QCOMPARE(loaded.messages[1], "lost piece");
        QCOMPARE(loaded.titles[2], "--");

        // Saving over it keeps the foreign lines.
        ProfileSave save = ExampleSave();
        WriteProfile(path, save);
        QVERIFY(Bytes(path).contains("junk without equals\r\n"));
        QVERIFY(Bytes(path).contains("Key4999=value 4999\r\n"));
        QCOMPARE(ReadProfile(path).messages[0], "CQ CQ DE MYCALL K");
        QCOMPARE(ReadProfile(path).messages[1], "");
    }

    void writesNothingWithoutFileName() {
        QTemporaryDir empty;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(empty.path()));
        ProfileSave save = ExampleSave();
        WriteProfile("", save);
        QString text = "CQ";
        WriteStoredMessage("", 1, text);
        QDir::setCurrent(previous);
        QCOMPARE(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{});
    }

    void protectsTheStateFile() {
        QVERIFY(IsProtectedProfilePath("/home/x/operator.ini"));
        QVERIFY(IsProtectedProfilePath("/x/MYOPERATOR.INI.bak"));
        QVERIFY(IsProtectedProfilePath("/x/Operator.Ini/profile.ini"));
        QVERIFY(!IsProtectedProfilePath("/x/op.ini"));
        QVERIFY(!IsProtectedProfilePath("/x/operators.ini"));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
