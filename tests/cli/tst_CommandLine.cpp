#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"
#include "support/TestImages.h"

#include <QBuffer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built program; `setUp` may redirect its output or change its environment.
Run Sigilon(
    const QStringList& arguments, const std::function<void(QProcess&)>& setUp = [](QProcess&) {}) {
    QProcess process;
    setUp(process);
    process.start(QStringLiteral(SIGILON_EXECUTABLE), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    QString Write(const QString& name, const QByteArray& bytes) { return m_dir.Write(name, bytes); }

    TestImages::ScratchFolder m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void helpAndVersionSucceed() {
        const Run help = Sigilon({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("sigilon render") && help.out.contains("--output-dir"));
        const Run version = Sigilon({"--version"});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith("sigilon "));
    }

    void usageErrorsExitWithTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown command") << QStringList{"paint"};
        QTest::newRow("render without output") << QStringList{"render"};
        QTest::newRow("option without value") << QStringList{"render", "--output"};
        QTest::newRow("option of another command") << QStringList{"profile", "--output", "x.png"};
        QTest::newRow("unknown option") << QStringList{"render", "--output", "x.png", "--fast"};
        QTest::newRow("export without folder") << QStringList{"export"};
    }
    void usageErrorsExitWithTwo() {
        QFETCH(QStringList, arguments);
        const Run run = Sigilon(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("Usage"));
        QVERIFY(!QFile::exists("x.png"));
    }

    void profilePrintsTheDesignsText() {
        const Run plain = Sigilon({"profile"});
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(plain.out, MakeProfileText(DesignSettings{}));
        // A 93-line profile is read as Load reads it, and printed in the current layout.
        DesignSettings named;
        named.namePattern = "App-[Size]";
        const QStringList lines = MakeProfileText(named).split(u'\n').mid(0, 93);
        const QString old = Write("old.sgp", (lines.join(u'\n') + u'\n').toUtf8());
        const Run read = Sigilon({"profile", "--profile", old});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(read.out.count(u'\n'), 104);
        QCOMPARE(read.out.split(u'\n').at(92), "App-[Size]");
    }

    void profileThatCannotBeWrittenFails() {
        // A full disk behind standard output: a script must not take a cut text for a profile.
        if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
            QSKIP("no /dev/full on this system");
        const Run run = Sigilon({"profile"}, [](QProcess& process) {
            process.setStandardOutputFile(QStringLiteral("/dev/full"));
        });
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.err.trimmed().isEmpty());
    }

    void unusableInputIsRefusedAndNothingIsWritten_data() {
        const QString text = MakeProfileText(DesignSettings{});
        const QByteArray png = TestImages::PngBytes(TestImages::AsymmetricImage(64, 64));
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::newRow("missing profile") << "--profile" << QByteArray();
        QTest::newRow("105 lines") << "--profile" << (text + "extra\n").toUtf8();
        QTest::newRow("profile not in UTF-8")
            << "--profile" << text.toUtf8().replace("Icon[Size]", "Ic\xff\xfe[Size]");
        QTest::newRow("missing icon") << "--icon" << QByteArray();
        QTest::newRow("truncated icon") << "--icon" << png.left(png.size() / 2);
    }
    void unusableInputIsRefusedAndNothingIsWritten() {
        QFETCH(QString, option);
        QFETCH(QByteArray, bytes);
        const bool icon = option == "--icon";
        const QString name = icon ? "input.png" : "input.sgp";
        const QString input = bytes.isEmpty() ? m_dir.filePath("none") : Write(name, bytes);
        const QString output = m_dir.filePath("never.png");
        const Run run = Sigilon({"render", option, input, "--output", output});
        QCOMPARE(run.exitCode, 1);
        // A decoder library may print its own line first; ours is the last word.
        QCOMPARE(run.err.trimmed().split(u'\n').last(),
                 icon ? "The image could not be loaded." : "Could not load profile.");
        QVERIFY(!QFile::exists(output));
    }

    void renderDrawsTheProfileWithTheIconAtItsPixelSize() {
        // 512 x 512 pixels declaring 144 dpi are still 512 units: edge to edge on a 512 canvas
        // without background, outline or shadow.
        QImage icon = TestImages::AsymmetricImage(512, 512);
        icon.setDotsPerMeterX(5669);
        icon.setDotsPerMeterY(5669);
        DesignSettings settings;
        settings.transparentBackground = 1;
        settings.backgroundStroke = 0;
        settings.backgroundShadow = 0;
        settings.cornerCurvature = 0.0f;
        settings.canvasWidthText = settings.canvasHeightText = "512";
        const QString output = m_dir.filePath("icon.png");
        const Run run = Sigilon(
            {"render", "--profile", Write("plain.sgp", MakeProfileText(settings).toUtf8()),
             "--icon", Write("retina.png", TestImages::PngBytes(icon)), "--output", output});
        QCOMPARE(run.exitCode, 0);
        QImageReader reader(output);
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(TestImages::FirstDifference(reader.read(), icon, 4), QString());
    }

    void renderIntoAMissingFolderFails() {
        const QString output = m_dir.filePath("no/such/folder/out.png");
        const Run run = Sigilon({"render", "--output", output});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(output));
    }

    void renderNeedsNoDisplayWhateverPlatformIsSet() {
        // A desktop session often exports its display platform; a script run from it, or over a
        // connection without a display, must still render.
        const QString output = m_dir.filePath("default.png");
        const Run run = Sigilon({"render", "--output", output}, [](QProcess& process) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "xcb");
            environment.remove("DISPLAY");
            environment.remove("WAYLAND_DISPLAY");
            process.setProcessEnvironment(environment);
        });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImageReader(output).size(), QSize(1024, 1024));
    }

    void exportWritesTheChosenSetAndOverwritesOnlyWhenAsked() {
        DesignSettings settings;
        settings.macIconSet = 0;
        settings.customSize = 1;
        settings.customWidthText = "300";
        settings.customHeightText = "200";
        settings.namePattern = "Logo-[Size]";
        const QString folder = m_dir.filePath("icons");
        QVERIFY(QDir().mkpath(folder));
        const QStringList arguments{"export", "--profile",
                                    Write("custom.sgp", MakeProfileText(settings).toUtf8()),
                                    "--output-dir", folder};
        const QString written = QDir(folder).filePath("Logo-300.png");

        const Run first = Sigilon(arguments);
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out.trimmed(), written);
        QVERIFY(first.err.contains("Icon(s) saved successfully."));
        QCOMPARE(QImage(written).size(), QSize(300, 200));
        QVERIFY(Sigilon(arguments).err.contains("Skipped: " + written));
        const Run forced = Sigilon(arguments + QStringList{"--overwrite"});
        QCOMPARE(forced.exitCode, 0);
        QCOMPARE(forced.out.trimmed(), written);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_CommandLine.moc"
