#include "app/window/StartupProfile.h"

#include "app/window/ViewController.h"

StartupProfilePrompter::StartupProfilePrompter(Prompter& window) : m_window(window) {}

void StartupProfilePrompter::OpenProfile(ViewController& controller, const QString& path) {
    m_pendingPath = path;
    controller.OnLoadProfile();
    // Load asks for a file only after any unsaved changes are confirmed; a path it did not ask
    // for must not answer the user's next Load.
    m_pendingPath.reset();
}

int StartupProfilePrompter::Ask(const QString& message, const QStringList& buttons) {
    return m_window.Ask(message, buttons);
}

int StartupProfilePrompter::AskWithDetails(const QString& message, const QString& details,
                                           const QStringList& buttons) {
    return m_window.AskWithDetails(message, details, buttons);
}

int StartupProfilePrompter::Tell(const QString& message, const QString& details,
                                 const QStringList& buttons) {
    return m_window.Tell(message, details, buttons);
}

std::optional<QString> StartupProfilePrompter::ChooseFolder(const QString& prompt) {
    return m_window.ChooseFolder(prompt);
}

std::optional<QString> StartupProfilePrompter::ChooseSaveFile(const QString& defaultName,
                                                              const QString& extension) {
    return m_window.ChooseSaveFile(defaultName, extension);
}

std::optional<QString> StartupProfilePrompter::ChooseOpenFile(const QStringList& extensions) {
    if (m_pendingPath)
        return std::exchange(m_pendingPath, std::nullopt);
    return m_window.ChooseOpenFile(extensions);
}
