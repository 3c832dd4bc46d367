// sigilon-bench: times the renderer, the export (see ExportBenchmarks) and whole sigilon
// processes (see ProcessBenchmarks) on this machine.
// Prints one line per measurement, e.g. "render 1024 median_ms=6.8 peak_mb=210".

#include "BenchArguments.h"
#include "BenchmarkIcon.h"
#include "ExportBenchmarks.h"
#include "Measurements.h"
#include "PlatformBenchmarks.h"
#include "PreviewBenchmarks.h"
#include "ProcessBenchmarks.h"
#include "RecoveryBenchmarks.h"
#include "SvgBenchmarks.h"
#include "SymbolBenchmarks.h"
#include "design/IconDesign.h"
#include "render/ImageTools.h"
#include "render/RenderKernels.h"
#include "support/AllocatorTuning.h"
#include "support/PixelKernels.h"
#include "symbols/SymbolLibrary.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

QImage TimeRenders(int side, int repetitions) {
    IconDesign design;
    design.canvasWidth = float(side);
    design.canvasHeight = float(side);
    design.iconImage = BenchmarkIcon();
    design.text = QStringLiteral("Ab");
    QImage last = ImageTools::RenderIcon(design); // warm-up: fonts, buffers
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        last = QImage();
        QElapsedTimer timer;
        timer.start();
        last = ImageTools::RenderIcon(design);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("render %d median_ms=%.1f peak_mb=%.0f\n", side, Median(times),
                PeakResidentMegabytes());
    std::fflush(stdout);
    return last;
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before the application starts, so that the usage needs no window platform.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    const BenchArguments arguments = BenchArguments::Read(words);
    switch (arguments.outcome) {
    case BenchArguments::Outcome::Help:
        std::fputs(qPrintable(BenchUsage()), stdout);
        return 0;
    case BenchArguments::Outcome::UsageError:
        std::fprintf(stderr, "sigilon-bench: %s\n%s", qPrintable(arguments.error),
                     qPrintable(BenchUsage()));
        return 2;
    case BenchArguments::Outcome::Run:
        break;
    }
    KeepImageMemoryMapped(); // as the sigilon executable does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The editor executable is built beside the benchmark.
    const QString sigilon = QCoreApplication::applicationDirPath() + QStringLiteral("/sigilon");
    if (arguments.baseline) {
        RenderKernels::Use(InstructionSet::Baseline);
        PixelKernels::Use(InstructionSet::Baseline);
    }
    if (arguments.group == u"process") {
        RunProcessBenchmarks(sigilon);
        return 0;
    }
    if (arguments.group == u"platforms") {
        RunPlatformBenchmarks(BenchmarkIcon(), sigilon);
        return 0;
    }
    if (arguments.group == u"preview") {
        RunPreviewBenchmarks();
        return 0;
    }
    if (arguments.group == u"svg") {
        RunSvgBenchmark(sigilon);
        return 0;
    }
    if (arguments.group == u"symbols") {
        RunSymbolBenchmarks(SymbolLibrary::InstalledFolder());
        return 0;
    }
    if (arguments.group == u"recovery") {
        RunRecoveryBenchmarks();
        return 0;
    }
    if (arguments.group == u"export") {
        RunExportBenchmarks(TimeRenders(1024, 1), TimeRenders(10000, 1));
        return 0;
    }
    if (!arguments.sizes.isEmpty()) {
        for (const int side : arguments.sizes)
            TimeRenders(side, 15);
        return 0;
    }
    // Whole processes first: a child's peak can never read below this process's own peak
    // when it was started, which is small only before the renderings below.
    RunProcessBenchmarks(sigilon);
    const QImage rendering1024 = TimeRenders(1024, 15);
    RunSvgBenchmark(sigilon);
    RunSymbolBenchmarks(SymbolLibrary::InstalledFolder());
    TimeRenders(4096, 7);
    RunExportBenchmarks(rendering1024, TimeRenders(10000, 5));
    RunPreviewBenchmarks();
    RunPlatformBenchmarks(BenchmarkIcon(), sigilon);
    RunRecoveryBenchmarks();
    return 0;
}
