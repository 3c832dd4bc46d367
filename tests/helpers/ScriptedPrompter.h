#pragma once

#include "export/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A Prompter for tests: answers from scripts and records every question asked. A one-button
// alert is acknowledged without using an answer; once the script runs out a question ends
// "another way" (-1).
class ScriptedPrompter : public Prompter {
public:
    struct Question {
        QString message;
        QStringList buttons;
        QString details;   // empty unless asked with details
        bool good = false; // told as news that all went well, not asked or alerted
    };

    QList<int> answers; // for Ask, in order: the index of the button to press
    // For the choosers, in order; nullopt cancels.
    QList<std::optional<QString>> folders;
    QList<std::optional<QString>> saveFiles;
    QList<std::optional<QString>> openFiles;

    QList<Question> questions; // everything asked, in order
    QStringList folderPrompts;
    QList<QPair<QString, QString>> saveRequests; // default name, extension
    QList<QStringList> openRequests;

    int Ask(const QString& message, const QStringList& buttons) override {
        return AskWithDetails(message, QString(), buttons);
    }

    int AskWithDetails(const QString& message, const QString& details,
                       const QStringList& buttons) override {
        questions.append({message, buttons, details});
        if (buttons.size() == 1)
            return 0;
        return answers.isEmpty() ? -1 : answers.takeFirst();
    }

    int Tell(const QString& message, const QString& details, const QStringList& buttons) override {
        const int answer = AskWithDetails(message, details, buttons);
        questions.last().good = true;
        return answer;
    }

    std::optional<QString> ChooseFolder(const QString& prompt) override {
        folderPrompts.append(prompt);
        return folders.isEmpty() ? std::nullopt : folders.takeFirst();
    }

    std::optional<QString> ChooseSaveFile(const QString& defaultName,
                                          const QString& extension) override {
        saveRequests.append({defaultName, extension});
        return saveFiles.isEmpty() ? std::nullopt : saveFiles.takeFirst();
    }

    std::optional<QString> ChooseOpenFile(const QStringList& extensions) override {
        openRequests.append(extensions);
        return openFiles.isEmpty() ? std::nullopt : openFiles.takeFirst();
    }

    QStringList Messages() const {
        QStringList messages;
        for (const Question& question : questions)
            messages.append(question.message);
        return messages;
    }
};
