#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every modal question, alert and file chooser goes through this interface: the window answers
// with real dialogs, the command line and the tests with scripted answers. Alerts carry an
// empty title line, the whole message as informative text and the warning style.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows the message with the buttons in this order and returns the index of the button
    // chosen, or -1 when the alert ended another way.
    virtual int Ask(const QString& message, const QStringList& buttons) = 0;

    // As Ask, with `details` (a list of files, say) kept out of the message in an area the
    // user can open. Where there is no such area the details follow the message.
    virtual int AskWithDetails(const QString& message, const QString& details,
                               const QStringList& buttons) {
        return Ask(details.isEmpty() ? message : message + QStringLiteral("\n\n") + details,
                   buttons);
    }

    // As AskWithDetails, for news that all went well: the window shows it in the information
    // style rather than the warning one.
    virtual int Tell(const QString& message, const QString& details, const QStringList& buttons) {
        return AskWithDetails(message, details, buttons);
    }

    // A folder chooser whose accept button reads `prompt`. nullopt when cancelled; an empty
    // string when the chooser closed without a folder.
    virtual std::optional<QString> ChooseFolder(const QString& prompt) = 0;

    // A save panel starting at `defaultName` for files of `extension` (no dot). nullopt when
    // cancelled.
    virtual std::optional<QString> ChooseSaveFile(const QString& defaultName,
                                                  const QString& extension) = 0;

    // An open panel for one file with one of `extensions` (no dots). nullopt when cancelled.
    virtual std::optional<QString> ChooseOpenFile(const QStringList& extensions) = 0;

    // A failure message with its one "OK" button.
    void Alert(const QString& message) { Ask(message, {QStringLiteral("OK")}); }

    // A message that all went well, with its one "OK" button.
    void Inform(const QString& message) { Tell(message, QString(), {QStringLiteral("OK")}); }
};
