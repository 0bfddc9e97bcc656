#pragma once

#include "platform/Prompts.h"

class QWidget;

// Prompts shown with Qt's standard dialogs, owned by the main window.
class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    Answer MessageBox(const QString& text, const QString& caption, Buttons buttons) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& caption,
                                    const QString& defaultAnswer) override;
    QString SaveFileName(const QString& title, const QString& folder, const QString& filter,
                         const QString& suggestedName) override;
    QString OpenFileName(const QString& title, const QString& folder, const QString& filter,
                         const QString& suggestedName) override;

private:
    QWidget* parent_;
};
