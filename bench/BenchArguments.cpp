#include "BenchArguments.h"

namespace {

constexpr int kLargestSide = 10000; // as the canvas allows

const QStringList kGroups{"process", "platforms", "preview", "svg",
                          "symbols", "export",    "recovery"};

} // namespace

BenchArguments BenchArguments::Read(const QStringList& arguments) {
    BenchArguments read;
    const auto refuse = [&read](const QString& error) {
        read.outcome = Outcome::UsageError;
        read.error = error;
        return read;
    };
    if (arguments.contains(u"--help") || arguments.contains(u"-h")) {
        read.outcome = Outcome::Help;
        return read;
    }
    QStringList rest = arguments;
    if (!rest.isEmpty() && rest.first() == u"baseline") {
        read.baseline = true;
        rest.removeFirst();
    }
    for (const QString& argument : rest) {
        if (kGroups.contains(argument)) {
            if (rest.size() > 1)
                return refuse(QStringLiteral("%1 is timed alone, without other groups or sizes")
                                  .arg(argument));
            read.group = argument;
            continue;
        }
        bool number = false;
        const int side = argument.toInt(&number);
        if (!number || side < 1 || side > kLargestSide)
            return refuse(QStringLiteral("unknown argument: %1").arg(argument));
        read.sizes.append(side);
    }
    return read;
}

QString BenchUsage() {
    return QStringLiteral(
        "Usage: sigilon-bench [baseline] [process | platforms | preview | svg | symbols | export "
        "|\n"
        "                     recovery | SIZE...]\n"
        "\n"
        "Renders the default design with a 512 x 512 icon and the text \"Ab\" and prints one\n"
        "line per measurement, e.g. \"render 1024 median_ms=6.8 peak_mb=210\". Without a group\n"
        "or a size it times everything: whole sigilon processes, the renderings at 1024, 4096\n"
        "and 10000 units square, the rendering with an SVG icon image, the symbol library's\n"
        "first search, the export of the icon sets in every format, the editor's interim\n"
        "preview and preview wall, the platform sets and the recovery record.\n"
        "\n"
        "  SIZE...    only the renderings at these sides, in units (1 to 10000)\n"
        "  process    only whole sigilon processes\n"
        "  platforms  only the platform sets\n"
        "  preview    only the editor's interim preview and preview wall tiles\n"
        "  svg        only the SVG icon image's rendering and processes, and the first look\n"
        "             of a PNG icon\n"
        "  symbols    only the symbol library: its first search from a cold start, a search,\n"
        "             the first screen of the picker drawn\n"
        "  export     only the export from the 1024 and 10000 renderings\n"
        "  recovery   only the recovery record of unsaved changes with a 64 MB image copy\n"
        "  baseline   first: run the pixel loops as baseline x86-64 code instead of AVX2\n"
        "  --help     print this text\n");
}
