#include "FileHelpers.h"
#include "operators/OperatorFiles.h"

#include <QTemporaryDir>

namespace {

const QByteArray Profile = "[Operator]\r\nMyCall=N0CALL\r\nName=\r\nQTH=\r\n";

using Pairs = std::initializer_list<std::pair<const char*, const char*>>;

} // namespace

class OperatorFilesTest : public QObject {
    Q_OBJECT

private slots:
    void theScanListsOperatorFiles() {
        QTemporaryDir dir;
        const QList<std::pair<QString, QByteArray>> files{
            {"N0CALL.ini", Profile},
            {"N0CALL.old.ini", Profile},
            {"notes.INI", "; [Operator] aside\nxMyCall=1 Name=2\nQTH=3"},
            {"small.ini", "[operator]\r\nMyCall=\r\nName=\r\nQTH=\r\n"},
            {"noqth.ini", "[Operator]\r\nMyCall=\r\nName=\r\n"},
            {"big.ini", Profile + QByteArray(2 << 20, ' ')},
            {"Operator.INI", "[Operator]\r\nINIFile=N0CALL.ini\r\n"},
            {"N0CALL.txt", Profile}};
        for (const auto& [name, text] : files)
            Put(dir.filePath(name), text);
        QStringList names;
        for (const QString& path : ScanOperatorFiles(dir.path()))
            names << OperatorBaseName(path);
        names.sort();
        QCOMPARE(names, (QStringList{"N0CALL", "N0CALL", "notes"}));

        QTemporaryDir crowded;
        for (int i = 0; i < 52; ++i)
            Put(crowded.filePath(QStringLiteral("op%1.ini").arg(i)), Profile);
        QCOMPARE(ScanOperatorFiles(crowded.path()).size(), 51);
    }

    void entriesAreTidied() {
        for (auto [typed, tidy] : Pairs{{"joe", "Joe"}, {"jOHN", "JOHN"}})
            QCOMPARE(TidyName(typed), QString(tidy));
        for (auto [typed, tidy] : Pairs{{"new york, ny", "New York, NY"},
                                        {"san jose, california", "San Jose, california"},
                                        {"rome ", "Rome "}})
            QCOMPARE(TidyQth(typed), QString(tidy));
    }

    void fileNamesAreProposed() {
        QTemporaryDir dir;
        const auto proposal = [&dir](const QString& call) {
            return DeriveFileName(call, dir.path(), "kept");
        };
        QCOMPARE(proposal("n0call/p"), QStringLiteral("N0CALL-P"));
        // Taken in any letter case, as the scan lists it.
        Put(dir.filePath("n0call.ini"), Profile);
        Put(dir.filePath("N0CALL(2).INI"), Profile);
        QCOMPARE(proposal("n0call"), QStringLiteral("N0CALL(3)"));
        for (int n = 3; n <= 31; ++n)
            Put(dir.filePath(QStringLiteral("N0CALL(%1).INI").arg(n)), Profile);
        QCOMPARE(proposal("n0call"), QStringLiteral("kept"));

        // A typed name keeps its own ending, names an existing file in any letter case, and never a folder.
        for (auto [typed, file] :
             Pairs{{"Q1ABC.INI", "Q1ABC.INI.INI"}, {"n0call", "n0call.ini"}, {"../W1/P", "..-W1-P.INI"}})
            QCOMPARE(ProfileFileFor(dir.path(), typed), dir.filePath(file));
    }

    // INIFile value, the profile it names, what a save records for it, and the window title.
    void profilesAreRecordedToBeFoundAgain() {
        const QString folder = QStringLiteral("/home/op/tandrel");
        const auto inFolder = [&folder](QString path) { return path.replace("F/", folder + '/'); };
        for (auto [record, path, again, title] : std::initializer_list<std::array<const char*, 4>>{
                 {"Smith.ini", "F/Smith.ini", "Smith.ini", "Smith"},
                 {"sub/my.cw.ini", "F/sub/my.cw.ini", "F/sub/my.cw.ini", "my"},
                 {"/srv/Smith", "/srv/Smith", "/srv/Smith", "Smith"},
                 {"", "F/", "", ""}}) {
            const QString profile = ProfilePathFromRecord(record, folder);
            QCOMPARE(profile, inFolder(path));
            QCOMPARE(RecordForProfilePath(profile, folder), inFolder(again));
            QCOMPARE(TitleForOperatorFile(profile), QStringLiteral("Vesk Tandrel.....") + title);
        }
    }
};

QTEST_MAIN(OperatorFilesTest)
#include "test_operators_files.moc"
