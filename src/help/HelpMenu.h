#pragma once

#include "help/AboutBox.h"

#include <QObject>
#include <QPointer>

class QMenuBar;

// The Help menu, which opens the two documents, and the About command on the menu bar.
class HelpMenu : public QObject {
    Q_OBJECT
public:
    HelpMenu(QMenuBar* menuBar, Shell& shell, Prompts& prompts, QWidget* window);

    // Shutdown closes the About box when it is open.
    void CloseAbout();

private:
    void OpenDocument(const QString& name);
    void ShowAbout();

    Shell& shell_;
    Prompts& prompts_;
    QWidget* window_;
    QPointer<AboutBox> about_;
};
