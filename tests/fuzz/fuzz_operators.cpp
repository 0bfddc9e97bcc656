// The operator-file rules. Input: a profile path. Each rule's promise is one check; a new rule adds
// its own line.

#include "FuzzInput.h"
#include "operators/OperatorFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = FuzzParts(data, size, 1).Text(0);
    const QString name = FileNamePart(path), base = OperatorBaseName(path);
    FUZZ_CHECK(!name.contains(u'/') && path.endsWith(name));
    FUZZ_CHECK(!base.contains(u'.') && name.startsWith(base) && (base == name || name[base.size()] == u'.'));
    FUZZ_CHECK(TitleForOperatorFile(path) == QStringLiteral("Vesk Tandrel.....") + base);
    return 0;
}
