// `sigilon export --target ... --name ...` as a user runs it: what it refuses, what it
// writes, keeps and reports, and its exit status.

#include "design/DesignSettings.h"
#include "helpers/FolderListing.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileText.h"

#include <QImageReader>
#include <QJsonDocument>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QStringList out; // one entry per line
    QString err;
};

Run Sigilon(const QStringList& arguments) {
    const ProgramRun::Result run = ProgramRun::Sigilon(arguments);
    return {run.exitCode, run.out.split(u'\n', Qt::SkipEmptyParts), run.err};
}

// Every file under `folder`, relative to it, sorted.
QStringList FilesUnder(const QString& folder) {
    QStringList files = FolderListing::FilesUnder(folder).values();
    files.sort();
    return files;
}

QByteArray Profile(int width, int height) {
    DesignSettings settings;
    settings.canvasWidthText = QString::number(width);
    settings.canvasHeightText = QString::number(height);
    settings.text = QStringLiteral("Ab");
    return MakeProfileText(settings).toUtf8();
}

} // namespace

class PlatformExportCommandTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_dir;

    QString Output() const { return m_dir.filePath("out"); }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(Output()).removeRecursively();
        QVERIFY(QDir().mkpath(Output()));
    }

    void usageErrorsWriteNothing_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("mentioned");
        // An unknown target is told with the list of the valid ones.
        QTest::newRow("unknown target")
            << QStringList{"--target", "xcode,ios"}
            << QStringList{"\"ios\"", "sizes", "xcode",  "icns",  "windows",      "android", "web",
                           "linux",   "msix",  "splash", "tauri", "iconcomposer", "all"};
        QTest::newRow("empty target") << QStringList{"--target", "web,"} << QStringList{"\"\""};
        QTest::newRow("target without value")
            << QStringList{"--target"} << QStringList{"needs a value"};
        for (const QString& name :
             QStringList{"App Icon", "../up", "a/b", "Ikon\u00e9", "x$", "a*"})
            QTest::newRow(qPrintable("name " + name))
                << QStringList{"--target", "icns", "--name", name} << QStringList{name};
    }
    void usageErrorsWriteNothing() {
        QFETCH(QStringList, options);
        QFETCH(QStringList, mentioned);
        const Run run = Sigilon(QStringList{"export", "--output-dir", Output()} + options);
        QCOMPARE(run.exitCode, 2);
        for (const QString& part : mentioned)
            QVERIFY2(run.err.contains(part), qPrintable(run.err));
        QVERIFY(run.err.contains("Usage"));
        QCOMPARE(FilesUnder(Output()), QStringList());
    }

    // The size list and the named sets into a missing folder, the size list as the overrides
    // choose (set, size, names, format); --quiet lists nothing, a second run keeps every file
    // and says so, --overwrite replaces them.
    void setsAreWrittenThenKeptThenReplaced() {
        const QString profile = m_dir.Write("square.sgp", Profile(256, 256));
        const QString folder = QDir(Output()).filePath("flavours/beta");
        QStringList expected{"My.App-1_x.icns", "My.App-1_x.ico", "beta-48.gif"};
        for (int side : {16, 22, 24, 32, 48, 64, 128, 256, 512})
            expected << QStringLiteral("linux/hicolor/%1x%1/apps/My.App-1_x.png").arg(side);
        expected.sort();
        QStringList arguments{"export",       "--profile", profile,
                              "--output-dir", folder,      "--name",
                              "My.App-1_x",   "--target",  "sizes,icns,windows,linux"};
        for (const char* set : {"macIconSet=off", "customSize=on", "customWidth=48",
                                "customHeight=32", "namePattern=beta-[Size]", "iconFormat=8"})
            arguments << "--set" << set;
        const Run first = Sigilon(arguments + QStringList{"--quiet"});
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out, QStringList());
        QVERIFY2(first.err.contains("Icon(s) saved successfully."), qPrintable(first.err));
        QCOMPARE(first.err.count("enlarged"), 1); // the theme's 512 pixels, once
        QCOMPARE(FilesUnder(folder), expected);
        QImageReader gif(QDir(folder).filePath("beta-48.gif"));
        QCOMPARE(gif.format(), QByteArray("gif"));
        QCOMPARE(gif.size(), QSize(48, 32));

        const QString icns = QDir(folder).filePath("My.App-1_x.icns");
        QVERIFY(QFile::remove(icns));
        QVERIFY(TestImages::WriteFile(icns, "an older icon"));
        const Run second = Sigilon(arguments);
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out, QStringList());
        QCOMPARE(second.err.count("Skipped: "), expected.size());
        QVERIFY(second.err.contains("Skipped: " + icns));
        QCOMPARE(QFileInfo(icns).size(), qint64(13));

        const Run third = Sigilon(arguments + QStringList{"--overwrite"});
        QCOMPARE(third.exitCode, 0);
        QCOMPARE(third.out.size(), expected.size());
        for (const QString& path : third.out)
            QVERIFY2(path.startsWith(folder) && QFileInfo(path).isFile(), qPrintable(path));
        QVERIFY(QFileInfo(icns).size() > 13);
    }

    void aFailedFileFailsTheRunButNotTheOthers() {
        // A plain file where the web folder belongs.
        QVERIFY(!m_dir.Write("out/web", "in the way").isEmpty());
        const QString profile = m_dir.Write("small.sgp", Profile(64, 64));
        const Run run = Sigilon(
            {"export", "--profile", profile, "--output-dir", Output(), "--target", "web,linux"});
        QCOMPARE(run.exitCode, 1);
        const QString web = QDir(Output()).filePath("web");
        QVERIFY(run.err.contains("Could not save: " + web + "/favicon.ico (The folder " + web +
                                 " could not be created.)"));
        QCOMPARE(run.out.size(), 9); // the Linux theme
        QVERIFY(QFile::exists(QDir(Output()).filePath("linux/hicolor/512x512/apps/AppIcon.png")));
    }

    // A target list is a set: each target named once or more, alone or inside "all", in any
    // order, writes its own top-level entries once ("all" is every platform set, without the
    // size list), and nothing of a target not named. The app name reaches the web set.
    void targetListsInCombination_data() {
        const QMap<QString, QStringList> top{
            {"sizes",
             {"Icon16.png", "Icon32.png", "Icon64.png", "Icon128.png", "Icon256.png", "Icon512.png",
              "Icon1024.png"}},
            {"xcode", {"Set.appiconset"}},
            {"icns", {"Set.icns"}},
            {"windows", {"Set.ico"}},
            {"android", {"android"}},
            {"web", {"web"}},
            {"linux", {"linux"}},
            {"msix", {"msix"}},
            {"splash", {"splash", "android"}},
            {"tauri", {"tauri"}},
            {"iconcomposer", {"Set.icon"}}};
        QStringList everyPlatformSet;
        for (const QString& target : top.keys())
            if (target != "sizes")
                everyPlatformSet += top[target];
        const auto entries = [&](const QStringList& targets) {
            QStringList names;
            for (const QString& target : targets)
                names += target == "all" ? everyPlatformSet : top[target];
            names.removeDuplicates();
            names.sort();
            return names;
        };
        QTest::addColumn<QString>("targets");
        QTest::addColumn<QStringList>("expected");
        for (const char* list : {"sizes,all", "all,sizes", "all,web,all", "sizes,sizes",
                                 "linux,web", "web,linux", "icns,xcode,icns"})
            QTest::newRow(list) << QString(list) << entries(QString(list).split(u','));
    }
    void targetListsInCombination() {
        QFETCH(QString, targets);
        QFETCH(QStringList, expected);
        const QString profile = m_dir.Write("set.sgp", Profile(64, 64));
        const Run run =
            Sigilon({"export", "--profile", profile, "--output-dir", Output(), "--target", targets,
                     "--name", "Set", "--app-name", "Caf\u00e9 & Co"});
        QCOMPARE(run.exitCode, 0);
        const QString manifest = QDir(Output()).filePath("web/manifest.webmanifest");
        if (expected.contains("web"))
            QCOMPARE(QJsonDocument::fromJson(TestImages::ReadFile(manifest))["name"].toString(),
                     "Caf\u00e9 & Co");
        QStringList entries = FolderListing::EntriesIn(Output());
        entries.sort();
        QCOMPARE(entries, expected);
        // Written once each: every file is reported once, none was found already there.
        const QStringList files = FilesUnder(Output());
        QCOMPARE(run.out.size(), files.size());
        QCOMPARE(QSet<QString>(run.out.begin(), run.out.end()).size(), files.size());
        QVERIFY2(!run.err.contains("Skipped"), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(PlatformExportCommandTest)
#include "tst_PlatformExportCommand.moc"
