#include "FileHelpers.h"
#include "profile/IniFile.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
            {"[A]\nx=1\n[B]\r\nz=3\n", "[A]\nX=v\n[B]\r\nz=3\ny=2\r\n"},
            {"[A]\rx=1\r[B]\r\nz=3", "[A]\rX=v\r[B]\r\nz=3\r\ny=2\r\n"}};
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

    // Values that are not UTF-8 read as Latin-1, a leading U+FEFF stays, CR alone ends a line, UTF-16
    // is read and written back as UTF-16. Writing what a line already says leaves its bytes alone.
    void readsEveryEncodingAndKeepsLinesNotChanged() {
        const auto utf16 = [](QStringEncoder::Encoding encoding, const QString& text) -> QByteArray {
            return QStringEncoder(encoding, QStringEncoder::Flag::WriteBom).encode(text);
        };
        const QString value = u"\uFEFFJos\u00E9"_s;
        const struct {
            QByteArray before;
            QString read;
            QByteArray after;
        } files[] = {
            {"[S]\r\nk=Jos\xE9\r\n; Stra\xDF" "e\r\n", u"Jos\u00E9"_s,
             "[S]\r\nk=Jos\xE9\r\nw=\xC3\xA9\r\n; Stra\xDF" "e\r\n"},
            {"[S]\rk=v\r", "v", "[S]\rk=v\rw=\xC3\xA9\r\n"},
            {"\xEF\xBB\xBF[S]\nk=\xEF\xBB\xBFJos\xC3\xA9\n", value,
             "\xEF\xBB\xBF[S]\nk=\xEF\xBB\xBFJos\xC3\xA9\nw=\xC3\xA9\r\n"},
            {utf16(QStringEncoder::Utf16LE, "[S]\r\nk=" + value + "\r\n"), value,
             utf16(QStringEncoder::Utf16LE, "[S]\r\nk=" + value + "\r\nw=\u00E9\r\n")},
            {utf16(QStringEncoder::Utf16BE, "[S]\nk=" + value), value,
             utf16(QStringEncoder::Utf16BE, "[S]\nk=" + value + "\r\nw=\u00E9\r\n")}};
        for (const auto& [before, read, after] : files) {
            Put(path, before);
            QCOMPARE(Read(path, "S", "k"), read);
            Write(path, "S", "k", read);
            QCOMPARE(Bytes(path), before);
            Write(path, "S", "w", u"\u00E9"_s);
            QCOMPARE(Bytes(path), after);
        }
    }

    void removesEveryLineOfAKey() {
        auto parsed = IniDocument::Parse("[A]\r\n; c1\r\nx=1\r\n; c2\r\nX=dup\r\n[B]\r\nx=other\r\nz=last");
        IniDocument& document = std::get<IniDocument>(parsed);
        document.RemoveKeys("a", {"X", "missing"});
        document.RemoveKeys("Missing", {"x"});
        document.RemoveKeys("B", {"z"});
        document.SetValue("A", "y", "2");
        QCOMPARE(document.FileBytes(), "[A]\r\ny=2\r\n; c1\r\n; c2\r\n[B]\r\nx=other\r\n");
    }

    void failedWritesAreSilentAndKeepTheOldFile() {
        const QByteArray binary("[A]\r\nx=old\r\n\0", 13);
        QVERIFY(QDir(dir.path()).mkdir("Folder.ini"));
        Put(path, binary);
        for (const QString& file : {dir.filePath("no/such/folder/Profile.ini"), dir.filePath("Folder.ini"),
                                    dir.filePath("Profile.ini/Sub.ini"), path}) {
            Write(file, "A", "x", "new");
            QCOMPARE(Read(file, "A", "x"), "<default>");
        }
        QVERIFY(!QFile::exists(dir.filePath("no")) && QFileInfo(dir.filePath("Folder.ini")).isDir());
        QCOMPARE(Bytes(path), binary);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Profile.ini"});
    }
};

QTEST_GUILESS_MAIN(TestProfileIni)
#include "test_profile_ini.moc"
