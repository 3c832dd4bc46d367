#pragma once

#include <QObject>
#include <QString>

class Prompter;
class ViewController;

// The editor's profile files and the unsaved work they guard: New, Save, Save As and Load, the
// question before unsaved changes go (Save, Don't Save, Cancel; closing it cancels), and the
// window title that names the open profile and carries the unsaved-changes marker.
class ProfileCommands : public QObject {
    Q_OBJECT

public:
    ProfileCommands(ViewController& editor, Prompter& prompter);

    const QString& currentPath() const { return m_currentProfilePath; }

    void New();
    void Save();
    void SaveAs();
    void Load();
    // Writes the design to the current path and names the profile in the title.
    void SaveCurrent();
    // Opens the file as Load does once a file is chosen; false, with the user told why, when it
    // cannot be read. OpenAsked first asks about unsaved changes.
    bool Open(const QString& path);
    void OpenAsked(const QString& path);

    // Takes the design the controls hold as the unsaved changes to the profile at the path
    // (none: a design never saved), with its history starting from it.
    void TakeRecovered(const QString& path);

    void MarkAsModified();
    bool HasUnsavedChanges() const;
    // True when the user let unsaved changes go, or saved them.
    bool ConfirmDiscard(const QString& question);
    bool ConfirmQuit();

signals:
    // The design changed; the title carries the unsaved-changes marker.
    void modified();
    // The design has no unsaved changes any more: saved, opened, or let go for a new one.
    void changesSettled();

private:
    void SetTitle(const QString& title);
    // The controls hold the design of the profile at the path (absolute, or none).
    void ShowDesignOf(const QString& path);

    ViewController& m_editor;
    Prompter& m_prompter;
    QString m_currentProfilePath;
};
