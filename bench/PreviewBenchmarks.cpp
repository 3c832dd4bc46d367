#include "PreviewBenchmarks.h"

#include "BenchmarkIcon.h"
#include "Measurements.h"
#include "design/IconDesign.h"
#include "editing/CanvasLayers.h"
#include "editing/CanvasPlacement.h"
#include "editing/LayerGesture.h"
#include "editing/SnapGuides.h"
#include "render/ImageTools.h"
#include "render/KeptLayer.h"
#include "render/PlatformLooks.h"
#include "render/YUpGeometry.h"

#include <cmath>
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
    PrintMedian(QStringLiteral("wall tiles %1").arg(side), TimesOf(repetitions, [&](int) {
                    PlatformLooks::WallTiles(design, rendering, kThreads);
                }));
}

// What the editor shows while a slider is dragged and the full-size rendering lags behind: the
// latest design drawn at the view's own size. The slider (the text's shadow distance, in its
// whole-unit steps) changes its value at every step, so the text's shadowed picture is painted
// anew each time, as it is while the text is dragged on the canvas.
void TimeSliderPreview(int side, int viewSize, int repetitions) {
    IconDesign design = BenchmarkDesign(side);
    RenderOptions options;
    options.outputSize = QSize(viewSize, viewSize);
    ImageTools::RenderIcon(design, options); // warm-up: fonts, buffers
    const MovedLayersAllowed moved;          // as the interim preview draws
    const float start = design.textShadowOffset;
    PrintMedian(QStringLiteral("preview %1").arg(side), TimesOf(repetitions, [&](int i) {
                    design.textShadowOffset = start + float(i + 1);
                    ImageTools::RenderIcon(design, options);
                }));
}

// A layer dragged on the canvas, from the pointer's movement to the picture that shows it: the
// movement in canvas units, the text's new place snapped to the canvas's centre lines, and the
// design drawn at the view's size, as the editor's quick preview draws it during the drag.
void TimeCanvasDrag(int side, int viewSize, int repetitions) {
    IconDesign design = BenchmarkDesign(side);
    const QRectF picture(12, 12, viewSize, viewSize);
    const IconDesign drawn = DesignGeometry::ForDrawing(design);
    const CanvasPlacement placement(drawn, picture);
    const std::vector<LayerShape> shapes = LayerShapes(drawn, placement.frame());
    const LayerShape& text = *ShapeOf(shapes, CanvasLayer::Text);
    const QPointF press = placement.ToScreen(text.corners.boundingRect().center());
    const LayerGesture gesture(drawn, placement.frame(), text, Handle::None,
                               placement.ToFrame(press));
    std::vector<SnapLine> lines;
    AddCentreLines(lines, placement.frame().background);
    RenderOptions options;
    options.outputSize = QSize(viewSize, viewSize);
    ImageTools::RenderIcon(design, options); // warm-up: fonts, buffers
    const MovedLayersAllowed moved;          // as the interim preview draws
    const std::vector<double> times = TimesOf(repetitions, [&](int i) {
        const QPointF change = placement.OffsetChange(QPointF(3 * (i + 1), 2 * (i + 1)));
        LayerValues values = gesture.Moved(change);
        const QPointF frameChange = YUpGeometry::ToQtOffset(change.x(), change.y());
        const Snapped snapped = SnapBox(text.corners.boundingRect().translated(frameChange), lines,
                                        kSnapPixels * placement.UnitsPerPixel());
        values.offset += YUpGeometry::ToQtOffset(snapped.shift.x(), snapped.shift.y());
        // The inspector's fields keep whole units.
        design.textHorizontalOffset = float(std::round(values.offset.x()));
        design.textVerticalOffset = float(std::round(values.offset.y()));
        ImageTools::RenderIcon(design, options);
    });
    PrintMedian(QStringLiteral("drag %1").arg(side), times);
}

} // namespace

void RunPreviewBenchmarks() {
    // The slider's quick preview and the canvas drag's, side by side.
    for (const int side : {1024, 4096, 10000}) {
        TimeSliderPreview(side, 512, 21);
        TimeCanvasDrag(side, 512, 21);
    }
    TimeWallTiles(1024, 9);
    TimeWallTiles(10000, 3);
}
