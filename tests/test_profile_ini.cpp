#include "FileHelpers.h"
#include "profile/IniFile.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

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
        QString message = "CQ\r\nDE\rK\n";
        WriteIniValue(path, "Messages", "M1", message);
        Write(path, "Timing", "Speed", " 25");
        QCOMPARE(message, "CQ  DE K ");
        QCOMPARE(Bytes(path), "[Messages]\r\nM1=CQ  DE K \r\n[Timing]\r\nSpeed= 25\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Profile.ini"}); // no temporary left

        // A new key goes after the section's last key, before blank lines, comments and the next section;
        // an unterminated last line is closed first; lines keep their own line ends; a key is spelled anew.
        const std::array<QByteArray, 2> edits[] = {
            {"[A]\r\n; none yet\r\n[B]\r\nx=1\r\n\r\n; end of B\r\n[C]\r\n",
             "[A]\r\nX=v\r\n; none yet\r\n[B]\r\nx=1\r\ny=2\r\n\r\n; end of B\r\n[C]\r\n"},
            {"[A]\r\nx=1", "[A]\r\nX=v\r\n[B]\r\ny=2\r\n"},
            {"junk", "junk\r\n[a]\r\nX=v\r\n[B]\r\ny=2\r\n"},
            {"[A]\nx=1\n[B]\r\nz=3\n", "[A]\nX=v\n[B]\r\nz=3\ny=2\r\n"}};
        for (const auto& [before, after] : edits) {
            Put(path, before);
            Write(path, "a", "X", "v");
            Write(path, "B", "y", "2");
            QCOMPARE(Bytes(path), after);
        }
    }

    void readsByPrivateProfileRules() {
        Put(path, "\xEF\xBB\xBF[ Timing ]\r\n; Speed=commented out\r\njunk line\r\n"
                  "  SPEED \t=\t 25 \t\r\nSpeed=second\r\nFormula= a=b = c\r\nEmpty=\r\n"
                  "[timing]\r\nWeight=in the second Timing section\r\n[Modes]\r\nIambic=ON\r\n");
        const std::array<QString, 3> reads[] = {
            {" TIMING ", "Speed ", "25"},      {"Timing", "Formula", "a=b = c"},
            {"Timing", "Empty", ""},           {"Modes", "iambic", "ON"},
            {"Timing", "Weight", "<default>"}, {"Timing", "; Speed", "<default>"}};
        for (const auto& [section, key, value] : reads)
            QCOMPARE(Read(path, section, key), value);
        QCOMPARE(Read(dir.filePath("Missing.ini"), "Modes", "Iambic"), "<default>");
        QCOMPARE(Read(dir.path(), "Modes", "Iambic"), "<default>"); // a directory in place of the file
    }

    void roundTripsValuesCutTo254Characters() {
        const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two UTF-16 units
        const auto roundTrip = [this](const QString& value, const QString& read) {
            Write(path, "S", "v", value);
            QCOMPARE(Read(path, "S", "v"), read);
            QVERIFY(Bytes(path).contains("v=" + value.toUtf8() + "\r\n")); // the file keeps it whole
        };
        for (const QString value : {" a=b ", "[x]", "; x", "\xF0\x9F\x93\xBB"})
            roundTrip(value, value.trimmed());
        roundTrip(QString(254, 'a'), QString(254, 'a'));
        roundTrip(QString(300, 'c'), QString(254, 'c'));
        roundTrip(QString(253, 'd') + clef, QString(253, 'd'));
        roundTrip(QString(252, 'd') + clef + "e", QString(252, 'd') + clef);
        QCOMPARE(ReadIniValue(path, "S", "none", QString(253, 'x') + clef), QString(253, 'x'));
    }

    void keepsOtherBytesUntouched() {
        const QByteArray latin1 = "[Operator]\r\n; Stra\xDF"
                                  "e \xFF\xFE\r\nQTH=M\xFCnchen\r\n";
        Put(path, latin1 + "Name=Old\r\n");
        QCOMPARE(Read(path, "Operator", "QTH"), QString::fromUtf8("M\xFCnchen"));
        Write(path, "Operator", "Name", QString::fromUtf8("J\xC3\xBCrgen"));
        QCOMPARE(Bytes(path), latin1 + "Name=J\xC3\xBCrgen\r\n");
        QCOMPARE(Read(path, "operator", "NAME"), QString::fromUtf8("J\xC3\xBCrgen"));

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

    void deletesKeys() {
        Put(path, "[A]\r\nx=1\r\ny=2\r\nX=dup\r\n[B]\r\nx=other\r\nz=last");
        DeleteIniValue(path, "a", "X");
        DeleteIniValue(path, "A", "missing");
        DeleteIniValue(path, "Missing", "y");
        DeleteIniValue(path, "B", "z");
        QCOMPARE(Bytes(path), "[A]\r\ny=2\r\n[B]\r\nx=other\r\n");
        const QString missing = dir.filePath("Missing.ini");
        DeleteIniValue(missing, "A", "x");
        QVERIFY(!QFile::exists(missing));
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
