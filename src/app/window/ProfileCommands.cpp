#include "app/window/ProfileCommands.h"

#include "app/base/FailureMessage.h"
#include "app/window/ViewController.h"
#include "export/Prompter.h"
#include "profiles/ProfileFile.h"
#include "profiles/WindowTitle.h"

#include <QFileInfo>

ProfileCommands::ProfileCommands(ViewController& editor, Prompter& prompter)
    : QObject(&editor), m_editor(editor), m_prompter(prompter) {}

namespace {

const QString kDiscardQuestion = QStringLiteral(
    "Do you want to save the changes to this design? Your changes will be lost if you don't "
    "save them.");
const QString kExitQuestion = QStringLiteral(
    "Do you want to save the changes to this design before you quit? Your changes will be lost "
    "if you don't save them.");

} // namespace

void ProfileCommands::SetTitle(const QString& title) {
    if (m_editor.window() != &m_editor)
        m_editor.window()->setWindowTitle(title);
    emit changesSettled();
}

void ProfileCommands::ShowDesignOf(const QString& path) {
    m_currentProfilePath = path;
    m_editor.RestartHistory();
    m_editor.UpdateIconPreview();
    SetTitle(path.isEmpty() ? WindowTitle::Untitled() : WindowTitle::ForProfile(path));
}

void ProfileCommands::TakeRecovered(const QString& path) {
    ShowDesignOf(path);
    MarkAsModified();
}

void ProfileCommands::New() {
    if (!ConfirmDiscard(kDiscardQuestion))
        return;
    m_editor.ResetToDefaults();
    m_currentProfilePath.clear();
    SetTitle(WindowTitle::Untitled());
}

void ProfileCommands::Save() {
    m_editor.CommitFieldBeingEdited();
    if (!HasUnsavedChanges())
        return;
    if (m_currentProfilePath.isEmpty())
        SaveAs();
    else
        SaveCurrent();
}

void ProfileCommands::SaveAs() {
    m_editor.CommitFieldBeingEdited();
    const std::optional<QString> path =
        m_prompter.ChooseSaveFile(QStringLiteral("profile.sgp"), QStringLiteral("sgp"));
    if (!path || path->isEmpty())
        return;
    m_currentProfilePath = QFileInfo(*path).absoluteFilePath();
    SaveCurrent();
}

void ProfileCommands::SaveCurrent() {
    const ProfileWriteResult saved =
        WriteProfileFile(m_currentProfilePath, m_editor.MakeProfileText());
    if (!saved) {
        m_prompter.Alert(FailureMessage::Compose(QStringLiteral("Could not save profile."),
                                                 m_currentProfilePath, saved.reason));
        return;
    }
    SetTitle(WindowTitle::ForProfile(m_currentProfilePath));
    emit m_editor.profileOpened(m_currentProfilePath);
}

void ProfileCommands::Load() {
    if (!ConfirmDiscard(kDiscardQuestion))
        return;
    const std::optional<QString> path = m_prompter.ChooseOpenFile({QStringLiteral("sgp")});
    if (path && !path->isEmpty())
        Open(*path);
}

bool ProfileCommands::Open(const QString& path) {
    QString text;
    if (!ReadProfileFile(path, text) || !m_editor.ApplyProfileText(text, true)) {
        // The profile that was open stays the one a later Save writes to.
        m_prompter.Alert(FailureMessage::Compose(QStringLiteral("Could not load profile."), path,
                                                 FailureMessage::ReadProblem(path)));
        return false;
    }
    // Absolute, so that a later Save writes this file whatever the working folder is then.
    ShowDesignOf(QFileInfo(path).absoluteFilePath());
    emit m_editor.profileOpened(path);
    return true;
}

void ProfileCommands::OpenAsked(const QString& path) {
    if (ConfirmDiscard(kDiscardQuestion))
        Open(path);
}

void ProfileCommands::MarkAsModified() {
    QWidget* title = m_editor.window();
    if (title == &m_editor)
        return; // not placed in a window
    title->setWindowTitle(WindowTitle::WithMarker(title->windowTitle()));
    emit modified();
}

bool ProfileCommands::HasUnsavedChanges() const {
    const QWidget* title = m_editor.window();
    return title != &m_editor && WindowTitle::HasMarker(title->windowTitle());
}

bool ProfileCommands::ConfirmQuit() {
    return ConfirmDiscard(kExitQuestion);
}

bool ProfileCommands::ConfirmDiscard(const QString& question) {
    m_editor.CommitFieldBeingEdited();
    if (!HasUnsavedChanges())
        return true;
    enum { kSave, kDontSave, kCancel };
    switch (m_prompter.Ask(question, {QStringLiteral("Save"), QStringLiteral("Don't Save"),
                                      QStringLiteral("Cancel")})) {
    case kSave:
        // Saving may ask for a name and may fail; only a saved design goes.
        Save();
        return !HasUnsavedChanges();
    case kDontSave:
        return true;
    default:
        return false;
    }
}
