// sigilon-bench: times the renderer (and the export, see ExportBenchmarks) on this machine.
// Prints one line per measurement, e.g. "render 1024 median_ms=6.8 peak_mb=210".

#include "ExportBenchmarks.h"
#include "PlatformBenchmarks.h"
#include "design/IconDesign.h"
#include "design/ImageTools.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

// A 512 x 512 icon with colour, transparency and diagonal edges, like a real one.
QImage BenchmarkIcon() {
    QImage icon(512, 512, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(240, 180, 40));
    painter.setPen(QPen(QColor(120, 60, 10), 12));
    painter.drawEllipse(QRectF(40, 40, 432, 432));
    painter.setBrush(QColor(30, 160, 90, 200));
    painter.drawRect(QRectF(150, 150, 212, 212));
    return icon;
}

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString sigilon = QCoreApplication::applicationDirPath() + QStringLiteral("/sigilon");
    // Named sizes time only those renderings (handy under a profiler); "platforms" only the
    // platform sets.
    const QStringList sizes = application.arguments().mid(1);
    if (sizes == QStringList{QStringLiteral("platforms")}) {
        RunPlatformBenchmarks(BenchmarkIcon(), sigilon);
        return 0;
    }
    if (!sizes.isEmpty()) {
        for (const QString& size : sizes)
            TimeRenders(size.toInt(), 15);
        return 0;
    }
    const QImage rendering1024 = TimeRenders(1024, 15);
    TimeRenders(4096, 7);
    TimeRenders(10000, 5);
    // The editor executable is built beside the benchmark.
    RunExportBenchmarks(rendering1024,
                        QCoreApplication::applicationDirPath() + QStringLiteral("/sigilon"));
    RunPlatformBenchmarks(BenchmarkIcon(), sigilon);
    return 0;
}
