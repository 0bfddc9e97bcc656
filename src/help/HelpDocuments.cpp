#include "help/HelpDocuments.h"

#include "help/ApplicationIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <map>

QStringList DocumentFolders() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(),
            QDir::cleanPath(program.filePath(QStringLiteral(TANDREL_DOCUMENTS_FROM_PROGRAM)))};
}

QString DocumentPath(const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) return path;
    }
    return QDir(folders.value(0)).filePath(name);
}

QString ShellResultText(int result) {
    static const std::map<int, const char*> texts{
        {2, "File not found"},
        {3, "Path not found"},
        {5, "Access denied"},
        {8, "Out of memory"},
        {11, "Invalid EXE file or error in EXE image"},
        {26, "A sharing violation occurred"},
        {27, "Incomplete or invalid file association"},
        {28, "DDE Time out"},
        {29, "DDE transaction failed"},
        {30, "DDE busy"},
        {31, "No association for file extension"},
        {32, "DLL not found"},
    };
    if (result > 32) return QString();
    const auto found = texts.find(result);
    return QString::fromLatin1(found != texts.end() ? found->second : "Unknown error");
}

void OpenHelpDocument(const QString& path, Shell& shell, Prompts& prompts) {
    const QString failure = ShellResultText(shell.OpenDocument(path));
    if (!failure.isEmpty()) prompts.MessageBox(failure, ApplicationTitle(), Prompts::Buttons::Ok);
}
