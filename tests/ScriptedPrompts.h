#pragma once

#include "platform/Prompts.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// Answers the program's questions from a script and keeps every text it showed.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString text;
        QString caption;
    };

    Answer MessageBox(const QString& text, const QString& caption, Buttons buttons) override {
        shown.push_back({text, caption});
        if (whileShown) whileShown();
        if (buttons == Buttons::Ok) return Answer::Ok;
        return Take(answers, Answer::No);
    }
    std::optional<QString> InputBox(const QString& prompt, const QString& caption,
                                    const QString& defaultAnswer) override {
        shown.push_back({prompt, caption});
        inputDefaults.push_back(defaultAnswer);
        return Take(inputAnswers, std::optional<QString>());
    }
    QString SaveFileName(const QString& title, const QString& folder, const QString&,
                         const QString&) override {
        shown.push_back({title, folder});
        return Take(fileAnswers, QString());
    }
    QString OpenFileName(const QString& title, const QString& folder, const QString&,
                         const QString&) override {
        shown.push_back({title, folder});
        return Take(fileAnswers, QString());
    }

    // Runs while a message box is shown, as events do while the operator has not answered.
    std::function<void()> whileShown;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers;
    std::vector<Shown> shown;
    QStringList inputDefaults;

private:
    template <typename T> static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};
