#include "PreviewBenchmarks.h"

#include "BenchmarkIcon.h"
#include "Measurements.h"
#include "design/IconDesign.h"
#include "render/ImageTools.h"
#include "render/PlatformLooks.h"

#include <QElapsedTimer>
#include <vector>

namespace {

// The default design with the benchmark icon (shadowed) and the text "Ab".
IconDesign BenchmarkDesign(int side) {
    IconDesign design;
    design.canvasWidth = float(side);
    design.canvasHeight = float(side);
    design.iconImage = BenchmarkIcon();
    design.iconShadow = true;
    design.text = QStringLiteral("Ab");
    return design;
}

void TimeWallTiles(int side, int repetitions) {
    const IconDesign design = BenchmarkDesign(side);
    const QImage rendering = ImageTools::RenderIcon(design);
    // The wall works on one thread of its own.
    constexpr int kThreads = 1;
    PlatformLooks::WallTiles(design, rendering, kThreads); // warm-up: fonts, buffers
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QList<PreviewTile> tiles = PlatformLooks::WallTiles(design, rendering, kThreads);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    PrintMedian(QStringLiteral("wall tiles %1").arg(side), times);
}

// What the editor shows while a full-size rendering lags behind a slider: the latest design
// drawn at the view's own size.
void TimeInterimPreview(int side, int viewSize, int repetitions) {
    const IconDesign design = BenchmarkDesign(side);
    RenderOptions options;
    options.outputSize = QSize(viewSize, viewSize);
    ImageTools::RenderIcon(design, options); // warm-up: fonts, buffers
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QImage picture = ImageTools::RenderIcon(design, options);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    PrintMedian(QStringLiteral("preview %1").arg(side), times);
}

} // namespace

void RunPreviewBenchmarks() {
    TimeInterimPreview(10000, 512, 21);
    TimeWallTiles(1024, 9);
    TimeWallTiles(10000, 3);
}
