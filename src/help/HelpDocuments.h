#pragma once

#include "platform/Prompts.h"
#include "platform/Shell.h"

#include <QStringList>

// The two documents of the Help menu: the user guide and the description of the unit.
inline QString HelpPageName() {
    return QStringLiteral("TndlHelp.htm");
}
inline QString SchematicName() {
    return QStringLiteral("Tandrel Schematic.pdf");
}

// Where the documents are looked for: beside the executable (a program carried on a stick, or run from
// its build folder), then the data folder of the installed program.
QStringList DocumentFolders();

// The document in the first folder that holds it; in the first folder when none does, so that the
// shell reports it missing.
QString DocumentPath(const QString& name, const QStringList& folders);

// The message for a shell result of 32 or less; an empty text for the results above, which mean the
// document opened.
QString ShellResultText(int result);

// Opens a document with the desktop's application for it; a failure is told in a message box
// captioned with the application title.
void OpenHelpDocument(const QString& path, Shell& shell, Prompts& prompts);
