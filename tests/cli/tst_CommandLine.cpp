#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"
#include "support/TestImages.h"

#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run Sigilon(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SIGILON_EXECUTABLE), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// A plain design that shows the icon alone, edge to edge: no background, no outline, no
// shadow, square corners.
QString IconOnlyProfile(int canvas) {
    DesignSettings settings;
    settings.transparentBackground = 1;
    settings.backgroundStroke = 0;
    settings.backgroundShadow = 0;
    settings.cornerCurvature = 0.0f;
    settings.canvasWidthText = QString::number(canvas);
    settings.canvasHeightText = QString::number(canvas);
    return MakeProfileText(settings);
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void helpAndVersionSucceed();
    void usageErrorsExitWithTwo_data();
    void usageErrorsExitWithTwo();
    void profilePrintsTheDefaultText();
    void profileThatCannotBeWrittenFails();
    void profileAppliesOlderLayouts();
    void unreadableProfilesAreRefused_data();
    void unreadableProfilesAreRefused();
    void renderWritesThePictureAtCanvasSize();
    void renderUsesTheIconAtItsPixelSizeWhateverItsResolution();
    void unreadableIconIsRefusedAndNothingIsWritten();
    void renderIntoAMissingFolderFails();
    void renderNeedsNoDisplayWhateverPlatformIsSet();
    void exportWritesTheChosenSetAndKeepsExistingFiles();

private:
    QTemporaryDir m_dir;
};

void CommandLineTest::helpAndVersionSucceed() {
    const Run help = Sigilon({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains(QStringLiteral("sigilon render")));
    QVERIFY(help.out.contains(QStringLiteral("--output-dir")));
    const Run version = Sigilon({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith(QStringLiteral("sigilon ")));
}

void CommandLineTest::usageErrorsExitWithTwo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown command") << QStringList{"paint"};
    QTest::newRow("render without output") << QStringList{"render"};
    QTest::newRow("option without value") << QStringList{"render", "--output"};
    QTest::newRow("option of another command") << QStringList{"profile", "--output", "x.png"};
    QTest::newRow("unknown option") << QStringList{"render", "--output", "x.png", "--fast"};
    QTest::newRow("export without folder") << QStringList{"export"};
}

void CommandLineTest::usageErrorsExitWithTwo() {
    QFETCH(QStringList, arguments);
    const Run run = Sigilon(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("Usage")));
    QVERIFY(!QFile::exists(QStringLiteral("x.png")));
}

void CommandLineTest::profilePrintsTheDefaultText() {
    const Run run = Sigilon({QStringLiteral("profile")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, MakeProfileText(DesignSettings{}));
}

void CommandLineTest::profileThatCannotBeWrittenFails() {
    // A full disk behind standard output: a script must not take a cut text for a profile.
    if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
        QSKIP("no /dev/full on this system");
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(SIGILON_EXECUTABLE), {QStringLiteral("profile")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(!process.readAllStandardError().trimmed().isEmpty());
}

void CommandLineTest::profileAppliesOlderLayouts() {
    // A 93-line profile: the current text without the watchOS lines, with a different name
    // pattern to show it was read.
    QStringList lines = MakeProfileText(DesignSettings{}).split(QLatin1Char('\n'));
    lines = lines.mid(0, 93);
    lines[92] = QStringLiteral("App-[Size]");
    const QString path = WriteText(m_dir, QStringLiteral("old.sgp"),
                                   (lines.join(QLatin1Char('\n')) + "\n").toUtf8());
    const Run run = Sigilon({QStringLiteral("profile"), QStringLiteral("--profile"), path});
    QCOMPARE(run.exitCode, 0);
    const QStringList printed = run.out.split(QLatin1Char('\n'));
    QCOMPARE(printed.size(), 105);
    QCOMPARE(printed[92], QStringLiteral("App-[Size]"));
}

void CommandLineTest::unreadableProfilesAreRefused_data() {
    const QString text = MakeProfileText(DesignSettings{});
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("windows line ends") << QString(text).replace("\n", "\r\n").toUtf8() << true;
    QTest::newRow("105 lines") << (text + "extra\n").toUtf8() << true;
    QTest::newRow("not utf-8")
        << QByteArray(text.toUtf8()).replace("Icon[Size]", "Ic\xff\xfe[Size]") << true;
}

void CommandLineTest::unreadableProfilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    const QString path = exists ? WriteText(m_dir, QStringLiteral("bad.sgp"), bytes)
                                : m_dir.filePath(QStringLiteral("none.sgp"));
    const QString output = m_dir.filePath(QStringLiteral("bad.png"));
    const Run run = Sigilon({QStringLiteral("render"), QStringLiteral("--profile"), path,
                             QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err.trimmed(), QStringLiteral("Could not load profile."));
    QVERIFY(!QFile::exists(output));
}

void CommandLineTest::renderWritesThePictureAtCanvasSize() {
    DesignSettings settings;
    settings.canvasWidthText = QStringLiteral("300");
    settings.canvasHeightText = QStringLiteral("200");
    settings.text = QStringLiteral("Hi");
    const QString profile =
        WriteText(m_dir, QStringLiteral("wide.sgp"), MakeProfileText(settings).toUtf8());
    const QString output = m_dir.filePath(QStringLiteral("wide.png"));
    const Run run = Sigilon({QStringLiteral("render"), QStringLiteral("--profile"), profile,
                             QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 0);
    QImageReader reader(output);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage picture = reader.read();
    QCOMPARE(picture.size(), QSize(300, 200));
    // Transparent corners, opaque middle.
    QCOMPARE(picture.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(picture.pixelColor(150, 100).alpha(), 255);
}

void CommandLineTest::renderUsesTheIconAtItsPixelSizeWhateverItsResolution() {
    // 512 x 512 pixels declaring 144 dpi: still 512 units, so it fills a 512 canvas exactly.
    QImage icon = TestImages::AsymmetricImage(512, 512);
    icon.setDotsPerMeterX(5669);
    icon.setDotsPerMeterY(5669);
    const QString iconPath = m_dir.filePath(QStringLiteral("retina.png"));
    QVERIFY(icon.save(iconPath));
    QCOMPARE(QImageReader(iconPath).read().dotsPerMeterX(), 5669);

    const QString profile =
        WriteText(m_dir, QStringLiteral("plain.sgp"), IconOnlyProfile(512).toUtf8());
    const QString output = m_dir.filePath(QStringLiteral("icon.png"));
    const Run run =
        Sigilon({QStringLiteral("render"), QStringLiteral("--profile"), profile,
                 QStringLiteral("--icon"), iconPath, QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 0);
    const QImage picture(output);
    QCOMPARE(picture.size(), QSize(512, 512));
    for (const QPoint p : {QPoint(0, 0), QPoint(511, 0), QPoint(0, 511), QPoint(511, 511)})
        QCOMPARE(picture.pixelColor(p).alpha(), 255);
    QVERIFY(TestImages::ColorsClose(picture.pixelColor(3, 3), Qt::green, 4));
    QVERIFY(TestImages::ColorsClose(picture.pixelColor(508, 508), Qt::blue, 4));
}

void CommandLineTest::unreadableIconIsRefusedAndNothingIsWritten() {
    const QString notes = WriteText(m_dir, QStringLiteral("notes.png"), "just some text\n");
    QImage image = TestImages::AsymmetricImage(64, 64);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "PNG"));
    }
    const QString truncated = WriteText(m_dir, QStringLiteral("cut.png"), png.left(png.size() / 2));
    for (const QString& icon : {notes, truncated, m_dir.filePath(QStringLiteral("gone.png"))}) {
        const QString output = m_dir.filePath(QStringLiteral("never.png"));
        const Run run = Sigilon({QStringLiteral("render"), QStringLiteral("--icon"), icon,
                                 QStringLiteral("--output"), output});
        QCOMPARE(run.exitCode, 1);
        // A decoder library may print its own line first; ours is the last word.
        QCOMPARE(run.err.trimmed().split(QLatin1Char('\n')).last(),
                 QStringLiteral("The image could not be loaded."));
        QVERIFY(!QFile::exists(output));
    }
}

void CommandLineTest::renderIntoAMissingFolderFails() {
    const QString output = m_dir.filePath(QStringLiteral("no/such/folder/out.png"));
    const Run run = Sigilon({QStringLiteral("render"), QStringLiteral("--output"), output});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains(output));
}

void CommandLineTest::renderNeedsNoDisplayWhateverPlatformIsSet() {
    // A desktop session often exports its display platform; a script run from it, or over a
    // connection without a display, must still render.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    DesignSettings settings;
    settings.canvasWidthText = QStringLiteral("64");
    settings.canvasHeightText = QStringLiteral("48");
    settings.text = QStringLiteral("Hi");
    const QString profile =
        WriteText(m_dir, QStringLiteral("small.sgp"), MakeProfileText(settings).toUtf8());
    const QString output = m_dir.filePath(QStringLiteral("small.png"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SIGILON_EXECUTABLE),
                  {QStringLiteral("render"), QStringLiteral("--profile"), profile,
                   QStringLiteral("--output"), output});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QImageReader(output).size(), QSize(64, 48));
}

void CommandLineTest::exportWritesTheChosenSetAndKeepsExistingFiles() {
    DesignSettings settings;
    settings.macIconSet = 0;
    settings.customSize = 1;
    settings.customWidthText = QStringLiteral("300");
    settings.customHeightText = QStringLiteral("200");
    settings.namePattern = QStringLiteral("Logo-[Size]");
    const QString profile =
        WriteText(m_dir, QStringLiteral("custom.sgp"), MakeProfileText(settings).toUtf8());
    const QString icon = m_dir.filePath(QStringLiteral("mark.png"));
    QVERIFY(TestImages::AsymmetricImage(128, 128).save(icon));
    const QString folder = m_dir.filePath(QStringLiteral("icons"));
    QVERIFY(QDir().mkpath(folder));
    const QStringList arguments{QStringLiteral("export"),
                                QStringLiteral("--profile"),
                                profile,
                                QStringLiteral("--icon"),
                                icon,
                                QStringLiteral("--output-dir"),
                                folder};

    const Run first = Sigilon(arguments);
    QCOMPARE(first.exitCode, 0);
    const QString written = QDir(folder).filePath(QStringLiteral("Logo-300.png"));
    QCOMPARE(first.out.trimmed(), written);
    QVERIFY(first.err.contains(QStringLiteral("Icon(s) saved successfully.")));
    QCOMPARE(QImage(written).size(), QSize(300, 200));
    const QDateTime stamp = QFileInfo(written).lastModified();

    const Run again = Sigilon(arguments);
    QCOMPARE(again.exitCode, 0);
    QVERIFY(again.out.trimmed().isEmpty());
    QVERIFY(again.err.contains(QStringLiteral("Skipped: ") + written));
    QCOMPARE(QFileInfo(written).lastModified(), stamp);

    const Run forced = Sigilon(arguments + QStringList{QStringLiteral("--overwrite")});
    QCOMPARE(forced.exitCode, 0);
    QCOMPARE(forced.out.trimmed(), written);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_CommandLine.moc"
