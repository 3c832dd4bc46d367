#include "EditorFixture.h"

#include "app/ProgressIndicator.h"
#include "export/RatingCheck.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kSaved = QStringLiteral("Icon(s) saved successfully.");
const QString kRateQuestion = QStringLiteral(
    "If you enjoy using Sigilon, would you mind taking a moment to rate it? Thanks for your "
    "support!");
const QList<int> kMacSizes{16, 32, 64, 128, 256, 512, 1024};
enum Overwrite { Yes = 0, YesToAll = 1, No = 2, NoToAll = 3 };
enum Rate { RateNow = 0, RemindLater = 1, NoThanks = 2 };

QString OverwriteQuestion(const QString& path) {
    return QStringLiteral("The file ") + path +
           QStringLiteral(" already exists. Do you want to overwrite it?");
}

} // namespace

// Exporting from the window: the folder panel, the files of the chosen sizes made from the
// latest rendering, the overwrite questions, the summary and the rating question.
class tst_ExportFromWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QList<QUrl> m_openedUrls;

    QString IconPath(int size) const {
        return m_folder->filePath(QStringLiteral("Icon%1.png").arg(size));
    }

    // Which render each exported macOS file came from.
    QList<int> ExportedRenderNumbers() const {
        QList<int> numbers;
        for (int size : kMacSizes) {
            const QImage file(IconPath(size));
            numbers.append(file.isNull() ? -1 : RenderNumber(file, size / 2, size / 2));
        }
        return numbers;
    }

    static void Export(EditorFixture& editor) {
        editor.controller()->menuActions().saveIcons->trigger();
    }

    // An edit whose completed preview makes a new rendering.
    static bool Edit(EditorFixture& editor) {
        UserInput::Click(editor.controls().checkTextShadow);
        return editor.WaitUntilIdle();
    }

public slots:
    void OpenUrl(const QUrl& url) { m_openedUrls.append(url); }

private slots:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_openedUrls.clear();
    }

    void intoAFreshFolder() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.prompter.folders = {m_folder->path()};
        Export(editor);
        QCOMPARE(editor.prompter.folderPrompts, QStringList{"Select Folder"});
        QCOMPARE(editor.prompter.Messages(), QStringList{kSaved});
        for (int size : kMacSizes) {
            const QImage file(IconPath(size));
            QCOMPARE(file.size(), QSize(size, size));
        }
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files).size(), kMacSizes.size());
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 1));
        // The very first successful export never asks for a rating.
        QCOMPARE(editor.ratePreference.value, QStringLiteral("Yes"));
        QVERIFY(!editor.controller()->rateMessageShown());
        // Exporting is no edit.
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
    }

    void aCancelledPanelExportsNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        Export(editor);
        QCOMPARE(editor.prompter.folderPrompts.size(), 1);
        QVERIFY(editor.prompter.questions.isEmpty());
        QVERIFY(QDir(m_folder->path()).isEmpty());
    }

    void againIntoTheSameFolder_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QList<bool>>("rewritten");
        const QList<bool> all(kMacSizes.size(), true);
        const QList<bool> none(kMacSizes.size(), false);
        QTest::newRow("Yes to All") << QList<int>{YesToAll} << 1 << all;
        QTest::newRow("Yes each time") << QList<int>(kMacSizes.size(), Yes) << 7 << all;
        QTest::newRow("No each time") << QList<int>(kMacSizes.size(), No) << 7 << none;
        QTest::newRow("No to All") << QList<int>{NoToAll} << 1 << none;
        QTest::newRow("No, then Yes to All")
            << QList<int>{No, YesToAll} << 2
            << QList<bool>{false, true, true, true, true, true, true};
    }
    void againIntoTheSameFolder() {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(QList<bool>, rewritten);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.prompter.folders = {m_folder->path(), m_folder->path()};
        Export(editor);
        QCOMPARE(editor.prompter.Messages(), QStringList{kSaved});
        editor.prompter.questions.clear();
        QVERIFY(Edit(editor));

        editor.prompter.answers = answers;
        editor.prompter.answers.append(RemindLater);
        Export(editor);
        const QStringList messages = editor.prompter.Messages();
        QCOMPARE(messages.size(), questions + 2);
        QCOMPARE(messages.first(), OverwriteQuestion(IconPath(16)));
        QCOMPARE(editor.prompter.questions.first().buttons,
                 (QStringList{"Yes", "Yes to All", "No", "No to All"}));
        QCOMPARE(messages.at(questions), kSaved);
        // The second successful export asks for a rating once.
        QCOMPARE(messages.last(), kRateQuestion);
        QVERIFY(editor.controller()->rateMessageShown());
        QCOMPARE(editor.ratePreference.value, QStringLiteral("Yes"));

        QList<int> expected;
        for (bool written : rewritten)
            expected.append(written ? 2 : 1);
        QCOMPARE(ExportedRenderNumbers(), expected);
    }

    void ratingOpensTheProjectPage() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.ratePreference.value = QStringLiteral("Yes");
        editor.prompter.folders = {m_folder->path(), m_folder->path()};
        editor.prompter.answers = {RateNow};
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "OpenUrl");
        Export(editor);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(editor.prompter.Messages(), (QStringList{kSaved, kRateQuestion}));
        QCOMPARE(editor.prompter.questions.last().buttons,
                 (QStringList{"Yes, Rate Sigilon", "Remind me later", "No, Thanks"}));
        QCOMPARE(m_openedUrls, QList<QUrl>{RatingCheck::StorePage()});
        QCOMPARE(editor.ratePreference.value, QStringLiteral("No"));

        // Never again.
        editor.prompter.answers = {YesToAll};
        Export(editor);
        QCOMPARE(editor.prompter.Messages().last(), kSaved);
    }

    // A stepper click still waiting for its quiet pause is exported, not the older picture.
    void aStepperClickJustBeforeIsExported() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::ClickStepper(editor.controls().stepperTextVerticalOffset, +1);
        editor.prompter.folders = {m_folder->path()};
        Export(editor);
        QCOMPARE(editor.prompter.Messages(), QStringList{kSaved});
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 2));
        QCOMPARE(editor.log->Design(1).textVerticalOffset, 41.0f);
        // The waiting render did not run a second time afterwards.
        QTest::qWait(300);
        QCOMPARE(editor.log->started.load(), 2);
    }

    // Renders still running when the export starts are waited for, the follow-up included.
    void runningRendersAreWaitedFor() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        editor.log->hold = true;
        UserInput::Click(editor.controls().checkTextShadow);
        QVERIFY(editor.WaitForRenders(2));
        UserInput::Click(editor.controls().checkBackgroundShadow); // folded into a follow-up

        bool indicatorShownWhileWaiting = false;
        QTimer::singleShot(200, [&] {
            indicatorShownWhileWaiting = !editor.controls().progressIndicator->isHidden() &&
                                         editor.controls().progressIndicator->isAnimating();
            editor.log->hold = false;
            editor.log->gate.release(2);
        });
        editor.prompter.folders = {m_folder->path()};
        Export(editor);
        QVERIFY(indicatorShownWhileWaiting);
        QCOMPARE(editor.log->started.load(), 3);
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 3));
        QVERIFY(!editor.log->Design(2).textShadow);
        QVERIFY(!editor.log->Design(2).backgroundShadow);
        QVERIFY(!editor.controller()->updating());
        QVERIFY(editor.controls().progressIndicator->isHidden());
    }

    // A number typed into a field, not yet confirmed, counts as the user sees it.
    void aFieldBeingEditedIsExported() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QLineEdit* field = editor.controls().textFieldIconVerticalOffset;
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "-7");
        editor.prompter.folders = {m_folder->path()};
        Export(editor);
        QCOMPARE(ExportedRenderNumbers(), QList<int>(kMacSizes.size(), 2));
        QCOMPARE(editor.log->Design(1).iconVerticalOffset, -7.0f);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
    }

    void theCustomSizeFollowsTheCanvas() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Type(editor.controls().textFieldCanvasWidth, "300");
        UserInput::Type(editor.controls().textFieldCanvasHeight, "200");
        editor.prompter.folders = {m_folder->path()};
        Export(editor);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"Icon300.png"});
        const QImage file(m_folder->filePath("Icon300.png"));
        QCOMPARE(file.size(), QSize(300, 200));
        QCOMPARE(RenderNumber(file, 150, 100), editor.log->started.load());
    }
};

QTEST_MAIN(tst_ExportFromWindow)
#include "tst_ExportFromWindow.moc"
