#include "help/HelpMenu.h"

#include "help/HelpDocuments.h"
#include "platform/WindowPlacement.h"

#include <QMenuBar>

HelpMenu::HelpMenu(QMenuBar* menuBar, Shell& shell, Prompts& prompts, QWidget* window)
    : QObject(window), shell_(shell), prompts_(prompts), window_(window) {
    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Document"), this, [this] { OpenDocument(HelpPageName()); })
        ->setObjectName(QStringLiteral("mnuHelpDocument"));
    help->addAction(QStringLiteral("Interface"), this, [this] { OpenDocument(SchematicName()); })
        ->setObjectName(QStringLiteral("mnuHelpInterface"));
    menuBar->addAction(QStringLiteral("&About"), this, [this] { ShowAbout(); })
        ->setObjectName(QStringLiteral("AboutOption"));
}

void HelpMenu::CloseAbout() {
    if (about_) about_->close();
}

void HelpMenu::OpenDocument(const QString& name) {
    OpenHelpDocument(DocumentPath(name, DocumentFolders()), shell_, prompts_);
}

// An About box already open is brought to the front rather than shown twice.
void HelpMenu::ShowAbout() {
    if (!about_) about_ = new AboutBox(shell_, prompts_, window_);
    ShowCentredOn(about_, window_);
}
