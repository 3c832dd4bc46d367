#include "app/dialogs/PlatformExportDialog.h"

#include "app/dialogs/PlatformExportJob.h"
#include "app/dialogs/PlatformExportSummary.h"
#include "export/Prompter.h"
#include "platforms/PlatformPlan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A clause of the plan's own wording begins a sentence here.
QString AsSentence(const QString& clause) {
    return clause.isEmpty() ? clause : clause.front().toUpper() + clause.mid(1) + u'.';
}

} // namespace

PlatformExportDialog::PlatformExportDialog(Prompter& prompter,
                                           std::function<IconDesign()> latestDesign,
                                           QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_latestDesign(std::move(latestDesign)),
      m_job(new PlatformExportJob(this)), m_nameField(new QLineEdit), m_appNameField(new QLineEdit),
      m_badgeField(new QLineEdit), m_badgeStyle(new QComboBox), m_badgePosition(new QComboBox),
      m_folderField(new QLineEdit), m_replaceExisting(new QCheckBox(tr("&Replace existing files"))),
      m_problem(new QLabel), m_progress(new QProgressBar),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      m_choicesPanel(new QWidget) {
    setWindowTitle(tr("Export for Platforms"));
    // Room for a folder path of some depth without scrolling it.
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    auto* targets = new QGroupBox(tr("Platforms"));
    auto* targetGrid = new QGridLayout(targets);
    const QList<PlatformTarget> all = PlatformTargets::AllPlatformSets();
    for (qsizetype i = 0; i < all.size(); ++i) {
        const PlatformTargetRow& row = PlatformTargets::RowOf(all[i]);
        auto* box = new QCheckBox(tr(row.label));
        box->setObjectName(QStringLiteral("target_") + QLatin1String(row.word));
        connect(box, &QCheckBox::toggled, this, &PlatformExportDialog::UpdateExportEnabled);
        targetGrid->addWidget(box, int(i / 2), int(i % 2));
        m_targetBoxes.append({all[i], box});
    }

    m_nameField->setObjectName(QStringLiteral("nameField"));
    m_nameField->setToolTip(tr("Used in the names of the files and folders of every set"));
    m_appNameField->setObjectName(QStringLiteral("appNameField"));
    m_appNameField->setPlaceholderText(tr("The name of the sets"));
    m_appNameField->setToolTip(tr("The app's name as people see it, such as a web app's name"));
    m_badgeField->setObjectName(QStringLiteral("badgeField"));
    m_badgeField->setPlaceholderText(tr("None"));
    m_badgeField->setToolTip(
        tr("A build flavour's badge, such as DEV or BETA 2.3, drawn into every icon of the sets"));
    m_badgeStyle->setObjectName(QStringLiteral("badgeStyle"));
    m_badgeStyle->addItems({tr("Label"), tr("Ribbon")});
    m_badgePosition->setObjectName(QStringLiteral("badgePosition"));
    m_badgePosition->addItems({tr("Top left"), tr("Top"), tr("Top right"), tr("Bottom left"),
                               tr("Bottom"), tr("Bottom right")});
    auto* badgeRow = new QHBoxLayout;
    badgeRow->addWidget(m_badgeField, 1);
    badgeRow->addWidget(m_badgeStyle);
    badgeRow->addWidget(m_badgePosition);
    m_folderField->setObjectName(QStringLiteral("folderField"));
    auto* chooseFolder = new QPushButton(tr("C&hoose…"));
    chooseFolder->setObjectName(QStringLiteral("chooseFolderButton"));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folderField, 1);
    folderRow->addWidget(chooseFolder);
    m_replaceExisting->setObjectName(QStringLiteral("replaceExisting"));
    m_problem->setObjectName(QStringLiteral("problemLabel"));
    m_problem->setWordWrap(true);
    m_problem->setForegroundRole(QPalette::PlaceholderText);

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), m_nameField);
    form->addRow(tr("&App name:"), m_appNameField);
    auto* badgeLabel = new QLabel(tr("&Badge:"));
    badgeLabel->setBuddy(m_badgeField);
    form->addRow(badgeLabel, badgeRow);
    // A row holding a layout gets no buddy of its own; the label needs one for its shortcut.
    auto* folderLabel = new QLabel(tr("&Folder:"));
    folderLabel->setBuddy(m_folderField);
    form->addRow(folderLabel, folderRow);
    form->addRow(QString(), m_replaceExisting);

    auto* choicesLayout = new QVBoxLayout(m_choicesPanel);
    choicesLayout->setContentsMargins({});
    choicesLayout->addWidget(targets);
    choicesLayout->addLayout(form);

    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setFormat(tr("%v of %m files"));
    m_progress->hide();
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("&Export"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_choicesPanel);
    layout->addWidget(m_problem);
    layout->addWidget(m_progress);
    layout->addWidget(m_buttons);

    connect(m_nameField, &QLineEdit::textChanged, this, &PlatformExportDialog::UpdateExportEnabled);
    connect(m_folderField, &QLineEdit::textChanged, this,
            &PlatformExportDialog::UpdateExportEnabled);
    const auto badgeEdited = [this] {
        UpdateExportEnabled();
        emit badgeChanged(Choices().badge);
    };
    connect(m_badgeField, &QLineEdit::textChanged, this, badgeEdited);
    connect(m_badgeStyle, &QComboBox::currentIndexChanged, this, badgeEdited);
    connect(m_badgePosition, &QComboBox::currentIndexChanged, this, badgeEdited);
    connect(chooseFolder, &QPushButton::clicked, this, &PlatformExportDialog::ChooseFolder);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PlatformExportDialog::StartExport);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PlatformExportDialog::reject);
    connect(m_job, &PlatformExportJob::progressed, this, &PlatformExportDialog::ShowProgress);
    connect(m_job, &PlatformExportJob::finished, this, &PlatformExportDialog::Finish);

    // Closed, the dialog holds the badge of the last export again.
    connect(this, &QDialog::finished, this,
            [this] { emit badgeChanged(PlatformExportChoices::Remembered().badge); });

    ShowChoices(PlatformExportChoices::Remembered());
}

void PlatformExportDialog::ShowChoices(const PlatformExportChoices& choices) {
    for (const auto& [target, box] : m_targetBoxes)
        box->setChecked(choices.targets.contains(target));
    m_nameField->setText(choices.name);
    m_appNameField->setText(choices.appName);
    m_folderField->setText(choices.folder);
    m_replaceExisting->setChecked(choices.replaceExisting);
    m_badgeField->setText(choices.badge.text);
    m_badgeStyle->setCurrentIndex(int(choices.badge.style));
    m_badgePosition->setCurrentIndex(int(choices.badge.position));
    UpdateExportEnabled();
}

PlatformExportChoices PlatformExportDialog::Choices() const {
    PlatformExportChoices choices;
    choices.targets.clear();
    // In running order, as the boxes are.
    for (const auto& [target, box] : m_targetBoxes) {
        if (box->isChecked())
            choices.targets.append(target);
    }
    choices.name = m_nameField->text();
    choices.appName = m_appNameField->text();
    choices.folder = m_folderField->text().trimmed();
    choices.replaceExisting = m_replaceExisting->isChecked();
    choices.badge.text = m_badgeField->text();
    choices.badge.style = Badge::Style(m_badgeStyle->currentIndex());
    choices.badge.position = Badge::Position(m_badgePosition->currentIndex());
    return choices;
}

QString PlatformExportDialog::ChoicesProblem() const {
    const PlatformExportChoices choices = Choices();
    if (const QString problem = PlatformPlan::NameProblem(choices.name); !problem.isEmpty())
        return AsSentence(problem);
    if (choices.targets.isEmpty())
        return tr("Choose at least one platform.");
    if (choices.folder.isEmpty())
        return tr("Choose the folder the sets are written into.");
    // The command line fills it from --version; here the badge says the version itself.
    if (choices.badge.text.contains(QStringLiteral("{version}")))
        return tr("Write the version into the badge in place of {version}.");
    return {};
}

void PlatformExportDialog::UpdateExportEnabled() {
    const QString problem = ChoicesProblem();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty() && !m_job->IsRunning());
}

void PlatformExportDialog::ChooseFolder() {
    const std::optional<QString> folder = m_prompter.ChooseFolder(tr("Select Folder"));
    if (folder && !folder->isEmpty())
        m_folderField->setText(*folder);
}

void PlatformExportDialog::StartExport() {
    if (!ChoicesProblem().isEmpty() || m_job->IsRunning())
        return;
    const PlatformExportChoices choices = Choices();
    choices.Remember();
    const IconDesign design = m_latestDesign();
    if (const QString problem = PlatformExport::DesignProblem(design); !problem.isEmpty()) {
        m_prompter.Alert(problem);
        return;
    }
    const QList<PlannedFile> plan = PlatformPlan::Files(
        choices.targets,
        MakePlatformSetOptions(design, choices.name, choices.appName, choices.badge));
    m_planned = int(plan.size());
    m_job->Start(design, plan, choices.folder, choices.replaceExisting, choices.badge);
    SetRunning(true);
    ShowProgress(0, m_planned);
}

void PlatformExportDialog::ShowProgress(int done, int total) {
    m_progress->setRange(0, total);
    m_progress->setValue(done);
}

void PlatformExportDialog::Finish(const PlatformExport::Result& result) {
    SetRunning(false);
    constexpr int kOpenFolder = 0;
    const QString folder = Choices().folder;
    const PlatformExportSummary summary = PlatformExportSummary::Of(result, m_planned);
    const QStringList buttons{tr("Open Folder"), tr("OK")};
    // Details list failed files: without them, all that was planned went well.
    const int chosen = summary.details.isEmpty()
                           ? m_prompter.Tell(summary.message, summary.details, buttons)
                           : m_prompter.AskWithDetails(summary.message, summary.details, buttons);
    if (chosen == kOpenFolder)
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    accept();
}

void PlatformExportDialog::SetRunning(bool running) {
    m_choicesPanel->setEnabled(!running);
    m_progress->setVisible(running);
    UpdateExportEnabled();
}

void PlatformExportDialog::reject() {
    if (m_job->IsRunning()) {
        m_job->Stop();
        // The file being written is still completed; the summary follows when it is.
        m_buttons->button(QDialogButtonBox::Cancel)->setEnabled(false);
    } else
        QDialog::reject();
}
