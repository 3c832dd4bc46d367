#include "EditorFixture.h"

#include "app/dialogs/PlatformExportDialog.h"
#include "app/dialogs/PlatformExportSummary.h"
#include "export/RatingCheck.h"
#include "helpers/FolderListing.h"
#include "helpers/PlatformRun.h"
#include "helpers/RefusingImageHelper.h"
#include "helpers/TestImages.h"

namespace {

const QString kSaved = QStringLiteral("Icon(s) saved successfully.");
const QString kRateQuestion = QStringLiteral(
    "If you enjoy using Sigilon, would you mind taking a moment to rate it? Thanks for your "
    "support!");
const QList<int> kMacSizes{16, 32, 64, 128, 256, 512, 1024};
enum Overwrite { Yes = 0, YesToAll = 1, No = 2, NoToAll = 3 };
enum Rate { RateNow = 0 };

const QList<PlatformTarget> AllTargets = PlatformTargets::AllPlatformSets();

// The dialog as the user meets it: opened from the File menu of the editor's window.
class DialogDriver {
public:
    explicit DialogDriver(EditorFixture& editor) : m_editor(editor) {
        editor.Find<QAction>(QStringLiteral("actionExportForPlatforms"))->trigger();
        // A dialog closed before is only deleted later; this is the one on screen.
        for (PlatformExportDialog* dialog : editor.window->findChildren<PlatformExportDialog*>()) {
            if (dialog->isVisible())
                m_dialog = dialog;
        }
    }

    bool IsOpen() const { return m_dialog && m_dialog->isVisible(); }

    QCheckBox* Target(PlatformTarget target) const {
        return Find<QCheckBox>(QStringLiteral("target_") + PlatformTargets::Name(target));
    }
    QLineEdit* NameField() const { return Find<QLineEdit>(QStringLiteral("nameField")); }
    QLineEdit* AppNameField() const { return Find<QLineEdit>(QStringLiteral("appNameField")); }
    QLineEdit* FolderField() const { return Find<QLineEdit>(QStringLiteral("folderField")); }
    QLineEdit* BadgeField() const { return Find<QLineEdit>(QStringLiteral("badgeField")); }
    QCheckBox* Replace() const { return Find<QCheckBox>(QStringLiteral("replaceExisting")); }
    QLabel* Problem() const { return Find<QLabel>(QStringLiteral("problemLabel")); }
    QProgressBar* Progress() const { return Find<QProgressBar>(QStringLiteral("progressBar")); }
    QPushButton* ExportButton() const { return Buttons()->button(QDialogButtonBox::Ok); }
    QPushButton* CancelButton() const { return Buttons()->button(QDialogButtonBox::Cancel); }

    QList<PlatformTarget> CheckedTargets() const {
        QList<PlatformTarget> checked = AllTargets;
        checked.removeIf([this](PlatformTarget target) { return !Target(target)->isChecked(); });
        return checked;
    }

    // Chooses as a user would: the boxes, the typed name, the folder through its chooser.
    void Choose(const QList<PlatformTarget>& targets, const QString& name, const QString& folder,
                bool replace) {
        for (PlatformTarget target : AllTargets)
            if (Target(target)->isChecked() != targets.contains(target))
                UserInput::Click(Target(target));
        UserInput::Type(NameField(), name, false);
        m_editor.prompter.folders = {folder};
        QTest::mouseClick(Find<QPushButton>(QStringLiteral("chooseFolderButton")), Qt::LeftButton);
        if (Replace()->isChecked() != replace)
            UserInput::Click(Replace());
    }

    // Exports, calls `whileRunning` at once, and waits for the one summary; empty when none
    // came.
    QString ExportAndWaitForSummary(const std::function<void()>& whileRunning = [] {}) {
        const qsizetype asked = m_editor.prompter.questions.size();
        QTest::mouseClick(ExportButton(), Qt::LeftButton);
        whileRunning();
        if (!QTest::qWaitFor([&] { return m_editor.prompter.questions.size() > asked; }, 120000))
            return {};
        return m_editor.prompter.questions.last().message;
    }

private:
    template <typename Widget> Widget* Find(const QString& name) const {
        return m_dialog->findChild<Widget*>(name);
    }
    QDialogButtonBox* Buttons() const { return m_dialog->findChild<QDialogButtonBox*>(); }

    EditorFixture& m_editor;
    QPointer<PlatformExportDialog> m_dialog;
};

} // namespace

// Exporting from the window: the size list into a folder chosen in a panel, and "Export for
// Platforms…" through its dialog, each with its questions and its summary.
class tst_ExportFromWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QList<QUrl> m_openedUrls;

    QString IconPath(int size) const {
        return m_folder->filePath(QStringLiteral("Icon%1.png").arg(size));
    }

    // Which render each exported macOS file came from (-1: missing or of the wrong size).
    QList<int> ExportedRenderNumbers() const {
        QList<int> numbers;
        for (int size : kMacSizes) {
            const QImage file(IconPath(size));
            numbers.append(file.size() == QSize(size, size) ? RenderNumber(file, size / 2, size / 2)
                                                            : -1);
        }
        return numbers;
    }

    void Export(EditorFixture& editor) const {
        editor.prompter.folders = {m_folder->path()};
        editor.menu().saveIcons->trigger();
    }

public slots:
    void OpenUrl(const QUrl& url) { m_openedUrls.append(url); }

private slots:
    void initTestCase() { UseOwnSettings(); }

    void init() {
        QSettings("Sigilon", "Sigilon").remove(QStringLiteral("PlatformExport"));
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_openedUrls.clear();
    }

    // The overwrite answers reach the export (their every combination is the export run's
    // concern); the second success asks for a rating, and rating ends the question for good.
    void twiceIntoOneFolderThenTheRatingQuestion() {
        EditorFixture editor;
        editor.menu().saveIcons->trigger(); // the panel cancelled: nothing at all
        QCOMPARE(editor.prompter.folderPrompts, QStringList{"Select Folder"});
        QVERIFY(editor.prompter.questions.isEmpty());
        Export(editor);
        QCOMPARE(editor.prompter.Messages(), QStringList{kSaved});
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 1));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files).size(), kMacSizes.size());
        // Exporting is no edit, and the very first success asks for no rating.
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.ratePreference.value, QStringLiteral("Yes"));

        editor.prompter.questions.clear();
        UserInput::Click(editor.controls().checkTextShadow);
        QVERIFY(editor.WaitUntilIdle());
        editor.prompter.answers = {No, YesToAll, RateNow};
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
        Export(editor);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        // Two overwrite questions (their wording is tst_ExportRun's check), then the summary.
        QCOMPARE(editor.prompter.Messages().mid(2), (QStringList{kSaved, kRateQuestion}));
        QCOMPARE(editor.prompter.questions.last().buttons,
                 (QStringList{"Yes, Rate Sigilon", "Remind me later", "No, Thanks"}));
        QCOMPARE(ExportedRenderNumbers(), (QList<int>{1, 2, 2, 2, 2, 2, 2}));
        QCOMPARE(m_openedUrls, QList<QUrl>{RatingCheck::StorePage()});
        QCOMPARE(editor.ratePreference.value, QStringLiteral("No"));
    }

    // A stepper click waiting for its quiet pause renders for the export, and only then; a
    // number typed but not confirmed counts as the user sees it.
    void aChangeJustBeforeIsExported_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("stepper click") << false;
        QTest::newRow("number typed") << true;
    }
    void aChangeJustBeforeIsExported() {
        QFETCH(bool, typed);
        EditorFixture editor;
        if (typed)
            UserInput::Type(editor.controls().textFieldTextVerticalOffset, "-7", false);
        else
            UserInput::ClickStepper(editor.controls().stepperTextVerticalOffset, +1);
        Export(editor);
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 2));
        QCOMPARE(editor.log->Design(1).textVerticalOffset, typed ? -7.0f : 41.0f);
        QTest::qWait(300);
        QCOMPARE(editor.Renders(), 2);
    }

    // What blocks the export is said beside it, for a name the command line's reason (which
    // names it refuses is its concern). Return exports nothing either.
    void exportIsBlockedWithTheReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("target");
        QTest::addColumn<bool>("folder");
        QTest::newRow("empty name") << "" << true << true;
        QTest::newRow("space") << "My App" << true << true;
        QTest::newRow("no target") << "AppIcon" << false << true;
        QTest::newRow("no folder") << "AppIcon" << true << false;
    }
    void exportIsBlockedWithTheReason() {
        QFETCH(QString, name);
        QFETCH(bool, target);
        QFETCH(bool, folder);
        EditorFixture editor;
        DialogDriver dialog(editor);
        dialog.Choose(target ? QList<PlatformTarget>{PlatformTarget::Windows}
                             : QList<PlatformTarget>{},
                      name, m_folder->path(), false);
        if (!folder)
            dialog.FolderField()->clear();
        QVERIFY(!dialog.ExportButton()->isEnabled());
        QVERIFY(dialog.Problem()->isVisible());
        const QString reason = PlatformPlan::NameProblem(name);
        if (target && folder) {
            QVERIFY(!reason.isEmpty());
            QCOMPARE(dialog.Problem()->text().toLower(), reason.toLower() + u'.');
            if (!name.isEmpty())
                QVERIFY(dialog.Problem()->text().contains(u'"' + name + u'"'));
        }
        QTest::keyClick(dialog.NameField(), Qt::Key_Return);
        QVERIFY(dialog.IsOpen());
        QVERIFY(FolderListing::FilesUnder(m_folder->path()).isEmpty());

        UserInput::Type(dialog.NameField(), QStringLiteral("Fixed_1.0"), false);
        if (!target)
            UserInput::Click(dialog.Target(PlatformTarget::Web));
        if (!folder)
            dialog.FolderField()->setText(m_folder->path());
        QVERIFY(dialog.ExportButton()->isEnabled());
        QVERIFY(!dialog.Problem()->isVisible());
    }

    // Export reads the design once its latest preview is done: a canvas made non-square is
    // refused with the reason, and the dialog stays for another try.
    void exportWaitsForTheLatestDesign() {
        EditorFixture editor(/*holdRenders=*/true);
        UserInput::Type(editor.controls().textFieldCanvasWidth, QStringLiteral("512"));
        DialogDriver dialog(editor);
        dialog.Choose({PlatformTarget::Windows}, QStringLiteral("AppIcon"), m_folder->path(),
                      false);
        QVERIFY(editor.controller()->updating());
        QTimer::singleShot(100, [&editor] { editor.ReleaseRenders(); });
        const QString message =
            dialog.ExportAndWaitForSummary([&] { QVERIFY(!editor.controller()->updating()); });
        QVERIFY2(message.contains(QStringLiteral("512 x 1024")), qPrintable(message));
        QVERIFY(FolderListing::FilesUnder(m_folder->path()).isEmpty());
        QVERIFY(dialog.IsOpen());
        QVERIFY(dialog.ExportButton()->isEnabled());
    }

    void cancelStopsTheRunAndSaysWhatItDid() {
        EditorFixture editor;
        const QList<PlannedFile> plan = PlatformRun::Plan(AllTargets, "Stop");
        DialogDriver dialog(editor);
        dialog.Choose(AllTargets, QStringLiteral("Stop"), m_folder->path(), true);
        const QString summary = dialog.ExportAndWaitForSummary([&] {
            QVERIFY(dialog.Progress()->isVisible());
            QVERIFY(!dialog.ExportButton()->isEnabled());
            QCOMPARE(dialog.Progress()->maximum(), int(plan.size()));
            QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
            QVERIFY(dialog.IsOpen()); // until the run has stopped and said what it did
            QVERIFY(!dialog.CancelButton()->isEnabled());
        });

        QVERIFY2(summary.contains(QStringLiteral("cancelled")), qPrintable(summary));
        const QSet<QString> onDisk = FolderListing::FilesUnder(m_folder->path());
        QVERIFY2(summary.contains(QStringLiteral("Files written: %1,").arg(onDisk.size())),
                 qPrintable(summary));
        // Whether each file left is whole, and no temporary, is the export run's concern.
        QVERIFY(onDisk.size() < plan.size());
        QTRY_VERIFY(!dialog.IsOpen());
    }

    // An existing file kept, a folder that cannot be made: the summary counts what is on disk,
    // names each failed path in its details, and opens the folder on request.
    void summaryMatchesTheFolder() {
        const QString name = QStringLiteral("My.App-2");
        const QList<PlatformTarget> targets{PlatformTarget::Windows, PlatformTarget::Android};
        QSet<QString> planned;
        for (const PlannedFile& file : PlatformRun::Plan(targets, name))
            planned.insert(file.path);
        const QString kept = name + QStringLiteral(".ico");
        const QString blockedFolder = QStringLiteral("android/res/mipmap-hdpi");
        const QStringList blocked = QStringList(planned.begin(), planned.end())
                                        .filter(QRegularExpression("^" + blockedFolder + "/"));
        QVERIFY(planned.contains(kept));
        QVERIFY(!blocked.isEmpty());
        QVERIFY(TestImages::WriteFile(m_folder->filePath(kept), "old icon"));
        QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("android/res")));
        QVERIFY(TestImages::WriteFile(m_folder->filePath(blockedFolder), "a file, not a folder"));

        EditorFixture editor;
        DialogDriver dialog(editor);
        dialog.Choose(targets, name, m_folder->path(), false);
        editor.prompter.answers = {0}; // Open Folder
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
        const QString summary = dialog.ExportAndWaitForSummary();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        const QSet<QString> onDisk = FolderListing::FilesUnder(m_folder->path());
        QCOMPARE(onDisk, planned - QSet<QString>(blocked.begin(), blocked.end()) << blockedFolder);
        const int written = int(planned.size() - blocked.size()) - 1;
        QVERIFY2(summary.contains(QStringLiteral("Files written: %1, skipped: 1, failed: %2")
                                      .arg(written)
                                      .arg(blocked.size())),
                 qPrintable(summary));
        QCOMPARE(TestImages::ReadFile(m_folder->filePath(kept)), QByteArray("old icon"));
        const QString details = editor.prompter.questions.last().details;
        for (const QString& path : blocked)
            QVERIFY2(details.contains(m_folder->filePath(path)), qPrintable(path));
        QCOMPARE(editor.prompter.questions.last().buttons, (QStringList{"Open Folder", "OK"}));
        QVERIFY(!editor.prompter.questions.last().good); // failures are not good news
        QCOMPARE(m_openedUrls, QList<QUrl>{QUrl::fromLocalFile(m_folder->path())});
        QTRY_VERIFY(!dialog.IsOpen());
    }

    // An SVG icon image the helper refuses to draw: nothing is written, not even a folder, and
    // the summary says why.
    void refusedIconDrawingWritesNothing() {
        const QString there = QStringLiteral("AppIcon.ico");
        QVERIFY(TestImages::WriteFile(m_folder->filePath(there), "old icon"));
        const QSet<QString> before = FolderListing::EntriesUnder(m_folder->path());
        EditorFixture editor;
        const RefusingImageHelper helper;
        QVERIFY(helper.isValid());
        editor.controller()->LoadIconImage(helper.document());
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(editor.controller()->iconVector());
        DialogDriver dialog(editor);
        dialog.Choose({PlatformTarget::Windows, PlatformTarget::Linux}, QStringLiteral("AppIcon"),
                      m_folder->path(), true);
        const QString summary = dialog.ExportAndWaitForSummary();
        for (const char* said : {"Files written: 0, skipped: 0, failed: 0.",
                                 "The image could not be loaded", "No file was written."})
            QVERIFY2(summary.contains(said), qPrintable(summary));
        QCOMPARE(FolderListing::EntriesUnder(m_folder->path()), before);
        QCOMPARE(TestImages::ReadFile(m_folder->filePath(there)), QByteArray("old icon"));
        QTRY_VERIFY(!dialog.IsOpen());
    }

    // The app name reaches the web manifest, the badge the web set; every choice comes back
    // next time.
    void choicesAreRemembered() {
        EditorFixture editor;
        const QList<PlatformTarget> chosen{PlatformTarget::Windows, PlatformTarget::Web};
        {
            DialogDriver dialog(editor);
            QCOMPARE(dialog.CheckedTargets(), AllTargets);
            QCOMPARE(dialog.NameField()->text(), PlatformPlan::DefaultName());
            QVERIFY(dialog.FolderField()->text().isEmpty());
            QVERIFY(dialog.AppNameField()->text().isEmpty() &&
                    dialog.BadgeField()->text().isEmpty());
            QVERIFY(!dialog.Replace()->isChecked());
            QVERIFY(!dialog.ExportButton()->isEnabled());
            dialog.Choose(chosen, QStringLiteral("Again"), m_folder->path(), true);
            UserInput::Type(dialog.AppNameField(), QStringLiteral("My App"), false);
            UserInput::Type(dialog.BadgeField(), QStringLiteral("BETA 2"), false);
            QVERIFY(!dialog.ExportAndWaitForSummary().isEmpty());
            QTRY_VERIFY(!dialog.IsOpen());
        }
        const QByteArray manifest =
            TestImages::ReadFile(m_folder->filePath("web/manifest.webmanifest"));
        QCOMPARE(QJsonDocument::fromJson(manifest)["name"].toString(), QStringLiteral("My App"));
        QVERIFY(TestImages::ReadFile(m_folder->filePath("web/icon.svg")).contains("badge-plate"));
        DialogDriver dialog(editor);
        QCOMPARE(dialog.CheckedTargets(), chosen);
        QCOMPARE(dialog.NameField()->text(), QStringLiteral("Again"));
        QCOMPARE(dialog.FolderField()->text(), m_folder->path());
        QCOMPARE(dialog.AppNameField()->text(), QStringLiteral("My App"));
        QCOMPARE(dialog.BadgeField()->text(), QStringLiteral("BETA 2"));
        QVERIFY(dialog.Replace()->isChecked());
        QVERIFY(dialog.ExportButton()->isEnabled());
    }

    // The badge typed is on the wall's looks at once, as the export will draw it.
    void aTypedBadgeShowsOnTheWall() {
        EditorFixture editor;
        PreviewWall* wall = editor.Wall();
        QSignalSpy shown(wall, &PreviewWall::tilesShown);
        editor.Find<QAction>(QStringLiteral("actionShowPreviewWall"))->trigger();
        QVERIFY(shown.wait(60000));
        const QString caption = QStringLiteral("iOS");
        const QImage plain = TileImage(wall, caption);
        DialogDriver dialog(editor);
        UserInput::Type(dialog.BadgeField(), QStringLiteral("BETA 2"), false);
        const QList<PreviewTile> expected =
            PlatformLooks::WallTiles(editor.log->LastDesign(), editor.controller()->currentIcon(),
                                     1, Badge{.text = QStringLiteral("BETA 2")});
        const auto look = std::find_if(expected.begin(), expected.end(),
                                       [&](const PreviewTile& t) { return t.caption == caption; });
        QVERIFY(look != expected.end() && look->image != plain);
        QVERIFY(QTest::qWaitFor([&] { return TileImage(wall, caption) == look->image; }, 60000));
    }

    // The message that ends a platform export stays a few lines however many files failed: the
    // counts, one sentence with the commonest cause, and each failed file in the details only.
    void summary_data() {
        QTest::addColumn<QStringList>("outcomes"); // per file: "written", "kept" or the failure
        QTest::addColumn<int>("planned");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QStringList>("said"); // each part of the message
        const QString denied = QStringLiteral("Permission denied.");
        const QString full = QStringLiteral("No space left on device.");
        QStringList refused(61, denied);
        refused << "written"
                << "kept";
        QTest::newRow("all written") << QStringList{"written", "written", "kept"} << 3 << false
                                     << QStringList{"Files written: 2, skipped: 1, failed: 0."};
        QTest::newRow("one cause for many")
            << refused << 63 << false
            << QStringList{"failed: 61.", "Could not save 61 files: " + denied};
        QTest::newRow("one failure") << QStringList{full, "written"} << 2 << false
                                     << QStringList{"failed: 1.", "Could not save 1 file: " + full};
        QTest::newRow("the commonest of several causes")
            << QStringList{full, denied, denied, "written"} << 4 << false
            << QStringList{"failed: 3.", "Could not save 3 files; for 2 of them: " + denied};
        QTest::newRow("cancelled")
            << QStringList{"written", full} << 6 << true
            << QStringList{"Could not save 1 file: " + full, "cancelled; 4 files were not written"};
    }
    void summary() {
        QFETCH(QStringList, outcomes);
        QFETCH(int, planned);
        QFETCH(bool, stopped);
        QFETCH(QStringList, said);
        PlatformExport::Result result;
        result.stopped = stopped;
        result.notes = {QStringLiteral("A note about the pictures.")};
        QStringList failedFiles;
        for (const QString& outcome : outcomes) {
            using enum ExportRun::FileAction;
            const QString path = QStringLiteral("/icons/%1.png").arg(result.files.size());
            const auto action = outcome == u"written" ? Written
                                : outcome == u"kept"  ? Kept
                                                      : Failed;
            result.files.append({path, action, action == Failed ? outcome : QString()});
            if (action == Failed)
                failedFiles.append(path + QStringLiteral(": ") + outcome);
        }

        const PlatformExportSummary summary = PlatformExportSummary::Of(result, planned);
        for (const QString& part : said + result.notes)
            QVERIFY2(summary.message.contains(part), qPrintable(summary.message));
        QVERIFY2(!summary.message.contains(QStringLiteral("/icons/")), qPrintable(summary.message));
        QVERIFY(summary.message.count(u'\n') <= 8);
        QCOMPARE(summary.details, failedFiles.join(u'\n'));
    }
};

QTEST_MAIN(tst_ExportFromWindow)
#include "tst_ExportFromWindow.moc"
