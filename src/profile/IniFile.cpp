#include "profile/IniFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype MaxValueLength = 254;

QString Reason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case EROFS:
        return QStringLiteral("the disk is read-only");
    case EACCES:
    case EPERM:
        return QStringLiteral("the system refused access to it");
    case ENOENT:
        return QStringLiteral("its folder does not exist");
    case ENOTDIR:
        return QStringLiteral("a file stands where one of its folders should be");
    case EISDIR:
        return QStringLiteral("a folder has that name");
    case ENAMETOOLONG:
        return QStringLiteral("its name is too long");
    default:
        return QStringLiteral("the system reported: ") + qt_error_string(error);
    }
}

QString TooLarge(const QString& verb = QStringLiteral("is")) {
    return QStringLiteral("it %1 larger than %2 MiB")
        .arg(verb)
        .arg(MaxIniFileBytes / (qsizetype{1024} * 1024));
}

bool Exists(const QByteArray& name) {
    struct stat status;
    return ::stat(name.constData(), &status) == 0;
}

// The name in the platform's encoding (UTF-8) unless only its Latin-1 spelling exists.
QByteArray NativeName(const QString& path) {
    QByteArray utf8 = QFile::encodeName(path);
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const QStringView name = QStringView(path).sliced(nameStart);
    const bool latin1 = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (!latin1 || Exists(utf8)) return utf8;
    const QByteArray spelledInLatin1 = QFile::encodeName(path.first(nameStart)) + name.toLatin1();
    return Exists(spelledInLatin1) ? spelledInLatin1 : utf8;
}

QString CouldNotRead() {
    return QStringLiteral("the system could not read it");
}

// The bytes of an ordinary file open for reading, or why they cannot be had; closes the descriptor.
std::variant<QByteArray, QString> ReadWhole(int descriptor) {
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return CouldNotRead();
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0) return Reason(errno);
    if (S_ISDIR(status.st_mode)) return Reason(EISDIR);
    if (!S_ISREG(status.st_mode)) return QStringLiteral("it is not an ordinary file");
    if (status.st_size > MaxIniFileBytes) return TooLarge();
    const QByteArray bytes = file.read(MaxIniFileBytes + 1);
    if (file.error() != QFileDevice::NoError) return CouldNotRead();
    if (bytes.size() > MaxIniFileBytes) return TooLarge();
    return bytes;
}

bool WriteAll(int descriptor, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) bytes = bytes.sliced(written);
    }
    return true;
}

// A short name, so that it fits beside a file whose own name is as long as the system allows.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& temporary) {
    const QByteArray folder = target.first(target.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + ".tandrel-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// A link to a profile stays a link: the file it points at is replaced. A link that points at nothing
// (a file on a disk not mounted) is not replaced by a file: nothing then.
std::optional<QByteArray> ResolvedTarget(const QByteArray& name) {
    if (char* resolved = ::realpath(name.constData(), nullptr)) {
        const QByteArray target(resolved);
        std::free(resolved);
        return target;
    }
    struct stat status;
    if (::lstat(name.constData(), &status) == 0 && S_ISLNK(status.st_mode)) return std::nullopt;
    return name;
}

FileProblem ReplaceWhole(const QByteArray& name, const QByteArray& bytes) {
    const std::optional<QByteArray> resolved = ResolvedTarget(name);
    if (!resolved) return QStringLiteral("it is a link to a file that is not there");
    const QByteArray& target = *resolved;
    QByteArray temporary;
    const int descriptor = CreateTemporaryBeside(target, temporary);
    if (descriptor < 0) return Reason(errno);
    if (struct stat old; ::stat(target.constData(), &old) == 0) ::fchmod(descriptor, old.st_mode & 07777);
    int error = WriteAll(descriptor, bytes) && ::fsync(descriptor) == 0 ? 0 : errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) error = errno;
    if (error == 0) return std::nullopt;
    ::unlink(temporary.constData());
    return Reason(error);
}

} // namespace

IniLoad LoadIniFile(const QString& file) {
    // Not blocking, so that a named pipe in the file's place is refused rather than waited on.
    const int descriptor = ::open(NativeName(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return errno == ENOENT || errno == ENOTDIR ? IniLoad{} : IniLoad{{}, Reason(errno)};
    auto bytes = ReadWhole(descriptor);
    if (auto* problem = std::get_if<QString>(&bytes)) return {{}, *problem};
    auto parsed = IniDocument::Parse(std::get<QByteArray>(bytes));
    if (auto* problem = std::get_if<QString>(&parsed)) return {{}, *problem};
    return {std::move(std::get<IniDocument>(parsed)), std::nullopt};
}

bool IniFileExists(const QString& file) {
    return Exists(NativeName(file));
}

FileProblem SaveIniFile(const QString& file, const IniDocument& document) {
    if (!document.IsChanged()) return std::nullopt;
    const QByteArray bytes = document.FileBytes();
    if (bytes.size() > MaxIniFileBytes) return TooLarge(QStringLiteral("would be"));
    return ReplaceWhole(NativeName(file), bytes);
}

QString CutIniValue(const std::optional<QString>& value, const QString& defaultValue) {
    QString cut = value.value_or(defaultValue);
    if (cut.size() <= MaxValueLength) return cut;
    cut.truncate(cut.at(MaxValueLength - 1).isHighSurrogate() ? MaxValueLength - 1 : MaxValueLength);
    return cut;
}

QString ReadIniValue(const QString& file, const QString& section, const QString& key,
                     const QString& defaultValue) {
    return CutIniValue(LoadIniFile(file).document.Value(section, key), defaultValue);
}

void ReplaceLineBreaks(QString& value) {
    value.replace(u'\r', u' ').replace(u'\n', u' ');
}

void WriteIniValue(const QString& file, const QString& section, const QString& key, QString& value) {
    ReplaceLineBreaks(value);
    IniLoad load = LoadIniFile(file);
    if (load.problem) return;
    load.document.SetValue(section, key, value);
    SaveIniFile(file, load.document);
}
