// The export run against scripted answers: folder choice, file names, overwrite questions,
// summary alerts and the rating question.

#include "design/DesignSettings.h"
#include "export/ExportRun.h"
#include "export/SizeSets.h"
#include "support/MemoryRatePreference.h"
#include "support/ScriptedPrompter.h"
#include "support/TestImages.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Saved = QStringLiteral("Icon(s) saved successfully.");
const QString NotSaved = QStringLiteral("Some icons could not be saved.");
const QString RateQuestion =
    QStringLiteral("If you enjoy using Sigilon, would you mind taking a moment to rate it? "
                   "Thanks for your support!");
const QStringList MacNames{"Icon16.png",  "Icon32.png",  "Icon64.png",  "Icon128.png",
                           "Icon256.png", "Icon512.png", "Icon1024.png"};
const QByteArray OldContent("an icon from an earlier export");

enum Answer { Yes = 0, YesToAll = 1, No = 2, NoToAll = 3 };

// A canvas like a rendering: rounded, with corners transparent even at 16 pixels.
QImage Rendering(int width = 1024, int height = 1024) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 255));
    painter.drawRoundedRect(QRectF(0, 0, width, height), width * 0.3, height * 0.3);
    return image;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteOld(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(OldContent);
}

QString OverwriteQuestion(const QString& path) {
    return QStringLiteral("The file ") + path +
           QStringLiteral(" already exists. Do you want to overwrite it?");
}

// One export as the window runs it, recording the order in which files were settled.
struct Export {
    ScriptedPrompter prompter;
    MemoryRatePreference preference;
    QList<QUrl> openedUrls;
    RatingCheck rating{prompter, preference, [this](const QUrl& url) { openedUrls.append(url); }};
    QList<ExportRun::FileResult> files;

    ExportRun::Outcome Run(const QString& folder, const QImage& rendering = Rendering(),
                           const DesignSettings& settings = DesignSettings()) {
        prompter.folders = {folder};
        ExportRun run(prompter, ExportOptions::FromSettings(settings));
        run.SetFileObserver([this](const ExportRun::FileResult& file) { files.append(file); });
        return run.SaveIcons(rendering, SizeSets::SizeList(settings), &rating);
    }

    QStringList FileNames() const {
        QStringList names;
        for (const ExportRun::FileResult& file : files)
            names.append(QFileInfo(file.path).fileName());
        return names;
    }
};

} // namespace

class ExportRunTest : public QObject {
    Q_OBJECT

private slots:
    void freshFolderGetsTheWholeSet() {
        QTemporaryDir folder;
        Export run;
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.folderPrompts, QStringList{QStringLiteral("Select Folder")});
        QCOMPARE(run.FileNames(), MacNames);
        for (const ExportRun::FileResult& file : run.files) {
            QCOMPARE(file.action, ExportRun::FileAction::Written);
            QCOMPARE(QFileInfo(file.path).path(), folder.path());
        }
        const int sides[] = {16, 32, 64, 128, 256, 512, 1024};
        for (int i = 0; i < 7; ++i) {
            const QImage icon(folder.filePath(MacNames[i]));
            QCOMPARE(icon.size(), QSize(sides[i], sides[i]));
            QCOMPARE(TestImages::PixelAt(icon, 0, 0).alpha(), 0);
            QVERIFY(TestImages::ColorsClose(TestImages::PixelAt(icon, sides[i] / 2, sides[i] / 2),
                                            QColor(0, 128, 255), 1));
        }
        // The first successful export only arms the rating question.
        QCOMPARE(run.prompter.Messages(), QStringList{Saved});
        QCOMPARE(run.prompter.questions.first().buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(run.preference.value, std::optional<QString>(QStringLiteral("Yes")));
        QVERIFY(!run.rating.RateMessageShown());
    }

    void ratingIsAskedOncePerRunAfterTheFirstSuccess() {
        QTemporaryDir first, second, third;
        Export run;
        run.Run(first.path());
        run.prompter.answers = {1}; // "Remind me later"
        QCOMPARE(run.Run(second.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(), (QStringList{Saved, Saved, RateQuestion}));
        QCOMPARE(run.prompter.questions.last().buttons,
                 (QStringList{"Yes, Rate Sigilon", "Remind me later", "No, Thanks"}));
        QVERIFY(run.rating.RateMessageShown());
        QCOMPARE(run.preference.value, std::optional<QString>(QStringLiteral("Yes")));
        QCOMPARE(run.preference.writes, 1);
        run.Run(third.path()); // same application run: not again
        QCOMPARE(run.prompter.Messages().count(RateQuestion), 1);
    }

    void ratingAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("opensPage");
        QTest::newRow("Yes, Rate Sigilon") << 0 << "No" << true;
        QTest::newRow("Remind me later") << 1 << "Yes" << false;
        QTest::newRow("No, Thanks") << 2 << "No" << false;
        QTest::newRow("closed") << -1 << "Yes" << false;
    }

    void ratingAnswers() {
        QFETCH(int, answer);
        QFETCH(QString, stored);
        QFETCH(bool, opensPage);
        QTemporaryDir folder;
        Export run;
        run.preference.value = QStringLiteral("Yes"); // an earlier application run
        run.prompter.answers = {answer};
        run.Run(folder.path());
        QCOMPARE(run.prompter.Messages(), (QStringList{Saved, RateQuestion}));
        QCOMPARE(run.preference.value, std::optional<QString>(stored));
        QCOMPARE(run.openedUrls, opensPage ? QList<QUrl>{RatingCheck::StorePage()} : QList<QUrl>{});
        QVERIFY(run.rating.RateMessageShown());
    }

    void declinedRatingIsNeverAskedAgain() {
        QTemporaryDir folder;
        Export run;
        run.preference.value = QStringLiteral("No");
        run.Run(folder.path());
        QCOMPARE(run.prompter.Messages(), QStringList{Saved});
        QVERIFY(!run.rating.RateMessageShown());
    }

    void yesToAllOverwritesTheRestWithoutAsking() {
        QTemporaryDir folder;
        for (const QString& name : MacNames)
            WriteOld(folder.filePath(name));
        Export run;
        run.preference.value = QStringLiteral("No");
        run.prompter.answers = {YesToAll};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(),
                 (QStringList{OverwriteQuestion(folder.filePath("Icon16.png")), Saved}));
        QCOMPARE(run.prompter.questions.first().buttons,
                 (QStringList{"Yes", "Yes to All", "No", "No to All"}));
        for (const QString& name : MacNames)
            QVERIFY2(!QImage(folder.filePath(name)).isNull(), qPrintable(name));
    }

    void yesAndNoAskForEveryExistingFile() {
        QTemporaryDir folder;
        for (const QString& name : MacNames)
            WriteOld(folder.filePath(name));
        Export run;
        run.preference.value = QStringLiteral("No");
        run.prompter.answers = {Yes, No, Yes, No, Yes, No, Yes};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.questions.size(), 8);
        for (int i = 0; i < 7; ++i) {
            const QString path = folder.filePath(MacNames[i]);
            QCOMPARE(run.prompter.questions[i].message, OverwriteQuestion(path));
            const bool overwritten = i % 2 == 0;
            QCOMPARE(ReadAll(path) == OldContent, !overwritten);
            QCOMPARE(run.files[i].action,
                     overwritten ? ExportRun::FileAction::Written : ExportRun::FileAction::Kept);
        }
        QCOMPARE(run.prompter.questions.last().message, Saved);
    }

    void onlyExistingFilesAreAskedAbout() {
        QTemporaryDir folder;
        WriteOld(folder.filePath("Icon64.png"));
        Export run;
        run.preference.value = QStringLiteral("No");
        run.prompter.answers = {No};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(),
                 (QStringList{OverwriteQuestion(folder.filePath("Icon64.png")), Saved}));
        QCOMPARE(ReadAll(folder.filePath("Icon64.png")), OldContent);
        QVERIFY(!QImage(folder.filePath("Icon1024.png")).isNull());
    }

    void noToAllPassesOverEverythingLeft_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("No to All") << int(NoToAll);
        QTest::newRow("closed") << -1;
    }

    void noToAllPassesOverEverythingLeft() {
        QFETCH(int, answer);
        QTemporaryDir folder;
        // The first three exist; the rest do not, and must not be created either.
        for (const QString& name : MacNames.mid(0, 3))
            WriteOld(folder.filePath(name));
        Export run;
        run.preference.value = QStringLiteral("No");
        run.prompter.answers = {answer};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(),
                 (QStringList{OverwriteQuestion(folder.filePath("Icon16.png")), Saved}));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 (QStringList{"Icon16.png", "Icon32.png", "Icon64.png"}));
        for (const QString& name : MacNames.mid(0, 3))
            QCOMPARE(ReadAll(folder.filePath(name)), OldContent);
        for (const ExportRun::FileResult& file : run.files)
            QCOMPARE(file.action, ExportRun::FileAction::Kept);
    }

    void failedEncodeKeepsEveryOldFile() {
        // No format selected: names end in a bare "." and nothing can be encoded. Even with
        // "Yes to All" the old files must survive, as nothing is removed before writing.
        QTemporaryDir folder;
        DesignSettings settings;
        settings.iconFormat = -1;
        for (const QString& name : MacNames)
            WriteOld(folder.filePath(QString(name).replace(".png", ".")));
        Export run;
        run.prompter.answers = {YesToAll};
        QCOMPARE(run.Run(folder.path(), Rendering(), settings), ExportRun::Outcome::Failed);
        QCOMPARE(run.prompter.Messages().last(), NotSaved);
        for (const QString& name : MacNames)
            QCOMPARE(ReadAll(folder.filePath(QString(name).replace(".png", "."))), OldContent);
        QVERIFY(!run.preference.value.has_value()); // no rating check after a failure
    }

    void folderInTheWayCountsAsFailure() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("Icon32.png"));
        Export run;
        run.prompter.answers = {Yes};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Failed);
        QCOMPARE(run.prompter.Messages(),
                 (QStringList{OverwriteQuestion(folder.filePath("Icon32.png")), NotSaved}));
        QCOMPARE(run.files[1].action, ExportRun::FileAction::Failed);
        QVERIFY(QFileInfo(folder.filePath("Icon32.png")).isDir());
        // The run goes on after a failure.
        QVERIFY(!QImage(folder.filePath("Icon1024.png")).isNull());
        QCOMPARE(run.prompter.Messages().count(RateQuestion), 0);
    }

    void missingSubfolderInThePatternFails() {
        QTemporaryDir folder;
        DesignSettings settings;
        settings.namePattern = QStringLiteral("missing/Icon[Size]");
        Export run;
        QCOMPARE(run.Run(folder.path(), Rendering(), settings), ExportRun::Outcome::Failed);
        QCOMPARE(run.prompter.Messages(), QStringList{NotSaved});
        QVERIFY(!run.preference.value.has_value());
        QVERIFY(QDir(folder.path()).isEmpty());

        QVERIFY(QDir(folder.path()).mkdir("missing"));
        Export again;
        QCOMPARE(again.Run(folder.path(), Rendering(), settings), ExportRun::Outcome::Saved);
        QVERIFY(QFileInfo::exists(folder.filePath("missing/Icon16.png")));
    }

    void emptySizeListStillSucceeds() {
        QTemporaryDir folder;
        DesignSettings settings;
        settings.macSizes.fill(0);
        Export run;
        QCOMPARE(run.Run(folder.path(), Rendering(), settings), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(), QStringList{Saved});
        QVERIFY(QDir(folder.path()).isEmpty());
        QVERIFY(run.files.isEmpty());
    }

    void cancelledOrInvalidFolderWritesNothing() {
        Export cancelled;
        cancelled.prompter.folders = {std::nullopt};
        ExportRun run(cancelled.prompter, ExportOptions());
        QCOMPARE(run.SaveIcons(Rendering(), SizeSets::SizeList(DesignSettings()), nullptr),
                 ExportRun::Outcome::Cancelled);
        QVERIFY(cancelled.prompter.questions.isEmpty());

        Export invalid;
        QCOMPARE(invalid.Run(QString()), ExportRun::Outcome::InvalidFolder);
        QCOMPARE(invalid.prompter.Messages(),
                 QStringList{QStringLiteral("The folder you selected is not valid.")});
        QVERIFY(invalid.files.isEmpty());
    }

    void customSizeStretchesTheCanvas() {
        // A 1024 x 512 canvas, red left and blue right, into 300 x 200: stretched, not cut.
        QImage canvas(1024, 512, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(QColor(255, 0, 0));
        QPainter(&canvas).fillRect(512, 0, 512, 512, QColor(0, 0, 255));
        DesignSettings settings;
        settings.macIconSet = 0;
        settings.customSize = 1;
        settings.customWidthText = QStringLiteral("300");
        settings.customHeightText = QStringLiteral("200");
        QTemporaryDir folder;
        Export run;
        QCOMPARE(run.Run(folder.path(), canvas, settings), ExportRun::Outcome::Saved);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Icon300.png"});
        const QImage icon(folder.filePath("Icon300.png"));
        QCOMPARE(icon.size(), QSize(300, 200));
        QCOMPARE(TestImages::PixelAt(icon, 0, 0), QColor(255, 0, 0));
        QCOMPARE(TestImages::PixelAt(icon, 148, 199), QColor(255, 0, 0));
        QCOMPARE(TestImages::PixelAt(icon, 152, 0), QColor(0, 0, 255));
        QCOMPARE(TestImages::PixelAt(icon, 299, 199), QColor(0, 0, 255));
    }

    void uncheckedCustomSizes_data() {
        // A profile sets the custom fields as written, without the fields' own check.
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QSize>("written"); // invalid: the file fails
        QTest::newRow("fractions are cut off") << "12.5"
                                               << "7.9" << QSize(12, 7);
        QTest::newRow("largest size") << "10000"
                                      << "1" << QSize(10000, 1);
        QTest::newRow("zero") << "0"
                              << "16" << QSize();
        QTest::newRow("negative") << "16"
                                  << "-5" << QSize();
        QTest::newRow("not a number") << "nan"
                                      << "16" << QSize();
        QTest::newRow("beyond the fields' limit") << "20000"
                                                  << "16" << QSize();
        QTest::newRow("far beyond") << "16"
                                    << "1e9" << QSize();
    }

    void uncheckedCustomSizes() {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QSize, written);
        DesignSettings settings;
        settings.macIconSet = 0;
        settings.customSize = 1;
        settings.customWidthText = width;
        settings.customHeightText = height;
        QTemporaryDir folder;
        Export run;
        const QString path = folder.filePath(QStringLiteral("Icon%1.png").arg(width));
        if (written.isValid()) {
            QCOMPARE(run.Run(folder.path(), Rendering(64, 64), settings),
                     ExportRun::Outcome::Saved);
            QCOMPARE(QImageReader(path).size(), written);
        } else {
            QCOMPARE(run.Run(folder.path(), Rendering(64, 64), settings),
                     ExportRun::Outcome::Failed);
            QCOMPARE(run.prompter.Messages(), QStringList{NotSaved});
            QVERIFY(!QFileInfo::exists(path));
        }
    }

    void fileNames_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default") << "Icon[Size]" << 0 << "Icon16.png";
        QTest::newRow("no token") << "App" << 0 << "App16.png";
        QTest::newRow("repeated token") << "[Size]-[Size]" << 0 << "16-16.png";
        QTest::newRow("empty") << "" << 0 << "Icon16.png";
        QTest::newRow("token is case-sensitive") << "icon[size]" << 0 << "icon[size]16.png";
        QTest::newRow("no format") << "Icon[Size]" << -1 << "Icon16.";
        QTest::newRow("format beyond the list") << "Icon[Size]" << 10 << "Icon16.";
        QTest::newRow("JPX") << "a[Size]b" << 5 << "a16b.jpx";
        QTest::newRow("subfolder") << "sub/[Size]" << 9 << "sub/16.bmp";
    }

    void fileNames() {
        QFETCH(QString, pattern);
        QFETCH(int, format);
        QFETCH(QString, expected);
        ScriptedPrompter prompter;
        ExportRun run(prompter, {pattern, format, 80.0f});
        QCOMPARE(run.GetFileName(QStringLiteral("16")), expected);
    }

    void askOverwriteMapsTheButtons() {
        QTemporaryDir folder;
        const QString path = folder.filePath("exists.png");
        ScriptedPrompter prompter;
        ExportRun run(prompter, ExportOptions());
        QCOMPARE(run.AskOverwrite(path), int(ExportRun::AskNext));
        QVERIFY(prompter.questions.isEmpty());
        WriteOld(path);
        prompter.answers = {0, 1, 2, 3, -1, 7};
        const int expected[] = {ExportRun::Yes,     ExportRun::YesToAll, ExportRun::No,
                                ExportRun::NoToAll, ExportRun::NoToAll,  ExportRun::NoToAll};
        for (int code : expected)
            QCOMPARE(run.AskOverwrite(path), code);
        QCOMPARE(prompter.Messages().first(), OverwriteQuestion(path));
    }

    void saveIconFollowsTheOverwriteMode() {
        QTemporaryDir folder;
        const QString existing = folder.filePath("existing.png");
        const QString fresh = folder.filePath("fresh.png");
        const QImage icon = Rendering(16, 16);
        ScriptedPrompter prompter;
        ExportRun run(prompter, ExportOptions());
        const auto save = [&](const QString& path, int mode) {
            return run.SaveIcon(icon, path, 0, mode, 0.8);
        };

        // No to All: nothing tested or written, even for a file that does not exist.
        ExportRun::SaveIconResult result = save(fresh, ExportRun::NoToAll);
        QVERIFY(result.ok);
        QCOMPARE(result.overwriteMode, int(ExportRun::NoToAll));
        QVERIFY(!QFileInfo::exists(fresh));

        // A missing file is written without a question and resets the mode.
        for (int mode : {ExportRun::AskNext, ExportRun::Yes, ExportRun::No}) {
            QFile::remove(fresh);
            result = save(fresh, mode);
            QVERIFY(result.ok);
            QCOMPARE(result.overwriteMode, int(ExportRun::AskNext));
            QVERIFY(QFileInfo::exists(fresh));
        }
        QVERIFY(prompter.questions.isEmpty());

        // Yes to All: written without a question, existing or not, and it stays in force.
        WriteOld(existing);
        result = save(existing, ExportRun::YesToAll);
        QVERIFY(result.ok);
        QCOMPARE(result.overwriteMode, int(ExportRun::YesToAll));
        QVERIFY(ReadAll(existing) != OldContent);
        QVERIFY(prompter.questions.isEmpty());

        // An existing file asks; No keeps it and counts as a success.
        WriteOld(existing);
        prompter.answers = {No};
        result = save(existing, ExportRun::Yes);
        QVERIFY(result.ok);
        QCOMPARE(result.overwriteMode, int(ExportRun::No));
        QCOMPARE(ReadAll(existing), OldContent);
        QCOMPARE(prompter.questions.size(), 1);
    }
};

QTEST_MAIN(ExportRunTest)
#include "tst_ExportRun.moc"
