// The operator-file rules. Input: a profile path, which also serves as file text, typed name, call
// and QTH. Each rule's promise is one check; a new rule adds its own line.

#include "FuzzInput.h"
#include "operators/OperatorFiles.h"
#include "profile/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzParts input(data, size, 1);
    const QString path = input.Text(0), name = FileNamePart(path), base = OperatorBaseName(path);
    const QString folder = QStringLiteral("/no/such/folder"), inFolder = ProfileFileFor(folder, path);
    FUZZ_CHECK(!name.contains(u'/') && path.endsWith(name));
    FUZZ_CHECK(!base.contains(u'.') && name.startsWith(base) && (base == name || name[base.size()] == u'.'));
    FUZZ_CHECK(TitleForOperatorFile(path) == QStringLiteral("Vesk Tandrel.....") + base);
    FUZZ_CHECK(IsOperatorFile(input.Bytes(0) + "[Operator]MyCall=Name=QTH="));
    FUZZ_CHECK(inFolder.startsWith(folder + u'/') && FileNamePart(inFolder).endsWith(QStringLiteral(".INI")));
    FUZZ_CHECK(ProfilePathFromRecord(RecordForProfilePath(inFolder, folder), folder) == inFolder);
    FUZZ_CHECK(!DeriveFileName(path, folder, QString()).contains(u'/'));
    FUZZ_CHECK(TidyName(path).size() == path.size() && TidyQth(TidyQth(path)) == TidyQth(path));
    return 0;
}
