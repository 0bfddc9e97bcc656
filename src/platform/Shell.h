#pragma once

#include <QString>

// The desktop's document opening and program starting, so that tests can stand in for the desktop.
class Shell {
public:
    // Results of OpenDocument, in the numbers the Help menu's messages are keyed by; any result above
    // 32 means the document was handed to its application.
    static constexpr int FileNotFound = 2;
    static constexpr int PathNotFound = 3;
    static constexpr int AccessDenied = 5;
    static constexpr int NoAssociation = 31;
    static constexpr int Opened = 33;

    virtual ~Shell() = default;
    // Opens a document with the application the desktop associates with its type; returns at once.
    virtual int OpenDocument(const QString& path) = 0;
    // The full path of a program found on PATH, or an empty text.
    virtual QString FindProgram(const QString& name) = 0;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool StartProgram(const QString& program) = 0;
};
