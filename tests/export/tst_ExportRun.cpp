// The export run against scripted answers, and the rating answer as stored ("ShowRateMessage"
// in the application's settings, in Qt's test mode so that the user's own are never touched).

#include "design/DesignSettings.h"
#include "export/ExportRun.h"
#include "export/SizeSets.h"
#include "export/StoredRatePreference.h"
#include "helpers/FolderListing.h"
#include "helpers/MemoryRatePreference.h"
#include "helpers/OutputOccupants.h"
#include "helpers/ScriptedPrompter.h"
#include "helpers/TestImages.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Saved = QStringLiteral("Icon(s) saved successfully.");
const QString NotSaved = QStringLiteral("Some icons could not be saved.");
const QString RateQuestion =
    QStringLiteral("If you enjoy using Sigilon, would you mind taking a moment to rate it? "
                   "Thanks for your support!");
const int MacSides[] = {16, 32, 64, 128, 256, 512, 1024};
const QByteArray OldContent("an icon from an earlier export");

enum Answer { Yes = 0, YesToAll = 1, No = 2, NoToAll = 3 };

QString MacPath(const QTemporaryDir& folder, int index, const QString& extension = "png") {
    return folder.filePath(QStringLiteral("Icon%1.").arg(MacSides[index]) + extension);
}

// One export as the window runs it, recording every file as it is settled. Each file's pixels
// are the icon-set encoder's concern (tst_SaveImage); here only which file gets which
// size matters.
struct Export {
    ScriptedPrompter prompter;
    MemoryRatePreference preference;
    QList<QUrl> openedUrls;
    RatingCheck rating{prompter, preference, [this](const QUrl& url) { openedUrls.append(url); }};
    QList<ExportRun::FileResult> files;

    ExportRun::Outcome Run(const QString& folder, const DesignSettings& settings = {}) {
        prompter.folders = {folder};
        ExportRun run(prompter, ExportOptions::FromSettings(settings));
        run.SetFileObserver([this](const ExportRun::FileResult& file) { files.append(file); });
        return run.SaveIcons(TestImages::AsymmetricImage(1024, 1024), SizeSets::SizeList(settings),
                             &rating);
    }

    // Into a folder already chosen, as the command line exports.
    bool SaveAll(const ExportOptions& options, const QString& folder,
                 const QList<OutputSize>& sizes) {
        ExportRun run(prompter, options);
        run.SetFileObserver([this](const ExportRun::FileResult& file) { files.append(file); });
        return run.SaveAll(TestImages::AsymmetricImage(64, 64), folder, sizes);
    }

    // One letter per file in the order settled: W written, K kept, F failed.
    QString Actions() const {
        QString letters;
        for (const ExportRun::FileResult& file : files)
            letters += QStringLiteral("WKF")[int(file.action)];
        return letters;
    }
};

} // namespace

class ExportRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(QSettings("Sigilon", "Sigilon").fileName().contains(QStringLiteral(".qttest")));
    }

    // Rating at once, with the question's buttons, is asked through the window in
    // tst_ExportFromWindow; these are the other answers.
    void ratingAnswers_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("after");
        QTest::newRow("Remind me later") << "Yes" << 1 << true << "Yes";
        QTest::newRow("No, Thanks") << "Yes" << 2 << true << "No";
        QTest::newRow("closed") << "Yes" << -1 << true << "Yes";
        QTest::newRow("declined earlier") << "No" << 0 << false << "No";
    }

    void ratingAnswers() {
        QFETCH(QString, before);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(QString, after);
        QTemporaryDir folder, again;
        Export run;
        run.preference.value = before; // stored by an earlier application run
        run.prompter.answers = {answer};
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.Messages(),
                 asked ? (QStringList{Saved, RateQuestion}) : QStringList{Saved});
        QVERIFY(run.prompter.questions.first().good);
        QCOMPARE(run.preference.value, std::optional<QString>(after));
        QCOMPARE(run.preference.writes, after == before ? 0 : 1);
        QVERIFY(run.openedUrls.isEmpty());
        QCOMPARE(run.rating.RateMessageShown(), asked);
        run.Run(again.path()); // never twice in one application run
        QCOMPARE(run.prompter.Messages().count(RateQuestion), asked ? 1 : 0);
    }

    void filesAndOverwriteQuestions_data() {
        QTest::addColumn<QString>("existing"); // indices into the macOS set
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("files"); // W written, K kept; lower case: asked first
        QTest::newRow("fresh folder") << "" << QList<int>() << "WWWWWWW";
        QTest::newRow("Yes to All") << "012" << QList<int>{YesToAll} << "wWWWWWW";
        QTest::newRow("Yes and No")
            << "0123456" << QList<int>{Yes, No, Yes, No, Yes, No, Yes} << "wkwkwkw";
        QTest::newRow("No, then a new file") << "02" << QList<int>{No, Yes} << "kWwWWWW";
        // Files that do not exist yet are passed over too.
        QTest::newRow("No to All") << "012" << QList<int>{NoToAll} << "kKKKKKK";
        QTest::newRow("closed") << "012" << QList<int>{-1} << "kKKKKKK";
    }

    void filesAndOverwriteQuestions() {
        QFETCH(QString, existing);
        QFETCH(QList<int>, answers);
        QFETCH(QString, files);
        QTemporaryDir folder;
        for (const QChar index : existing)
            QVERIFY(TestImages::WriteFile(MacPath(folder, index.digitValue()), OldContent));
        Export run;
        run.prompter.answers = answers;
        QCOMPARE(run.Run(folder.path()), ExportRun::Outcome::Saved);
        QCOMPARE(run.prompter.folderPrompts, QStringList{"Select Folder"});
        QStringList messages;
        for (int i = 0; i < 7; ++i) {
            if (files[i].isLower())
                messages.append("The file " + MacPath(folder, i) +
                                " already exists. Do you want to overwrite it?");
        }
        QCOMPARE(run.prompter.Messages(), messages << Saved);
        const QStringList overwriteButtons{"Yes", "Yes to All", "No", "No to All"};
        QCOMPARE(run.prompter.questions.first().buttons,
                 messages.size() > 1 ? overwriteButtons : QStringList{"OK"});
        QCOMPARE(run.Actions(), files.toUpper());
        // The first success only arms the rating question.
        QCOMPARE(run.preference.value, std::optional<QString>("Yes"));
        QVERIFY(!run.rating.RateMessageShown());
        for (int i = 0; i < 7; ++i) {
            const QString path = MacPath(folder, i);
            QCOMPARE(run.files[i].path, path); // settled in the order of the set
            const bool existed = existing.contains(QString::number(i));
            if (files[i].toUpper() == u'W') {
                QCOMPARE(QImage(path).size(), QSize(MacSides[i], MacSides[i]));
            } else {
                QCOMPARE(QFileInfo::exists(path), existed);
                QCOMPARE(TestImages::ReadFile(path), existed ? OldContent : QByteArray());
            }
        }
    }

    void failedEncodeKeepsEveryOldFile() {
        // Without a format nothing can be encoded; nothing is removed before a write, so the
        // old files survive even "Yes to All".
        QTemporaryDir folder;
        DesignSettings settings;
        settings.iconFormat = -1;
        for (int i = 0; i < 7; ++i)
            QVERIFY(TestImages::WriteFile(MacPath(folder, i, ""), OldContent));
        Export run;
        run.prompter.answers = {YesToAll};
        QCOMPARE(run.Run(folder.path(), settings), ExportRun::Outcome::Failed);
        QCOMPARE(run.prompter.Messages().last(), NotSaved);
        QVERIFY(!run.prompter.questions.last().good);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(TestImages::ReadFile(MacPath(folder, i, "")), OldContent);
        QVERIFY(!run.preference.value.has_value()); // no rating check after a failure
    }

    // The rules every export shares (see OutputOccupants), here with the answers the command
    // line gives: Yes to All with --overwrite, No to All without.
    void occupantsOfTheOutputPath_data() { OutputOccupants::AddRows(); }

    void occupantsOfTheOutputPath() {
        QFETCH(int, occupant);
        QFETCH(bool, overwrite);
        QFETCH(int, outcome);
        QTemporaryDir folder;
        OutputOccupants::Scene scene(OutputOccupants::Occupant(occupant),
                                     folder.filePath("Icon16.png"));
        Export run;
        run.prompter.answers = {overwrite ? YesToAll : NoToAll};
        QCOMPARE(run.SaveAll(ExportOptions(), folder.path(), {{16, 16, "16"}}),
                 outcome != OutputOccupants::Failed);
        QCOMPARE(run.files.size(), 1);
        const ExportRun::FileResult& settled = run.files.first();
        QCOMPARE(int(settled.action), outcome);
        if (outcome == OutputOccupants::Failed)
            QVERIFY2(settled.failure.contains(settled.path), qPrintable(settled.failure));
        scene.Check(OutputOccupants::Outcome(outcome), 16);
        QCOMPARE(FolderListing::EntriesIn(folder.path()), QStringList{"Icon16.png"});
    }

    void unwritableNamesFailAlone_data() {
        // The size texts name the files; a NUL, a name longer than any file system takes or a
        // folder that does not exist fails that file only, and every file is tried.
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("sizeTexts");
        QTest::addColumn<QString>("files");  // W written, F failed
        QTest::addColumn<QString>("reason"); // part of the failure's reason, "" for any
        const auto row = [](const char* name, const QString& pattern, const QStringList& sizeTexts,
                            const char* files, const char* reason) {
            QTest::newRow(name) << pattern << sizeTexts << QString(files) << QString(reason);
        };
        const QString nul(QChar(0));
        row("NUL in one name", "Icon[Size]", {"16", "3" + nul + "2", "64"}, "WFW", "NUL");
        row("NUL in the pattern", "Icon" + nul + "[Size]", {"16", "32"}, "FF", "NUL");
        row("name too long", "Icon[Size]", {"16", QString(300, u'x'), "64"}, "WFW", "");
        row("missing subfolder", "sub/Icon[Size]", {"16", "32"}, "FF", "");
        // Every file stays inside the output folder, whatever the name.
        row("up and out", "../Icon[Size]", {"16"}, "F", "leads out of the output folder");
        row("out through a size", "Icon[Size]", {"16", "/../../32"}, "WF",
            "leads out of the output folder");
        row("absolute", "/Icon[Size]", {"16"}, "F", "absolute path");
    }

    void unwritableNamesFailAlone() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, sizeTexts);
        QFETCH(QString, files);
        QFETCH(QString, reason);
        QTemporaryDir outer;
        const QString folder = outer.filePath("export");
        QVERIFY(QDir().mkdir(folder));
        QList<OutputSize> sizes;
        for (const QString& text : sizeTexts)
            sizes.append({16, 16, text});
        Export run;
        QVERIFY(!run.SaveAll({pattern, 0, 80.0f}, folder, sizes));
        QVERIFY(run.prompter.questions.isEmpty());
        QCOMPARE(run.Actions(), files);
        QStringList expected;
        for (const ExportRun::FileResult& file : run.files) {
            const bool written = file.action == ExportRun::FileAction::Written;
            QVERIFY2(written ? file.failure.isEmpty()
                             : !file.failure.isEmpty() && file.failure.contains(reason),
                     qPrintable(file.failure));
            if (written)
                expected.append(QFileInfo(file.path).fileName());
        }
        // Nothing is written under the part of a name before its NUL, nothing left half-done,
        // nothing outside the folder.
        QCOMPARE(FolderListing::EntriesIn(folder), expected);
        QCOMPARE(FolderListing::EntriesIn(outer.path()), QStringList{"export"});
    }

    void invalidOrEmptyExports() {
        Export invalid;
        QCOMPARE(invalid.Run(QString()), ExportRun::Outcome::InvalidFolder);
        QCOMPARE(invalid.prompter.Messages(), QStringList{"The folder you selected is not valid."});
        QVERIFY(invalid.files.isEmpty());
        // No size chosen: nothing to write is still a success.
        QTemporaryDir folder;
        DesignSettings settings;
        settings.macSizes.fill(0);
        Export empty;
        QCOMPARE(empty.Run(folder.path(), settings), ExportRun::Outcome::Saved);
        QCOMPARE(empty.prompter.Messages(), QStringList{Saved});
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void fileNames_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no token") << "App" << 0 << "App16.png";
        QTest::newRow("repeated token") << "[Size]-[Size]" << 0 << "16-16.png";
        QTest::newRow("empty") << "" << 0 << "Icon16.png";
        QTest::newRow("token is case-sensitive") << "icon[size]" << 0 << "icon[size]16.png";
        QTest::newRow("no format") << "Icon[Size]" << -1 << "Icon16.";
        QTest::newRow("JPX") << "a[Size]b" << 5 << "a16b.jpx";
        QTest::newRow("subfolder") << "sub/[Size]" << 9 << "sub/16.bmp";
    }

    void fileNames() {
        QFETCH(QString, pattern);
        QFETCH(int, format);
        QFETCH(QString, expected);
        ScriptedPrompter prompter;
        QCOMPARE(ExportRun(prompter, {pattern, format, 80.0f}).GetFileName("16"), expected);
    }

    void absentUntilStoredThenWrittenThrough() {
        QSettings("Sigilon", "Sigilon").clear();
        StoredRatePreference preference;
        QVERIFY(!preference.ShowRateMessage().has_value());
        preference.SetShowRateMessage(QStringLiteral("Yes"));
        QCOMPARE(preference.ShowRateMessage(), std::optional<QString>("Yes"));
        // A fresh reader of the file sees it at once.
        QCOMPARE(QSettings("Sigilon", "Sigilon").value("ShowRateMessage"), QVariant("Yes"));
        preference.SetShowRateMessage(QStringLiteral("No"));
        QCOMPARE(StoredRatePreference().ShowRateMessage(), std::optional<QString>("No"));
        // Something other than a string is never "Yes".
        QSettings("Sigilon", "Sigilon").setValue("ShowRateMessage", QStringList{"Yes", "No"});
        const std::optional<QString> value = StoredRatePreference().ShowRateMessage();
        QVERIFY(value.has_value() && *value != QStringLiteral("Yes"));
    }
};

QTEST_MAIN(ExportRunTest)
#include "tst_ExportRun.moc"
