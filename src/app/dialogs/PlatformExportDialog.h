#pragma once

#include "app/dialogs/PlatformExportChoices.h"
#include "design/IconDesign.h"
#include "platforms/PlatformExport.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <utility>

class PlatformExportJob;
class Prompter;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;

// "Export for Platforms…": the targets, the name of the sets and of the app, a build flavour's
// badge, the output folder and whether existing files are replaced, starting from the choices of
// the last export. Export asks
// for the latest design, writes the sets off the GUI thread with a progress bar and a Cancel that
// stops between files, and ends with one summary that offers to open the folder.
class PlatformExportDialog : public QDialog {
    Q_OBJECT

public:
    // `latestDesign` brings the editor's design up to date and returns it. The prompter
    // chooses the folder and shows the summary; it must outlive the dialog.
    PlatformExportDialog(Prompter& prompter, std::function<IconDesign()> latestDesign,
                         QWidget* parent = nullptr);

    // Closing while the export runs cancels it instead; the summary closes the dialog.
    void reject() override;

signals:
    // The badge the choices hold changed, for a preview of it; once more as the dialog closes,
    // with the badge of the last export.
    void badgeChanged(const Badge& badge);

private:
    void ShowChoices(const PlatformExportChoices& choices);
    PlatformExportChoices Choices() const;
    // What keeps Export disabled, for the user; empty when the choices can be exported.
    QString ChoicesProblem() const;
    void UpdateExportEnabled();
    void ChooseFolder();
    void StartExport();
    void ShowProgress(int done, int total);
    void Finish(const PlatformExport::Result& result);
    void SetRunning(bool running);

    Prompter& m_prompter;
    std::function<IconDesign()> m_latestDesign;
    PlatformExportJob* m_job;
    QList<std::pair<PlatformTarget, QCheckBox*>> m_targetBoxes; // in the targets' order
    QLineEdit* m_nameField;
    QLineEdit* m_appNameField;
    QLineEdit* m_badgeField;
    QComboBox* m_badgeStyle;
    QComboBox* m_badgePosition;
    QLineEdit* m_folderField;
    QCheckBox* m_replaceExisting;
    QLabel* m_problem;
    QProgressBar* m_progress;
    QDialogButtonBox* m_buttons;
    QWidget* m_choicesPanel;
    int m_planned = 0;
};
