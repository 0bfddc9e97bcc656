#include "profile/IniFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
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

// Writes a value the caller does not need back.
void Write(const QString& path, const QString& section, const QString& key, QString value) {
    WriteIniValue(path, section, key, value);
}

QString Read(const QString& path, const QString& section, const QString& key) {
    return ReadIniValue(path, section, key, "<default>");
}

} // namespace

class TestProfileIni : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;

private slots:
    void init() {
        path = dir.filePath("Profile.ini");
        QFile::remove(path);
    }

    void writesExactBytes() {
        Write(path, "Timing", "Speed", " 25");
        QCOMPARE(Bytes(path), "[Timing]\r\nSpeed= 25\r\n");
        Write(path, "Timing", "Weight", "50");
        Write(path, "Modes", "Iambic", "ON");
        Write(path, "Timing", "Tone", "680");
        QCOMPARE(Bytes(path), "[Timing]\r\nSpeed= 25\r\nWeight=50\r\nTone=680\r\n[Modes]\r\nIambic=ON\r\n");
        Write(path, "TIMING", "speed", "30");
        QCOMPARE(Bytes(path), "[Timing]\r\nspeed=30\r\nWeight=50\r\nTone=680\r\n[Modes]\r\nIambic=ON\r\n");

        QString message = "CQ\r\nDE\rK\n";
        WriteIniValue(path, "Messages", "M1", message);
        QCOMPARE(message, "CQ  DE K ");
        QVERIFY(Bytes(path).endsWith("[Messages]\r\nM1=CQ  DE K \r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Profile.ini"}); // no temporary left

        // A new key goes after the section's last key, before blank lines, comments and the next section.
        Put(path, "[A]\r\n; none yet\r\n[B]\r\nx=1\r\n\r\n; end of B\r\n[C]\r\n");
        Write(path, "B", "y", "2");
        Write(path, "A", "k", "v");
        QCOMPARE(Bytes(path), "[A]\r\nk=v\r\n; none yet\r\n[B]\r\nx=1\r\ny=2\r\n\r\n; end of B\r\n[C]\r\n");

        // An unterminated last line is closed before anything follows it.
        Put(path, "[A]\r\nx=1");
        Write(path, "A", "y", "2");
        QCOMPARE(Bytes(path), "[A]\r\nx=1\r\ny=2\r\n");
        Put(path, "junk");
        Write(path, "B", "z", "3");
        QCOMPARE(Bytes(path), "junk\r\n[B]\r\nz=3\r\n");
    }

    void readsByPrivateProfileRules() {
        Put(path, "orphan=before any section\r\n"
                  "[ Timing ]\r\n"
                  "; Speed=commented out\r\n"
                  "junk line\r\n"
                  "  SPEED \t=\t 25 \t\r\n"
                  "Speed=second\r\n"
                  "Formula= a=b = c\r\n"
                  "Empty=\r\n"
                  "[timing]\r\n"
                  "Weight=in the second Timing section\r\n"
                  "[Modes]\r\n"
                  "Iambic=ON\r\n");
        QCOMPARE(Read(path, "timing", "speed"), "25");
        QCOMPARE(Read(path, " TIMING ", "Speed "), "25");
        QCOMPARE(Read(path, "Timing", "Formula"), "a=b = c");
        QCOMPARE(Read(path, "Timing", "Empty"), "");
        QCOMPARE(Read(path, "Timing", "Weight"), "<default>");
        QCOMPARE(Read(path, "Timing", "; Speed"), "<default>");
        QCOMPARE(Read(path, "Timing", "Iambic"), "<default>");
        QCOMPARE(Read(path, "Modes", "Iambic"), "ON");
        QCOMPARE(Read(path, "", "orphan"), "<default>");
        QCOMPARE(Read(path, "Modes", "Missing"), "<default>");
        QCOMPARE(Read(path, "Missing", "Iambic"), "<default>");
        QCOMPARE(Read(dir.filePath("Missing.ini"), "Modes", "Iambic"), "<default>");
        QCOMPARE(Read(dir.path(), "Modes", "Iambic"), "<default>"); // a directory in place of the file

        Put(path, "");
        QCOMPARE(Read(path, "Modes", "Iambic"), "<default>");
        Put(path, "\xEF\xBB\xBF[Modes]\r\nIambic=OFF\r\n");
        QCOMPARE(Read(path, "Modes", "Iambic"), "OFF");
    }

    void cutsValuesAt254Characters() {
        const QString value254(254, 'a');
        Write(path, "S", "exact", value254);
        Write(path, "S", "over", value254 + 'b');
        Write(path, "S", "long", QString(300, 'c'));
        QCOMPARE(Read(path, "S", "exact"), value254);
        QCOMPARE(Read(path, "S", "over"), value254);
        QCOMPARE(Read(path, "S", "long"), QString(254, 'c'));
        QVERIFY(Bytes(path).contains("long=" + QByteArray(300, 'c') + "\r\n")); // the file keeps it whole

        const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two UTF-16 units
        Write(path, "S", "pair", QString(253, 'd') + clef);
        QCOMPARE(Read(path, "S", "pair"), QString(253, 'd'));
        Write(path, "S", "pairFits", QString(252, 'd') + clef + "e");
        QCOMPARE(Read(path, "S", "pairFits"), QString(252, 'd') + clef);

        QCOMPARE(ReadIniValue(path, "S", "none", QString(300, 'x')), QString(254, 'x'));
        QCOMPARE(ReadIniValue(path, "S", "none", QString(253, 'x') + clef), QString(253, 'x'));
    }

    void editsLfOnlyFilesKeepingOtherLineEnds() {
        Put(path, "[A]\nx=1\ny=2\n[B]\r\nz=3\n");
        QCOMPARE(Read(path, "A", "y"), "2");
        QCOMPARE(Read(path, "B", "z"), "3");
        Write(path, "A", "x", "one");
        Write(path, "A", "w", "new");
        Write(path, "C", "c", "4");
        QCOMPARE(Bytes(path), "[A]\nx=one\ny=2\nw=new\r\n[B]\r\nz=3\n[C]\r\nc=4\r\n");
    }

    void keepsOtherBytesUntouched() {
        const QByteArray latin1Comment = "; Stra\xDF"
                                         "e \xFF\xFE\r\n";
        const QByteArray latin1Key = "QTH=M\xFCnchen\r\n";
        Put(path, "[Operator]\r\n" + latin1Comment + latin1Key + "Name=Old\r\n");
        QCOMPARE(Read(path, "Operator", "QTH"), QString::fromUtf8("M\xFCnchen"));
        Write(path, "Operator", "Name", QString::fromUtf8("J\xC3\xBCrgen"));
        QCOMPARE(Bytes(path), "[Operator]\r\n" + latin1Comment + latin1Key + "Name=J\xC3\xBCrgen\r\n");
        QCOMPARE(Read(path, "operator", "NAME"), QString::fromUtf8("J\xC3\xBCrgen"));
    }

    void deletesKeys() {
        Put(path, "[A]\r\nx=1\r\ny=2\r\nX=dup\r\n[B]\r\nx=other\r\n");
        DeleteIniValue(path, "a", "X");
        QCOMPARE(Bytes(path), "[A]\r\ny=2\r\n[B]\r\nx=other\r\n");
        QCOMPARE(Read(path, "A", "x"), "<default>");
        DeleteIniValue(path, "A", "missing");
        DeleteIniValue(path, "Missing", "y");
        QCOMPARE(Bytes(path), "[A]\r\ny=2\r\n[B]\r\nx=other\r\n");

        Put(path, "[A]\r\ny=2\r\nz=last");
        DeleteIniValue(path, "A", "z");
        QCOMPARE(Bytes(path), "[A]\r\ny=2\r\n");

        const QString missing = dir.filePath("Missing.ini");
        DeleteIniValue(missing, "A", "x");
        QVERIFY(!QFile::exists(missing));
    }

    void roundTripsAndOddFiles() {
        const QStringList values{"",
                                 "plain",
                                 "  padded  ",
                                 "a=b",
                                 "[not a section]",
                                 "; not a comment",
                                 QString::fromUtf8("\xE2\x80\x94 \xF0\x9F\x93\xBB \xC3\xA9")};
        for (const QString& value : values)
            Write(path, "Round", "Trip", value);
        QCOMPARE(Read(path, "Round", "Trip"), QString::fromUtf8("\xE2\x80\x94 \xF0\x9F\x93\xBB \xC3\xA9"));
        for (const QString& value : values) {
            Write(path, "Round", "Trip", value);
            QCOMPARE(Read(path, "Round", "Trip"), value.trimmed());
        }

        QByteArray many = "[Many]\r\n";
        for (int index = 0; index < 5000; ++index)
            many += "K" + QByteArray::number(index) + "=" + QByteArray::number(index) + "\r\n";
        Put(path, many + "[Next]\r\n");
        Write(path, "Many", "k4999", "last");
        Write(path, "Many", "K5000", "new");
        QCOMPARE(Read(path, "Many", "K0"), "0");
        QCOMPARE(Read(path, "many", "K4999"), "last");
        QCOMPARE(Bytes(path), many.replace("K4999=4999", "k4999=last") + "K5000=new\r\n[Next]\r\n");

        const QByteArray longLine = "[Long]\r\nv=" + QByteArray(5'000'000, 'v') + "\r\n";
        Put(path, longLine);
        Write(path, "Long", "w", "after");
        QCOMPARE(Bytes(path), longLine + "w=after\r\n");

        QRandomGenerator random(9);
        QByteArray garbage(100'000, '\0');
        for (char& byte : garbage)
            byte = char(random.bounded(256));
        Put(path, garbage);
        QCOMPARE(Read(path, "Anything", "Key"), "<default>");
        Write(path, "Fresh", "Key", "value");
        QCOMPARE(Bytes(path).first(garbage.size()), garbage);
        QCOMPARE(Read(path, "Fresh", "Key"), "value");
    }

    void failedWritesAreSilentAndKeepTheOldFile() {
        Write(dir.filePath("no/such/folder/Profile.ini"), "A", "x", "1");
        QVERIFY(!QFile::exists(dir.filePath("no")));

        QVERIFY(QDir(dir.path()).mkdir("Folder.ini"));
        Write(dir.filePath("Folder.ini"), "A", "x", "1");
        DeleteIniValue(dir.filePath("Folder.ini"), "A", "x");
        QVERIFY(QFileInfo(dir.filePath("Folder.ini")).isDir());

        QTemporaryDir locked;
        const QString lockedFile = locked.filePath("Profile.ini");
        Put(lockedFile, "[A]\r\nx=old\r\n");
        QVERIFY(QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner));
        const bool permissionsHold = !QFile(locked.filePath("probe")).open(QIODevice::WriteOnly);
        Write(lockedFile, "A", "x", "new");
        Write(lockedFile, "B", "y", "new");
        const QByteArray after = Bytes(lockedFile);
        QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // A file that cannot be read must not be replaced by one holding only the new key.
        QFile::setPermissions(lockedFile, QFile::WriteOwner);
        Write(lockedFile, "B", "y", "new");
        QFile::setPermissions(lockedFile, QFile::ReadOwner | QFile::WriteOwner);

        if (!permissionsHold) QSKIP("folder permissions do not bind this user (root)");
        QCOMPARE(after, "[A]\r\nx=old\r\n");
        QCOMPARE(Bytes(lockedFile), "[A]\r\nx=old\r\n");
        QCOMPARE(QDir(locked.path()).entryList(QDir::Files), QStringList{"Profile.ini"});
    }
};

QTEST_GUILESS_MAIN(TestProfileIni)
#include "test_profile_ini.moc"
