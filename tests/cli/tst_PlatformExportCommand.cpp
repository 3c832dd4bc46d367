// `sigilon export --target ... --name ...` as a user runs it: what it refuses, what it
// writes, keeps and reports, and its exit status.

#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"
#include "support/TestImages.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QStringList out; // one entry per line
    QString err;
};

Run Sigilon(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SIGILON_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every file under `folder`, relative to it, sorted.
QStringList FilesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

QByteArray Profile(int width, int height, bool transparent = false) {
    DesignSettings settings;
    settings.canvasWidthText = QString::number(width);
    settings.canvasHeightText = QString::number(height);
    settings.transparentBackground = transparent ? 1 : 0;
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
        QTest::addColumn<QString>("mentioned");
        QTest::newRow("unknown target") << QStringList{"--target", "xcode,ios"} << "\"ios\"";
        QTest::newRow("empty target") << QStringList{"--target", "web,"} << "\"\"";
        QTest::newRow("target without value") << QStringList{"--target"} << "needs a value";
        for (const QString& name :
             QStringList{"App Icon", "../up", "a/b", "Ikon\u00e9", "x$", "a*"})
            QTest::newRow(qPrintable("name " + name))
                << QStringList{"--target", "icns", "--name", name} << name;
    }
    void usageErrorsWriteNothing() {
        QFETCH(QStringList, options);
        QFETCH(QString, mentioned);
        const Run run = Sigilon(QStringList{"export", "--output-dir", Output()} + options);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(mentioned), qPrintable(run.err));
        QVERIFY(run.err.contains("Usage"));
        QCOMPARE(FilesUnder(Output()), QStringList());
    }

    void unknownTargetListsTheValidOnes() {
        const Run run = Sigilon({"export", "--output-dir", Output(), "--target", "mac"});
        QCOMPARE(run.exitCode, 2);
        for (const char* valid :
             {"sizes", "xcode", "icns", "windows", "android", "web", "linux", "all"})
            QVERIFY2(run.err.contains(QLatin1String(valid)), valid);
    }

    void nonSquareDesignWritesNothing_data() {
        QTest::addColumn<QString>("targets");
        QTest::newRow("one platform") << "xcode";
        QTest::newRow("with the size list") << "sizes,linux";
        QTest::newRow("all") << "all";
    }
    void nonSquareDesignWritesNothing() {
        QFETCH(QString, targets);
        const QString profile = m_dir.Write("wide.sgp", Profile(1024, 512));
        const Run run = Sigilon(
            {"export", "--profile", profile, "--output-dir", Output(), "--target", targets});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("1024 x 512") && run.err.contains("square"), qPrintable(run.err));
        QCOMPARE(FilesUnder(Output()), QStringList());
    }

    void namedSetsAreWrittenThenKeptThenReplaced() {
        const QString profile = m_dir.Write("square.sgp", Profile(256, 256));
        const QStringList expected{"My.App-1_x.icns",
                                   "My.App-1_x.ico",
                                   "linux/hicolor/128x128/apps/My.App-1_x.png",
                                   "linux/hicolor/16x16/apps/My.App-1_x.png",
                                   "linux/hicolor/22x22/apps/My.App-1_x.png",
                                   "linux/hicolor/24x24/apps/My.App-1_x.png",
                                   "linux/hicolor/256x256/apps/My.App-1_x.png",
                                   "linux/hicolor/32x32/apps/My.App-1_x.png",
                                   "linux/hicolor/48x48/apps/My.App-1_x.png",
                                   "linux/hicolor/512x512/apps/My.App-1_x.png",
                                   "linux/hicolor/64x64/apps/My.App-1_x.png"};
        const QStringList arguments{
            "export",   "--profile",          profile,  "--output-dir", Output(),
            "--target", "icns,windows,linux", "--name", "My.App-1_x"};
        const Run first = Sigilon(arguments);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(FilesUnder(Output()), expected);
        QCOMPARE(first.out.size(), expected.size());
        for (const QString& path : first.out)
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));

        // Run again: everything is there, so everything is kept and said so.
        const QString icns = QDir(Output()).filePath("My.App-1_x.icns");
        QVERIFY(QFile::remove(icns));
        QVERIFY(!m_dir.Write("out/My.App-1_x.icns", "an older icon").isEmpty());
        const Run second = Sigilon(arguments);
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out, QStringList());
        QCOMPARE(second.err.count("Skipped: "), expected.size());
        QVERIFY(second.err.contains("Skipped: " + icns));
        QCOMPARE(QFileInfo(icns).size(), qint64(13));

        const Run third = Sigilon(arguments + QStringList{"--overwrite"});
        QCOMPARE(third.exitCode, 0);
        QCOMPARE(third.out.size(), expected.size());
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

    void sizeListAndPlatformSetsTogether() {
        const QString profile = m_dir.Write("default.sgp", Profile(128, 128, true));
        const Run run = Sigilon(
            {"export", "--profile", profile, "--output-dir", Output(), "--target", "linux,sizes"});
        QCOMPARE(run.exitCode, 0);
        const QStringList files = FilesUnder(Output());
        QCOMPARE(files.filter(QRegularExpression("^Icon\\d+\\.png$")).size(), 7);
        QCOMPARE(files.filter(QRegularExpression("^linux/")).size(), 9);
        // A transparent design is put on white only for full-bleed icons, which Linux has none
        // of; the enlargement past the 128-pixel canvas is said once.
        QVERIFY(!run.err.contains("white"));
        QCOMPARE(run.err.count("enlarged"), 1);
    }

    void transparentBackgroundIsSaidOnce() {
        const QString profile = m_dir.Write("clear.sgp", Profile(1024, 1024, true));
        const Run run =
            Sigilon({"export", "--profile", profile, "--output-dir", Output(), "--target", "all"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err.count("white"), 1);
        QVERIFY(!run.err.contains("enlarged"));
    }
};

QTEST_GUILESS_MAIN(PlatformExportCommandTest)
#include "tst_PlatformExportCommand.moc"
