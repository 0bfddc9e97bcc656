#pragma once

#include "platform/Shell.h"

// The freedesktop.org desktop: the MIME type's default application (as xdg-mime reports it) opens a
// document; programs are looked up on PATH.
class DesktopShell : public Shell {
public:
    int OpenDocument(const QString& path) override;
    QString FindProgram(const QString& name) override;
    bool StartProgram(const QString& program) override;
};
