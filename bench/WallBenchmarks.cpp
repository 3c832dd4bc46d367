#include "WallBenchmarks.h"

#include "design/IconDesign.h"
#include "design/ImageTools.h"
#include "design/PlatformLooks.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

IconDesign WallDesign(int side) {
    IconDesign design;
    design.canvasWidth = float(side);
    design.canvasHeight = float(side);
    QImage icon(512, 512, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(240, 180, 40, 220));
    design.iconImage = icon;
    design.iconShadow = true;
    design.text = QStringLiteral("Ab");
    return design;
}

void TimeWallTiles(int side, int repetitions) {
    const IconDesign design = WallDesign(side);
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
    std::sort(times.begin(), times.end());
    std::printf("wall tiles %d median_ms=%.1f\n", side, times[times.size() / 2]);
    std::fflush(stdout);
}

} // namespace

void RunWallBenchmarks() {
    TimeWallTiles(1024, 9);
    TimeWallTiles(10000, 3);
}
