#pragma once

#include "export/Prompter.h"

class ViewController;

// Opens the profile named on the command line through the editor's own Load command, so it is
// loaded, titled and, when it cannot be read, refused exactly as Load would: this prompter
// answers Load's one open-file question with the path and passes every other question on to
// the window's own prompter.
class StartupProfilePrompter : public Prompter {
public:
    explicit StartupProfilePrompter(Prompter& window);

    // Runs Load on `controller` (which must ask through this prompter) with `path` as the
    // chosen file.
    void OpenProfile(ViewController& controller, const QString& path);

    int Ask(const QString& message, const QStringList& buttons) override;
    int AskWithDetails(const QString& message, const QString& details,
                       const QStringList& buttons) override;
    int Tell(const QString& message, const QString& details, const QStringList& buttons) override;
    std::optional<QString> ChooseFolder(const QString& prompt) override;
    std::optional<QString> ChooseSaveFile(const QString& defaultName,
                                          const QString& extension) override;
    std::optional<QString> ChooseOpenFile(const QStringList& extensions) override;

private:
    Prompter& m_window;
    std::optional<QString> m_pendingPath; // the answer to the next open-file question
};
