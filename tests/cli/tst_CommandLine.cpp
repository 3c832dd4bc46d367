// The program's arguments and the program run from a script, as a user runs it: what it starts
// for, what it refuses, writes, keeps and reports, the messages a script relies on, and its
// exit status.

#include "cli/DesktopSession.h"
#include "cli/StartRequest.h"
#include "design/DesignSettings.h"
#include "helpers/FolderListing.h"
#include "helpers/ProgramRun.h"
#include "helpers/RefusingImageHelper.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileText.h"
#include "symbols/SymbolDocument.h"
#include "symbols/SymbolLibrary.h"

#include <QImageReader>
#include <QJsonDocument>
#include <QtTest>

#include <sys/resource.h>

Q_DECLARE_METATYPE(StartRequest::Mode)

using ProgramRun::Sigilon;
using Run = ProgramRun::Result;

namespace {

// What the program printed, one entry per line.
QStringList Lines(const QString& printed) {
    return printed.split(u'\n', Qt::SkipEmptyParts);
}

QByteArray Profile(int width, int height) {
    DesignSettings settings;
    settings.canvasWidthText = QString::number(width);
    settings.canvasHeightText = QString::number(height);
    settings.text = QStringLiteral("Ab");
    return MakeProfileText(settings).toUtf8();
}

// A turbulence of ten octaves over the whole area: a thumbnail in well under two seconds,
// minutes and gigabytes if it were drawn straight at the canvas's largest size.
QByteArray TurbulenceSvg() {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\"><filter id=\"t\" "
           "x=\"0\" y=\"0\" width=\"1\" height=\"1\"><feTurbulence baseFrequency=\"0.05\" "
           "numOctaves=\"10\"/></filter><rect width=\"100\" height=\"100\" "
           "filter=\"url(#t)\"/></svg>";
}

struct WatchedRun {
    int exitCode = -1; // -1 when it was ended, crashed or could not start
    qint64 peakKilobytes = 0;
};

// Runs the program to its end, or ends it once its resident memory passes `limitKilobytes` or
// it runs past `seconds`. The peak is the largest resident memory of any child this process has
// waited for (the system's own count, which covers the moments between two looks): this run's
// and its helpers', or that of an earlier, smaller run.
WatchedRun RunWatchingMemory(const QStringList& arguments, qint64 limitKilobytes, int seconds) {
    QProcess process;
    process.start(QStringLiteral(SIGILON_EXECUTABLE), arguments);
    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(20)) {
        QFile proc(QStringLiteral("/proc/%1/status").arg(process.processId()));
        qint64 resident = 0;
        if (proc.open(QIODevice::ReadOnly))
            for (const QByteArray& line : proc.readAll().split('\n'))
                if (line.startsWith("VmRSS:"))
                    resident = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        if (resident > limitKilobytes || clock.elapsed() > seconds * 1000) {
            process.kill();
            process.waitForFinished();
            ended = true;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const bool normal = !ended && process.error() != QProcess::FailedToStart &&
                        process.exitStatus() == QProcess::NormalExit;
    return {normal ? process.exitCode() : -1, qint64(usage.ru_maxrss)};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_dir;

    QString Write(const QString& name, const QByteArray& bytes) { return m_dir.Write(name, bytes); }
    QString Output() const { return m_dir.filePath("out"); } // the export's folder, made empty

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(Output()).removeRecursively();
        QVERIFY(QDir().mkpath(Output()));
    }

    // What the program starts for, decided from its arguments before any window exists (help
    // and version run in tst_InstallTree, the usage errors as printed below).
    void modeAndProfile_data() {
        using Mode = StartRequest::Mode;
        const QString existing = m_dir.Write("design", "not read here");
        const QString missing = m_dir.filePath("missing.sgp");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("said"); // the editor's profile, or part of the error
        const auto row = [](const char* name, const QStringList& arguments, Mode mode,
                            const QString& said) {
            QTest::newRow(name) << arguments << mode << said;
        };
        row("nothing", {}, Mode::Editor, "");
        row("profile", {missing}, Mode::Editor, missing);
        row("upper-case suffix", {"LOGO.SGP"}, Mode::Editor, "LOGO.SGP");
        row("existing file without suffix", {existing}, Mode::Editor, existing);
        row("command", {"export", "--output-dir", "x"}, Mode::CommandLine, "");
        row("unknown option", {"--fullscreen"}, Mode::UsageError, "--fullscreen");
        row("option after the profile", {"a.sgp", "--quiet"}, Mode::UsageError, "--quiet");
        row("command option without command", {"--profile", "a.sgp"}, Mode::UsageError,
            "--profile");
        row("command after a profile", {"a.sgp", "render"}, Mode::UsageError, "one profile");
    }
    void modeAndProfile() {
        QFETCH(QStringList, arguments);
        QFETCH(StartRequest::Mode, mode);
        QFETCH(QString, said);
        const StartRequest request = StartRequest::FromArguments(arguments);
        QCOMPARE(request.mode, mode);
        const bool error = mode == StartRequest::Mode::UsageError;
        QCOMPARE(request.profilePath, error ? QString() : said);
        QVERIFY2(error ? request.error.contains(said) : request.error.isEmpty(),
                 qPrintable(request.error));
    }

    // Every row would write "out" if its arguments were taken. What each --set value takes is
    // tst_DesignOverrides' concern; here the refusal's place in the run.
    void usageErrorsExitWithTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message"); // all that precedes the usage text
        const auto row = [](const char* name, const QStringList& arguments, const QString& told) {
            QTest::newRow(name) << arguments << told;
        };
        const QString longName(201, u'a');
        row("unknown command", {"paint"}, "unknown command: paint");
        row("render without output", {"render"}, "render needs --output");
        row("option without value", {"render", "--output"}, "--output needs a value");
        row("option of another command", {"profile", "--output", "out"},
            "unknown option for profile: --output");
        row("unknown option", {"render", "--output", "out", "--fast"},
            "unknown option for render: --fast");
        row("export without folder", {"export"}, "export needs --output-dir");
        row("app name for render", {"render", "--output", "out", "--app-name", "X"},
            "unknown option for render: --app-name");
        row("app name without value", {"export", "--output-dir", "out", "--app-name"},
            "--app-name needs a value");
        row("two profiles for the editor", {"a.sgp", "b.sgp"},
            "the editor opens one profile at a time, not 2");
        row("set of an unknown value", {"profile", "--set", "shade=#000000"},
            "--set: the design has no value named \"shade\" (sigilon(1) lists the names)");
        // The arguments are judged before the profile is read.
        row("set of a bad value with a missing profile",
            {"profile", "--profile", "/no/such.sgp", "--set", "fontSize=big"},
            "--set fontSize: \"big\" is not accepted; fontSize takes a number such as 40 or 0.25");
        row("name of 201 characters",
            {"export", "--output-dir", "out", "--target", "icns", "--name", longName},
            "the name may hold at most 200 characters, not 201");
        for (const char* name : {".", ".."})
            row(name, {"export", "--output-dir", "out", "--name", name},
                "the name may not be \".\" or \"..\"");
        // An unknown target is told with the list of the valid ones.
        const QStringList exportOut{"export", "--output-dir", "out"};
        const QString valid = "(valid targets: sizes, xcode, icns, windows, android, web, linux, "
                              "msix, splash, tauri, iconcomposer, all)";
        row("unknown target", exportOut + QStringList{"--target", "xcode,ios"},
            "unknown target \"ios\" " + valid);
        row("empty target", exportOut + QStringList{"--target", "web,"},
            "unknown target \"\" " + valid);
        row("target without value", exportOut + QStringList{"--target"}, "--target needs a value");
        row("badge for render", {"render", "--output", "out", "--badge", "DEV"},
            "unknown option for render: --badge");
        row("unknown badge style",
            exportOut + QStringList{"--badge", "DEV", "--badge-style", "tag"},
            "--badge-style takes one of label, ribbon, not \"tag\"");
        row("unknown badge position", exportOut + QStringList{"--badge-position", "middle"},
            "--badge-position takes one of top-left, top, top-right, bottom-left, bottom, "
            "bottom-right, not \"middle\"");
        row("badge colour by name", exportOut + QStringList{"--badge-color", "red"},
            "--badge-color takes a colour as #RRGGBB, not \"red\"");
        row("badge version missing", exportOut + QStringList{"--badge", "BETA {version}"},
            "the badge \"BETA {version}\" needs --version");
        row("symbols with an unknown option", {"symbols", "cloud", "--fast"},
            "unknown option for symbols: --fast");
        row("symbols limited to none", {"symbols", "cloud", "--limit", "0"},
            "--limit takes a whole number from 1, not \"0\"");
        row("symbols limit without value", {"symbols", "--limit"}, "--limit needs a value");
        for (const QString name : {"App Icon", "../up", "a/b", "Ikon\u00e9", "x$", "a*"})
            row(qPrintable("name " + name),
                exportOut + QStringList{"--target", "icns", "--name", name},
                "the name \"" + name + "\" may hold only letters, digits, \".\", \"-\" and \"_\"");
    }
    void usageErrorsExitWithTwo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const TestImages::ScratchFolder scratch;
        const Run run = Sigilon(arguments, [&scratch](QProcess& process) {
            process.setWorkingDirectory(scratch.filePath(""));
        });
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        const qsizetype usage = run.err.indexOf("Usage:");
        QVERIFY2(usage > 0, qPrintable(run.err));
        QCOMPARE(run.err.left(usage), "sigilon: " + message + u'\n');
        QVERIFY(!QFileInfo::exists(scratch.filePath("out")));
    }

    // A 93-line profile is read as Load reads it and printed in the current layout; --set
    // changes its own line of the profile read, nothing else.
    void profilePrintsTheDesignAfterTheOverrides() {
        const Run plain = Sigilon({"profile"});
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(plain.out, MakeProfileText(DesignSettings{}));
        DesignSettings named;
        named.namePattern = "App-[Size]";
        named.text = "ALPHA";
        const QStringList lines = MakeProfileText(named).split(u'\n').mid(0, 93);
        const QString old = Write("old.sgp", (lines.join(u'\n') + u'\n').toUtf8());
        const Run read = Sigilon({"profile", "--profile", old, "--set", "text=BETA"});
        QCOMPARE(read.exitCode, 0);
        DesignSettings expected; // colours come back from a profile at single precision
        QVERIFY(ApplyProfileText(expected, MakeProfileText(DesignSettings{}), false));
        expected.text = "BETA";
        expected.namePattern = "App-[Size]";
        QCOMPARE(read.out, MakeProfileText(expected));
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

    // Edge to edge on a canvas of its size without background, outline or shadow (that a
    // resolution never changes its size is tst_ProfileCommands' concern). A desktop session often
    // exports its display platform; a script run from it, or over a connection without a
    // display, must still render.
    void renderDrawsTheProfileWithTheIconWithoutDisplay() {
        const QImage icon = TestImages::AsymmetricImage(512, 512);
        DesignSettings settings;
        settings.transparentBackground = 1;
        settings.backgroundStroke = 0;
        settings.backgroundShadow = 0;
        settings.cornerCurvature = 0.0f;
        settings.canvasWidthText = settings.canvasHeightText = "512";
        const QString output = m_dir.filePath("icon.png");
        const Run run = Sigilon(
            {"render", "--profile", Write("plain.sgp", MakeProfileText(settings).toUtf8()),
             "--icon", Write("input.png", TestImages::PngBytes(icon)), "--output", output},
            ProgramRun::WithEnvironment({"QT_QPA_PLATFORM=xcb"}, {"DISPLAY", "WAYLAND_DISPLAY"}));
        QCOMPARE(run.exitCode, 0);
        QImageReader reader(output);
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(TestImages::FirstDifference(reader.read(), icon, 4), QString());
    }

    // The library's entries as a script reads them: four fields a line, each name once, the
    // closest matches of the words, as many as asked.
    void symbolsListsTheMatchingEntries() {
        const Run all = Sigilon({"symbols"});
        QCOMPARE(all.exitCode, 0);
        const QStringList lines = Lines(all.out);
        QSet<QString> names;
        for (const QString& line : lines) {
            const QStringList fields = line.split(u'\t');
            QCOMPARE(fields.size(), 4);
            QVERIFY2(fields[1] == "symbol" || fields[1] == "emoji", qPrintable(line));
            names.insert(fields[0]);
        }
        QCOMPARE(names.size(), lines.size());
        QVERIFY(lines.size() >= 4800);

        const Run heart = Sigilon({"symbols", "heart"});
        QCOMPARE(heart.exitCode, 0);
        QVERIFY(Lines(heart.out).contains("material/favorite\tsymbol\tfilled\tApache-2.0"));
        QVERIFY(Lines(heart.out).contains("noto/red-heart\temoji\tcolour\tApache-2.0"));
        const Run few = Sigilon({"symbols", "weather", "--limit", "3"});
        QCOMPARE(few.exitCode, 0);
        QCOMPARE(Lines(few.out).size(), 3);
    }

    // --icon symbol:SET/NAME draws exactly what the entry's document in a file draws, as
    // pixels and as the SVG document's own paths.
    void symbolIconIsItsDocument_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("output");
        QTest::newRow("tinted symbol as PNG") << QString("material/cloud") << QString("out.png");
        QTest::newRow("tinted symbol as SVG") << QString("material/cloud") << QString("out.svg");
        QTest::newRow("emoji as SVG") << QString("noto/sun") << QString("out.svg");
    }
    void symbolIconIsItsDocument() {
        QFETCH(QString, name);
        QFETCH(QString, output);
        const SymbolLibrary library(QStringLiteral(SIGILON_SOURCE_DIR "/data/symbols"));
        const SymbolEntry* entry = library.Find(name);
        QVERIFY(entry);
        const QString file = Write("symbol.svg", SymbolDocument(*entry));
        const QStringList tinted{"--set", "useImageColors=off", "--set", "iconColor=#C03020"};
        const QString bySymbol = m_dir.filePath("symbol-" + output);
        const QString byFile = m_dir.filePath("file-" + output);
        QCOMPARE(Sigilon(QStringList{"render", "--icon", "symbol:" + name, "--output", bySymbol} +
                         tinted)
                     .exitCode,
                 0);
        QCOMPARE(
            Sigilon(QStringList{"render", "--icon", file, "--output", byFile} + tinted).exitCode,
            0);
        const QByteArray drawn = TestImages::ReadFile(bySymbol);
        QVERIFY(!drawn.isEmpty());
        QCOMPARE(drawn, TestImages::ReadFile(byFile));
        if (output.endsWith(".svg"))
            QVERIFY(drawn.contains("<path"));
    }

    // A document whose drawing grows with its area is drawn at the canvas's largest size
    // within the memory of a desktop machine, where drawing it straight would take gigabytes.
    void costlyIconAtTheLargestCanvasStaysWithinMemory() {
        constexpr qint64 kLimitKilobytes = 1536 * 1024;
        const QString output = m_dir.filePath("large.png");
        const WatchedRun run = RunWatchingMemory(
            {"render", "--icon", Write("turbulence.svg", TurbulenceSvg()), "--set",
             "canvasWidth=10000", "--set", "canvasHeight=10000", "--output", output},
            kLimitKilobytes, 240);
        QVERIFY2(run.peakKilobytes < kLimitKilobytes,
                 qPrintable(QString::number(run.peakKilobytes)));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImageReader(output).size(), QSize(10000, 10000));
    }

    // sigilon-bench, built beside the program, tells how it is called when asked, and refuses
    // what it does not take instead of timing a rendering of no size.
    void benchmarkTellsItsUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error"); // the line before the usage text, for a usage error
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QString();
        QTest::newRow("-h after baseline") << QStringList{"baseline", "-h"} << 0 << QString();
        QTest::newRow("unknown option")
            << QStringList{"--fast"} << 2 << "sigilon-bench: unknown argument: --fast";
        QTest::newRow("size 0") << QStringList{"0"} << 2 << "sigilon-bench: unknown argument: 0";
        QTest::newRow("size past the canvas")
            << QStringList{"1024", "10001"} << 2 << "sigilon-bench: unknown argument: 10001";
        QTest::newRow("group with a size")
            << QStringList{"process", "1024"} << 2
            << "sigilon-bench: process is timed alone, without other groups or sizes";
    }
    void benchmarkTellsItsUsage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        const Run run = ProgramRun::Run(QStringLiteral(SIGILON_BENCH), arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QString usage = exitCode == 0 ? run.out : run.err;
        QCOMPARE((exitCode == 0 ? run.err : run.out), QString());
        const qsizetype start = usage.indexOf("Usage: sigilon-bench");
        QVERIFY2(start >= 0, qPrintable(usage));
        QCOMPARE(usage.left(start), error.isEmpty() ? QString() : error + u'\n');
        // Every argument README's "Benchmark" section names.
        for (const char* argument : {"SIZE", "process", "platforms", "export", "baseline"})
            QVERIFY2(usage.mid(start).contains(argument), argument);
    }

    // An output path that is not a regular file is never replaced: standard output under
    // any of its names gets the PNG, a device is written to (a folder is refused below).
    // The system's own device names are reached only through links in the scratch folder, so
    // a fault replaces a link of ours, never /dev/null or /dev/stdout.
    void renderToWhatIsNotAFile_data() {
        QTest::addColumn<QString>("output"); // "-", or a device linked to as "out"
        QTest::addColumn<bool>("piped");     // the PNG arrives on standard output
        QTest::newRow("-") << "-" << true;
        QTest::newRow("link to /dev/stdout") << "/dev/stdout" << true;
        QTest::newRow("link to /dev/null") << "/dev/null" << false;
    }

    void renderToWhatIsNotAFile() {
        QFETCH(QString, output);
        QFETCH(bool, piped);
        const TestImages::ScratchFolder scratch;
        const bool linked = output.startsWith(u'/');
        const QString path = linked ? scratch.filePath("out") : output;
        QVERIFY(!linked || QFile::link(output, path));
        const QString received = scratch.filePath("stdout");
        const Run run = Sigilon(
            {"render", "--set", "canvasWidth=64", "--set", "canvasHeight=48", "--output", path},
            [&](QProcess& process) { process.setStandardOutputFile(received); });
        QCOMPARE(run.exitCode, 0);
        if (piped)
            QCOMPARE(QImage(received).size(), QSize(64, 48));
        else
            QCOMPARE(QFileInfo(received).size(), 0);
        if (linked) // not replaced
            QCOMPARE(QFileInfo(path).symLinkTarget(), output);
    }

    void desktopSession_data() {
        QTest::addColumn<QStringList>("set"); // NAME=VALUE
        QTest::addColumn<bool>("session");
        QTest::newRow("empty display") << QStringList{"DISPLAY=", "WAYLAND_DISPLAY="} << false;
        QTest::newRow("X") << QStringList{"DISPLAY=:0"} << true;
        QTest::newRow("Wayland") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << true;
        QTest::newRow("chosen platform") << QStringList{"QT_QPA_PLATFORM=offscreen"} << true;
    }
    void desktopSession() {
        QFETCH(QStringList, set);
        QFETCH(bool, session);
        QProcessEnvironment environment;
        environment.insert("HOME", "/root");
        for (const QString& pair : set)
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QCOMPARE(HasDesktopSession(environment), session);
    }

    // Started for the editor where no window can appear, the program says so in one line that
    // names the headless commands, instead of the window platform's own failure.
    void editorWithoutDesktopSessionPointsToTheCommands() {
        const Run run = Sigilon(
            {}, ProgramRun::WithEnvironment({}, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.count(u'\n'), 1);
        for (const char* said :
             {"desktop session", "`sigilon render`", "`sigilon export --target all`", "README"})
            QVERIFY2(run.err.contains(said), qPrintable(run.err));
    }

    // An input that cannot be read, an output folder that cannot be made (named with the
    // reason) or a file that cannot be written fails the command, and nothing is left behind.
    // "@" stands for the scratch folder, which holds the file "plain" and the row's input "in".
    void failuresExitWithOneAndWriteNothing_data() {
        const QString text = MakeProfileText(DesignSettings{});
        const QByteArray png = TestImages::PngBytes(TestImages::AsymmetricImage(64, 64));
        const QByteArray notUtf8 = text.toUtf8().replace("Icon[Size]", "Ic\xff\xfe[Size]");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("told"); // in the last line printed
        const auto row = [](const char* name, const QStringList& arguments, const QByteArray& input,
                            const QStringList& told) {
            QTest::newRow(name) << arguments << input << told;
        };
        const QStringList render{"render", "--output", "@/out.png"};
        const QString noProfile = "Could not load profile.";
        const QString noImage = "The image could not be loaded.";
        row("missing profile", render + QStringList{"--profile", "@/in"}, {}, {noProfile});
        row("profile not in UTF-8", render + QStringList{"--profile", "@/in"}, notUtf8,
            {noProfile});
        row("missing icon", render + QStringList{"--icon", "@/in"}, {}, {noImage});
        row("truncated icon", render + QStringList{"--icon", "@/in"}, png.left(png.size() / 2),
            {noImage});
        row("unknown symbol", render + QStringList{"--icon", "symbol:material/clowd"}, {},
            {"material/clowd", "material/cloud"});
        row("symbol of an unknown set", render + QStringList{"--icon", "symbol:icons/rocket"}, {},
            {"icons/rocket", "material/rocket"});
        row("no symbol matches", {"symbols", "cloud", "xyzzyq"}, {}, {"cloud xyzzyq"});
        row("missing output folder", {"render", "--output", "@/no/such/out.png"}, {},
            {"@/no/such/out.png"});
        row("output is a folder", {"render", "--output", "@"}, {}, {"@"});
        const auto exportInto = [](const QString& folder) {
            return QStringList{"export", "--output-dir", folder};
        };
        row("path is a file", exportInto("@/plain"), {}, {"not a folder", "@/plain"});
        row("parent is a file", exportInto("@/plain/icons"), {},
            {"plain is a file", "@/plain/icons"});
        row("grandparent is a file", exportInto("@/plain/set/icons"), {},
            {"plain is a file", "@/plain/set/icons"});
        // Checked before anything is written, the plain size list included.
        DesignSettings wide;
        wide.canvasHeightText = "512";
        row("design not square",
            {"export", "--output-dir", "@/out", "--profile", "@/in", "--target", "sizes,linux"},
            MakeProfileText(wide).toUtf8(), {"1024 x 512", "square"});
        row("file in a missing subfolder",
            {"export", "--output-dir", "@", "--set", "namePattern=missing/Icon[Size]"}, {},
            {"Some icons could not be saved."});
    }
    void failuresExitWithOneAndWriteNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QStringList, told);
        const TestImages::ScratchFolder scratch;
        QVERIFY(!scratch.Write("plain", "a file").isEmpty());
        QVERIFY(input.isEmpty() || !scratch.Write("in", input).isEmpty());
        const QDir folder(scratch.filePath(""));
        const QStringList before = folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        const Run run = Sigilon(arguments.replaceInStrings("@", folder.path()));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        // A decoder library may print its own line first; ours is the last word.
        const QString last = run.err.trimmed().split(u'\n').last();
        for (const QString& part : told.replaceInStrings("@", folder.path()))
            QVERIFY2(last.contains(part), qPrintable(last));
        QCOMPARE(folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    }

    // An SVG icon image whose drawing the image helper refuses (here every drawing after the
    // first look): the run fails with the image's message and leaves the output folder as it
    // was, whichever comes first of the size list and the sets. The file it would replace stays,
    // none is added, and a folder it had to make for the output is gone again.
    void refusedIconDrawingLeavesTheFolderAsItWas_data() {
        QTest::addColumn<QString>("targets");
        QTest::addColumn<QString>("there"); // a file it would replace; "" for no output folder
        QTest::newRow("size list, then a set") << QString("sizes,linux") << QString("Icon16.png");
        QTest::newRow("sets, then the size list")
            << QString("linux,windows,sizes") << QString("linux/hicolor/16x16/apps/Set.png");
        QTest::newRow("into a missing folder") << QString("linux,sizes") << QString();
    }
    void refusedIconDrawingLeavesTheFolderAsItWas() {
        QFETCH(QString, targets);
        QFETCH(QString, there);
        const TestImages::ScratchFolder scratch;
        const QString profile = scratch.Write("square.sgp", Profile(64, 64));
        QVERIFY(!profile.isEmpty());
        const QDir output(scratch.filePath(there.isEmpty() ? "new/icons" : "out"));
        if (!there.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(output.filePath(there)).path()));
            QVERIFY(TestImages::WriteFile(output.filePath(there), "kept as it was"));
        }
        const QSet<QString> before = FolderListing::EntriesUnder(scratch.filePath(""));
        const RefusingImageHelper helper;
        QVERIFY(helper.isValid());
        const Run run =
            Sigilon({"export", "--profile", profile, "--icon", helper.document(), "--output-dir",
                     output.path(), "--target", targets, "--name", "Set", "--overwrite"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err.trimmed().split(u'\n').last(),
                 QStringLiteral("The image could not be loaded."));
        QCOMPARE(FolderListing::EntriesUnder(scratch.filePath("")), before);
        if (!there.isEmpty())
            QCOMPARE(TestImages::ReadFile(output.filePath(there)), QByteArray("kept as it was"));
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
        QStringList arguments{"export",       "--profile", profile,
                              "--output-dir", folder,      "--name",
                              "My.App-1_x",   "--target",  "sizes,icns,windows,linux"};
        for (const char* set : {"macIconSet=off", "customSize=on", "customWidth=48",
                                "customHeight=32", "namePattern=beta-[Size]", "iconFormat=8"})
            arguments << "--set" << set;
        const Run first = Sigilon(arguments + QStringList{"--quiet"});
        QCOMPARE(first.exitCode, 0);
        QVERIFY(first.out.isEmpty());
        QVERIFY2(first.err.contains("Icon(s) saved successfully."), qPrintable(first.err));
        QCOMPARE(first.err.count("enlarged"), 1); // the theme's 512 pixels, once
        QCOMPARE(FolderListing::FilesUnder(folder),
                 QSet<QString>(expected.begin(), expected.end()));
        QImageReader gif(QDir(folder).filePath("beta-48.gif"));
        QCOMPARE(gif.format(), QByteArray("gif"));
        QCOMPARE(gif.size(), QSize(48, 32));

        const QString icns = QDir(folder).filePath("My.App-1_x.icns");
        QVERIFY(QFile::remove(icns));
        QVERIFY(TestImages::WriteFile(icns, "an older icon"));
        const Run second = Sigilon(arguments);
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.isEmpty());
        QCOMPARE(second.err.count("Skipped: "), expected.size());
        QVERIFY(second.err.contains("Skipped: " + icns));
        QCOMPARE(QFileInfo(icns).size(), qint64(13));

        const Run third = Sigilon(arguments + QStringList{"--overwrite"});
        QCOMPARE(third.exitCode, 0);
        QCOMPARE(Lines(third.out).size(), expected.size());
        for (const QString& path : Lines(third.out))
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
        QCOMPARE(Lines(run.out).size(), 9); // the Linux theme
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
        // Written once each: every file is reported once, and so is a folder a set has though
        // nothing is in it (the layered icon's assets of a design without glyphs); none was
        // found already there.
        QSet<QString> files = FolderListing::FilesUnder(Output());
        for (QDirIterator it(Output(), QDir::Dirs | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            if (const QString folder = it.next(); QDir(folder).isEmpty())
                files.insert(QDir(Output()).relativeFilePath(folder));
        const QStringList reported = Lines(run.out);
        QCOMPARE(reported.size(), files.size());
        QCOMPARE(QSet<QString>(reported.begin(), reported.end()).size(), files.size());
        QVERIFY2(!run.err.contains("Skipped"), qPrintable(run.err));
    }

    // One profile in three flavours: `--badge ""` is no badge, byte for byte; a badge is drawn
    // into every size and the SVG favicon and is a layer of the Icon Composer document; its
    // "{version}" is the --version given.
    void badgeFlavoursOfOneProfile() {
        const QString profile = m_dir.Write("flavour.sgp", Profile(64, 64));
        QStringList failed;
        const auto exported = [&](const QString& name, const QStringList& badge) {
            const QString folder = m_dir.filePath(name);
            const Run run = Sigilon(QStringList{"export", "--profile", profile, "--output-dir",
                                                folder, "--target", "sizes,web,iconcomposer"} +
                                    badge);
            if (run.exitCode != 0)
                failed.append(name + ": " + run.err);
            return folder;
        };
        const QString plain = exported("plain", {});
        const QString none = exported("none", {"--badge", ""});
        const QString filled =
            exported("filled", {"--badge", "BETA {version}", "--version", "2.3.1"});
        const QString given = exported("given", {"--badge", "BETA 2.3.1"});
        QCOMPARE(failed, QStringList());
        const QSet<QString> files = FolderListing::FilesUnder(plain);
        QCOMPARE(FolderListing::FilesUnder(none), files);
        QCOMPARE(FolderListing::FilesUnder(given), FolderListing::FilesUnder(filled));
        const auto bytes = [](const QString& folder, const QString& path) {
            return TestImages::ReadFile(QDir(folder).filePath(path));
        };
        for (const QString& path : files) {
            QVERIFY2(bytes(none, path) == bytes(plain, path), qPrintable(path));
            if (path.startsWith("Icon") || path == "web/icon.svg")
                QVERIFY2(bytes(filled, path) != bytes(plain, path), qPrintable(path));
        }
        for (const QString& path : FolderListing::FilesUnder(filled))
            QVERIFY2(bytes(filled, path) == bytes(given, path), qPrintable(path));
        QVERIFY(QFileInfo::exists(QDir(filled).filePath("AppIcon.icon/Assets/badge.svg")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_CommandLine.moc"
