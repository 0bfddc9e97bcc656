#pragma once

#include "platform/Shell.h"

#include <QFileInfo>
#include <QStringList>

// A desktop with no application for PDF files, on which only the listed programs are installed.
struct FakeShell : Shell {
    int OpenDocument(const QString& path) override {
        opened << path;
        if (!QFileInfo::exists(path)) return FileNotFound;
        return path.endsWith(QStringLiteral(".pdf")) ? NoAssociation : Opened;
    }
    QString FindProgram(const QString& name) override {
        return installed.contains(name) ? "/bin/" + name : "";
    }
    bool StartProgram(const QString& program) override {
        started << program;
        return true;
    }

    QStringList installed, opened, started;
};
