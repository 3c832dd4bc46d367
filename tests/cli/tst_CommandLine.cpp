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
        QTest::addColumn<QString>("told"); // part of the message
        QTest::newRow("unknown command") << QStringList{"paint"} << "paint";
        QTest::newRow("render without output") << QStringList{"render"} << "--output";
        QTest::newRow("option without value") << QStringList{"render", "--output"} << "--output";
        QTest::newRow("option of another command")
            << QStringList{"profile", "--output", "x.png"} << "--output";
        QTest::newRow("unknown option")
            << QStringList{"render", "--output", "x.png", "--fast"} << "--fast";
        QTest::newRow("export without folder") << QStringList{"export"} << "--output-dir";
        QTest::newRow("quiet render")
            << QStringList{"render", "--output", "x.png", "--quiet"} << "--quiet";
        QTest::newRow("two profiles for the editor") << QStringList{"a.sgp", "b.sgp"} << "one";
        QTest::newRow("editor option") << QStringList{"a.sgp", "--maximized"} << "--maximized";
        QTest::newRow("set of an unknown value")
            << QStringList{"profile", "--set", "shade=#000000"} << "shade";
        QTest::newRow("set of a bad value")
            << QStringList{"render", "--output", "x.png", "--set", "canvasWidth=8\n8"}
            << "canvasWidth";
        // The arguments are judged before the profile is read.
        QTest::newRow("set of a bad value with a missing profile")
            << QStringList{"profile", "--profile", "/no/such.sgp", "--set", "fontSize=big"}
            << "fontSize takes a number";
    }
    void usageErrorsExitWithTwo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, told);
        const Run run = Sigilon(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.contains("Usage"));
        QVERIFY2(run.err.section(u'\n', 0, 0).contains(told), qPrintable(run.err));
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

    void setChangesTheProfilesLineAfterTheProfile() {
        DesignSettings alpha;
        alpha.text = "ALPHA";
        alpha.fontIndex = 3;
        const QString profile = Write("alpha.sgp", MakeProfileText(alpha).toUtf8());
        const Run plain = Sigilon({"profile", "--profile", profile});
        const Run beta = Sigilon({"profile", "--profile", profile, "--set", "text=BETA"});
        QCOMPARE(beta.exitCode, 0);
        const QStringList before = plain.out.split(u'\n');
        const QStringList after = beta.out.split(u'\n');
        QCOMPARE(after.size(), before.size());
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (i != 38) // the text's line
                QCOMPARE(after[i], before[i]);
        }
        QCOMPARE(before[38], "ALPHA");
        QCOMPARE(after[38], "BETA");
    }

    void exportWithOverridesIntoANewFolderQuietly() {
        const QString folder = m_dir.filePath("flavours/beta");
        const Run run = Sigilon({"export", "--quiet", "--output-dir", folder, "--set",
                                 "macIconSet=off", "--set", "customSize=on", "--set",
                                 "customWidth=48", "--set", "customHeight=32", "--set",
                                 "namePattern=beta-[Size]", "--set", "iconFormat=8"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"beta-48.gif"});
        QImageReader written(QDir(folder).filePath("beta-48.gif"));
        QCOMPARE(written.format(), QByteArray("gif"));
        QCOMPARE(written.size(), QSize(48, 32));
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
