#pragma once

#include "platform/Shell.h"

#include <QFileInfo>
#include <QStringList>

// A desktop where only the listed programs are installed and documents of one type have no application;
// it keeps what it was asked to open and start.
class FakeShell : public Shell {
public:
    int OpenDocument(const QString& path) override {
        opened << path;
        if (!QFileInfo::exists(path)) return FileNotFound;
        return QFileInfo(path).suffix() == unassociatedSuffix ? NoAssociation : Opened;
    }
    QString FindProgram(const QString& name) override {
        return installed.contains(name) ? "/usr/bin/" + name : QString();
    }
    bool StartProgram(const QString& program) override {
        started << program;
        return true;
    }

    QString unassociatedSuffix = QStringLiteral("pdf");
    QStringList installed;
    QStringList opened;
    QStringList started;
};
