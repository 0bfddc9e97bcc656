#pragma once

#include <QString>
#include <optional>

// Message boxes, the input box and the file choosers, so that tests can answer them.
class Prompts {
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompts() = default;
    // An empty caption shows the application title.
    virtual Answer MessageBox(const QString& text, const QString& caption, Buttons buttons) = 0;
    // The typed answer, or nothing when the box was cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& caption,
                                            const QString& defaultAnswer) = 0;
    // The chosen path, or an empty text when the chooser was cancelled.
    virtual QString SaveFileName(const QString& title, const QString& folder, const QString& filter,
                                 const QString& suggestedName) = 0;
    virtual QString OpenFileName(const QString& title, const QString& folder, const QString& filter,
                                 const QString& suggestedName) = 0;
};
