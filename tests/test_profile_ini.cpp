#include "FileHelpers.h"
#include "profile/IniFile.h"

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
        QCOMPARE(message, "CQ  DE K ");
        QCOMPARE(Bytes(path), "[Messages]\r\nM1=CQ  DE K \r\n");

        // A new key goes after the section's last key, before blank lines, comments and the next section;
        // an unterminated last line is closed first; lines keep their own line ends; a key is spelled anew.
        const std::array<QByteArray, 2> edits[] = {
            {"[A]\r\n; none yet\r\n[B]\r\nx=1\r\n\r\n; end of B\r\n[C]\r\n",
             "[A]\r\nX=v\r\n; none yet\r\n[B]\r\nx=1\r\ny=2\r\n\r\n; end of B\r\n[C]\r\n"},
            {"[A]\r\nx=1", "[A]\r\nX=v\r\n[B]\r\ny=2\r\n"},
            {"junk", "junk\r\n[a]\r\nX=v\r\n[B]\r\ny=2\r\n"},
            {"[A]\nx=1\n[B]\r\nz=3\n", "[A]\nX=v\n[B]\r\nz=3\ny=2\r\n"},
            // Files joined end to end: the byte-order mark starting a line is a blank.
            {"[A]\r\n\xEF\xBB\xBF[B]\r\n\xEF\xBB\xBFy=1\r\n", "[A]\r\nX=v\r\n\xEF\xBB\xBF[B]\r\ny=2\r\n"}};
        for (const auto& [before, after] : edits) {
            Put(path, before);
            Write(path, "a", "X", "v");
            Write(path, "B", "y", "2");
            QCOMPARE(Bytes(path), after);
        }
    }

    void readsByPrivateProfileRules() {
        // Values are cut to 254 characters, never inside one: the clef takes two UTF-16 units.
        const QString clef = u"\U0001D11E"_s, c300(300, 'c'), d253(253, 'd'), d252(252, 'd');
        Put(path, "\xEF\xBB\xBF[ Timing ]\r\n; Speed=commented out\r\njunk line\r\n"
                  "  SPEED \t=\t 25 \t\r\nSpeed=second\r\nFormula= a=b = c\r\nEmpty=\r\n"
                  "[timing]\r\nWeight=in the second Timing section\r\n[Modes]\r\nIambic=ON\r\n"
                  "Caf\xE9=Latin-1\r\n\xEF\xBB\xBF[Joined]\r\n\xEF\xBB\xBFMyCall=N0CALL\r\n[Long]\r\nc=" +
                      (c300 + "\r\nclef=" + d253 + clef + "\r\nlast=" + d252 + clef + "e").toUtf8());
        const std::array<QString, 3> reads[] = {
            {" TIMING ", "Speed ", "25"},      {"Timing", "Formula", "a=b = c"},
            {"Timing", "Empty", ""},           {"Modes", "iambic", "ON"},
            {"Timing", "Weight", "<default>"}, {"Timing", "; Speed", "<default>"},
            {"Long", "c", c300.left(254)},     {"Long", "clef", d253},
            {"Long", "last", d252 + clef},     {"Modes", u"CAF\u00C9"_s, "Latin-1"},
            {"Joined", "MyCall", "N0CALL"}};
        for (const auto& [section, key, value] : reads)
            QCOMPARE(Read(path, section, key), value);
        QCOMPARE(Read(dir.filePath("Missing.ini"), "Modes", "Iambic"), "<default>");
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
        } files[] = {{"[S]\r\nk=Jos\xE9\r\n; Stra\xDF"
                      "e\r\n",
                      u"Jos\u00E9"_s,
                      "[S]\r\nk=Jos\xE9\r\nw=\xC3\xA9\r\n; Stra\xDF"
                      "e\r\n"},
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
};

QTEST_GUILESS_MAIN(TestProfileIni)
#include "test_profile_ini.moc"
