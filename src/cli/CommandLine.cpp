#include "cli/CommandLine.h"

#include "cli/BadgeArguments.h"
#include "cli/DesignInput.h"
#include "cli/DesignOverrides.h"
#include "cli/PlatformExportCommand.h"
#include "cli/SymbolsCommand.h"
#include "export/OutputFileWrite.h"
#include "export/SaveImage.h"
#include "platforms/PlatformPlan.h"
#include "profiles/ProfileText.h"
#include "render/ImageTools.h"
#include "render/SvgWriter.h"
#include "support/TerminationCleanup.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The usage text, with the targets' list taken from the table of targets.
QByteArray UsageText() {
    static const QByteArray text =
        QByteArray(
            "Usage:\n"
            "  sigilon [PROFILE.sgp]   open the editor window, with the profile loaded\n"
            "  sigilon render  [--profile F.sgp] [--icon IMAGE] [--set NAME=VALUE]... --output "
            "OUT.png\n"
            "  sigilon export  [--profile F.sgp] [--icon IMAGE] [--set NAME=VALUE]... --output-dir "
            "DIR\n"
            "                  [--overwrite] [--quiet] [--target T[,T...]] [--name NAME]\n"
            "                  [--app-name TEXT] [--badge TEXT] [--version V]\n"
            "  sigilon profile [--profile F.sgp] [--set NAME=VALUE]...\n"
            "  sigilon symbols [WORD...] [--limit N]\n"
            "  sigilon --help | --version\n"
            "\n"
            "Options:\n"
            "  --profile F.sgp      start from this profile, applied as the editor's Load applies "
            "it\n"
            "  --icon IMAGE         draw this image (also .svg or .svgz) as the design's icon "
            "image;\n"
            "                       symbol:SET/NAME for a symbol of the built-in library\n"
            "  --set NAME=VALUE     replace one design value after the profile (repeatable); NAME "
            "as\n"
            "                       in the design (text, fontSize, gradientStartColor, "
            "canvasWidth, ...),\n"
            "                       VALUE a number, #RRGGBB, on/off or text; see sigilon(1)\n"
            "  --output OUT.png     render: the PNG file to write at canvas size (a name ending "
            "in\n"
            "                       .svg: the design as one SVG document; - for standard output)\n"
            "  --output-dir DIR     export: the folder for the icon set, created when missing\n"
            "  --overwrite          export: replace existing files instead of keeping them\n"
            "  --quiet              export: do not list the written files\n"
            "  --target T[,T...]    export: what to write, one or more of (platform sets need a\n"
            "                       square canvas):\n"
            "%TARGETS%"
            "  --name NAME          export: the name of the platform sets (default AppIcon): up to "
            "200\n"
            "                       letters, digits, \".\", \"-\" and \"_\", not \".\" or \"..\"\n"
            "  --app-name TEXT      export: the app's name as people see it, in the web manifest "
            "and\n"
            "                       head.html (default the name of the sets)\n"
            "%BADGE%"
            "  --limit N            symbols: list at most N entries\n"
            "  --help, -h           print this text\n"
            "  --version            print the version\n"
            "\n"
            "render writes the design as PNG, export writes the icon set its output settings "
            "choose\n"
            "(written paths on standard output, messages on standard error), profile prints the\n"
            "design's profile text, symbols lists the library's entries that match every word\n"
            "(SET/NAME, symbol or emoji, style, licence; separated by tabs).\n"
            "Exit status: 0 done, 1 the work failed (or no symbol matches), 2 a usage error.\n")
            .replace("%TARGETS%", PlatformTargets::HelpLines(25).toUtf8())
            .replace("%BADGE%", BadgeArguments::HelpLines());
    return text;
}

const QStringList& Commands() {
    static const QStringList commands{QStringLiteral("render"), QStringLiteral("export"),
                                      QStringLiteral("profile"), QStringLiteral("symbols")};
    return commands;
}

void PrintError(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

struct Options {
    QString command;
    QString profile;
    QString icon;
    QString output;
    QString outputDir;
    bool overwrite = false;
    bool quiet = false;
    DesignOverrides overrides;
    QList<PlatformTarget> targets{PlatformTarget::Sizes};
    QString name = PlatformPlan::DefaultName();
    QString appName; // empty for `name`
    BadgeArguments badgeArguments;
    Badge badge; // as the badge arguments ask for it
};

// Which options each command takes; anything else is a usage error.
bool Accepts(const QString& command, const QString& option) {
    if (option == u"--profile" || option == u"--set")
        return true;
    if (option == u"--icon")
        return command != u"profile";
    if (option == u"--output")
        return command == u"render";
    if (option == u"--output-dir" || option == u"--overwrite" || option == u"--quiet" ||
        option == u"--target" || option == u"--name" || option == u"--app-name" ||
        BadgeArguments::Takes(option))
        return command == u"export";
    return false;
}

// Parses `args` (without the program name); returns an error text or an empty string.
QString ParseOptions(const QStringList& args, Options& options) {
    options.command = args.value(0);
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (!Accepts(options.command, option))
            return QStringLiteral("unknown option for %1: %2").arg(options.command, option);
        if (option == u"--overwrite" || option == u"--quiet") {
            (option == u"--overwrite" ? options.overwrite : options.quiet) = true;
            continue;
        }
        if (BadgeArguments::IsFlag(option)) {
            options.badgeArguments.Add(option, {});
            continue;
        }
        if (i + 1 >= args.size() || (args[i + 1].isEmpty() && !BadgeArguments::TakesEmpty(option)))
            return QStringLiteral("%1 needs a value").arg(option);
        const QString value = args[++i];
        if (BadgeArguments::Takes(option)) {
            if (const QString problem = options.badgeArguments.Add(option, value);
                !problem.isEmpty())
                return problem;
            continue;
        }
        if (option == u"--profile")
            options.profile = value;
        else if (option == u"--icon")
            options.icon = value;
        else if (option == u"--output")
            options.output = value;
        else if (option == u"--set") {
            if (const QString problem = options.overrides.Add(value); !problem.isEmpty())
                return problem;
        } else if (option == u"--target") {
            QString error;
            options.targets = PlatformTargets::Parse(value, error);
            if (!error.isEmpty())
                return error;
        } else if (option == u"--name") {
            if (const QString problem = PlatformPlan::NameProblem(value); !problem.isEmpty())
                return problem;
            options.name = value;
        } else if (option == u"--app-name")
            options.appName = value;
        else
            options.outputDir = value;
    }
    if (options.command == u"render" && options.output.isEmpty())
        return QStringLiteral("render needs --output");
    if (options.command == u"export" && options.outputDir.isEmpty())
        return QStringLiteral("export needs --output-dir");
    QString problem;
    options.badge = options.badgeArguments.Finished(problem);
    return problem;
}

QImage Render(const DesignInput& input) {
    return ImageTools::RenderIcon(MakeIconDesign(input.settings, input.icon, input.iconVector));
}

// Tells the user when the image helper refused to draw the icon image (see IconDrawingRefused),
// so that a run whose pictures lack it is not taken for a run that drew the design.
bool ToldIconDrawingRefused(const DesignInput& input) {
    if (!IconDrawingRefused(input))
        return false;
    PrintError(QStringLiteral("The image could not be loaded."));
    return true;
}

int RunRender(const Options& options, const DesignInput& input) {
    constexpr int kPng = 0;
    // The extension chooses: an .svg output is the design as one SVG document.
    const bool svg = options.output.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const QByteArray encoded =
        svg ? SvgDocument(MakeIconDesign(input.settings, input.icon, input.iconVector))
            : ImageTools::EncodeImage(Render(input), kPng, 1.0);
    if (ToldIconDrawingRefused(input))
        return kFailed;
    const bool toStandardOutput = options.output == u"-";
    const WriteResult written = toStandardOutput && !encoded.isEmpty()
                                    ? WriteToDescriptor(STDOUT_FILENO, encoded)
                                    : ImageTools::SaveEncoded(encoded, options.output, kPng);
    if (!written) {
        PrintError(
            QStringLiteral("Could not write %1 (%2)")
                .arg(toStandardOutput ? QStringLiteral("to standard output") : options.output,
                     written.failure));
        return kFailed;
    }
    return kDone;
}

int RunProfile(const DesignInput& input) {
    const QByteArray text = MakeProfileText(input.settings).toUtf8();
    // The text is the command's whole result: a full disk must not pass for success with a
    // cut profile.
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()) ||
        std::fflush(stdout) != 0) {
        PrintError(QStringLiteral("Could not write the profile text."));
        return kFailed;
    }
    return kDone;
}

int Dispatch(const QStringList& args) {
    if (args.isEmpty())
        return ReportUsageError(QStringLiteral("no command given"));
    if (args.first() == u"--help" || args.first() == u"-h") {
        std::fputs(UsageText().constData(), stdout);
        return kDone;
    }
    if (args.first() == u"--version") {
        std::printf("sigilon %s\n", SIGILON_VERSION);
        return kDone;
    }
    if (!Commands().contains(args.first()))
        return ReportUsageError(QStringLiteral("unknown command: %1").arg(args.first()));
    if (args.first() == u"symbols")
        return RunSymbolsCommand(args.mid(1));
    Options options;
    const QString error = ParseOptions(args, options);
    if (!error.isEmpty())
        return ReportUsageError(error);

    DesignInput input;
    const QString problem = LoadDesignInput(options.profile, options.icon, input);
    if (!problem.isEmpty()) {
        PrintError(problem);
        return kFailed;
    }
    options.overrides.ApplyTo(input.settings);
    if (options.command == u"render")
        return RunRender(options, input);
    if (options.command == u"export") {
        const int status = RunPlatformExportCommand(
            input, options.targets, options.name, options.appName, options.outputDir,
            options.overwrite, options.quiet, options.badge);
        return ToldIconDrawingRefused(input) ? kFailed : status;
    }
    return RunProfile(input);
}

// Qt's own diagnostics (a decoder's "libpng error", a missing runtime folder) are not for the
// user of a command line: each failure already ends in one clear message of ours.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        PrintError(message);
}

} // namespace

bool IsCommandLineWord(const QString& word) {
    return Commands().contains(word) || word == u"--help" || word == u"-h" || word == u"--version";
}

int ReportUsageError(const QString& message) {
    PrintError(QStringLiteral("sigilon: ") + message);
    std::fputs(UsageText().constData(), stderr);
    return kUsage;
}

int RunCommandLine(int argc, char* argv[]) {
    // First, before the application object starts any thread.
    RemoveTemporariesOnTermination();
    // Rendering needs fonts, which need a GUI application, but never a display. A platform
    // inherited from a desktop session (xcb, wayland) would abort the run where there is no
    // display, so the command line always draws off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SIGILON_DEBUG"))
        qInstallMessageHandler(QuietMessages);
    QGuiApplication application(argc, argv);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    return Dispatch(args);
}
