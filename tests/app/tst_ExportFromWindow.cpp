#include "EditorFixture.h"

#include "export/RatingCheck.h"

namespace {

const QString kSaved = QStringLiteral("Icon(s) saved successfully.");
const QString kRateQuestion = QStringLiteral(
    "If you enjoy using Sigilon, would you mind taking a moment to rate it? Thanks for your "
    "support!");
const QList<int> kMacSizes{16, 32, 64, 128, 256, 512, 1024};
enum Overwrite { Yes = 0, YesToAll = 1, No = 2, NoToAll = 3 };
enum Rate { RateNow = 0 };

} // namespace

// Exporting from the window: the folder panel, files of the chosen sizes made from the latest
// rendering, the overwrite questions, the summary and the rating question.
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
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    // A fresh folder, then the same one after an edit: the answers to the overwrite questions
    // reach the export, which writes the latest rendering (their every combination is the
    // export run's own concern); the second success asks for a rating, and rating opens the
    // project page and ends the question for good.
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
        const QString overwrite =
            QStringLiteral("The file %1 already exists. Do you want to overwrite it?");
        QCOMPARE(editor.prompter.Messages(),
                 (QStringList{overwrite.arg(IconPath(16)), overwrite.arg(IconPath(32)), kSaved,
                              kRateQuestion}));
        QCOMPARE(editor.prompter.questions.first().buttons,
                 (QStringList{"Yes", "Yes to All", "No", "No to All"}));
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
};

QTEST_MAIN(tst_ExportFromWindow)
#include "tst_ExportFromWindow.moc"
