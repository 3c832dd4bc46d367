#include "SvgBenchmarks.h"

#include "BenchmarkIcon.h"
#include "Measurements.h"
#include "ProcessBenchmarks.h"
#include "design/IconDesign.h"
#include "imageio/IconImageFile.h"
#include "imageio/ImageHelperProcess.h"
#include "imageio/SvgImage.h"
#include "render/ImageTools.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <vector>

namespace {

// What opening the benchmark icon's PNG file takes: "first look png" as the editor's open
// panel and drops do it, with an image helper process started ahead of time, "first look png
// cold" as --icon does it, starting one.
void TimeRasterFirstLook(const QString& path) {
    for (const bool ready : {true, false}) {
        ImageHelperProcess::KeepOneReady(ready);
        std::vector<double> times;
        for (int i = 0; i < 15; ++i) {
            // The editor's helper has had the time to start since the last image.
            QThread::msleep(50);
            QElapsedTimer timer;
            timer.start();
            if (LoadIconImage(path).isNull()) {
                std::printf("first look png FAILED\n");
                return;
            }
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        PrintMedian(ready ? QStringLiteral("first look png")
                          : QStringLiteral("first look png cold"),
                    times);
    }
}

// Whole processes with the document as their icon image: a rendering and every platform set.
void TimeSvgProcesses(const QString& sigilonExecutable, const QString& logo) {
    TimeProcessRuns(QStringLiteral("process render svg"), sigilonExecutable,
                    {QStringLiteral("render"), QStringLiteral("--icon"), logo,
                     QStringLiteral("--output"), QStringLiteral("{out}/icon.png")},
                    7, true);
    TimeProcessRuns(QStringLiteral("process export all svg"), sigilonExecutable,
                    {QStringLiteral("export"), QStringLiteral("--icon"), logo,
                     QStringLiteral("--target"), QStringLiteral("all"),
                     QStringLiteral("--output-dir"), QStringLiteral("{out}")},
                    5, false);
}

} // namespace

QByteArray MultiGradientSvg() {
    QByteArray defs;
    QByteArray shapes;
    for (int i = 0; i < 12; ++i) {
        const QByteArray id = "g" + QByteArray::number(i);
        const QByteArray hue = QByteArray::number(i * 30);
        const QByteArray stops = "<stop offset=\"0\" stop-color=\"hsl(" + hue +
                                 ",80%,60%)\"/><stop offset=\"0.6\" stop-color=\"hsl(" + hue +
                                 ",70%,40%)\" stop-opacity=\"0.8\"/><stop offset=\"1\" "
                                 "stop-color=\"#102030\"/>";
        defs += i % 2 ? "<radialGradient id=\"" + id + "\" cx=\"0.4\" cy=\"0.3\" r=\"0.7\">" +
                            stops + "</radialGradient>"
                      : "<linearGradient id=\"" + id + "\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\">" +
                            stops + "</linearGradient>";
        shapes += "<path transform=\"rotate(" + QByteArray::number(i * 30) +
                  " 256 256)\" d=\"M256 40 C340 90 380 170 256 250 C150 170 180 90 256 40Z\" "
                  "fill=\"url(#" +
                  id + ")\" stroke=\"#fff\" stroke-width=\"3\"/>";
    }
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 512 512\"><defs>" + defs +
           "</defs><circle cx=\"256\" cy=\"256\" r=\"250\" fill=\"url(#g1)\"/>" + shapes + "</svg>";
}

void RunSvgBenchmark(const QString& sigilonExecutable) {
    QTemporaryDir inputs;
    const QString icon = inputs.filePath(QStringLiteral("icon.png"));
    const QString logo = inputs.filePath(QStringLiteral("logo.svg"));
    QFile logoFile(logo);
    if (!BenchmarkIcon().save(icon) || !logoFile.open(QIODevice::WriteOnly) ||
        logoFile.write(MultiGradientSvg()) < 0) {
        std::printf("svg FAILED: cannot write its inputs\n");
        return;
    }
    logoFile.close();
    TimeSvgProcesses(sigilonExecutable, logo);
    TimeRasterFirstLook(icon);

    constexpr int kRepetitions = 15;
    const QByteArray document = MultiGradientSvg();
    std::vector<std::shared_ptr<const SvgImage>> copies;
    for (int i = 0; i <= kRepetitions; ++i)
        copies.push_back(SvgImage::Read(document));
    IconDesign design;
    design.text = QStringLiteral("Ab");
    std::vector<double> times;
    for (const auto& copy : copies) {
        design.iconImage = copy->thumbnail();
        design.iconVector = copy;
        QElapsedTimer timer;
        timer.start();
        const QImage rendering = ImageTools::RenderIcon(design);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    times.erase(times.begin()); // warm-up: fonts, buffers
    PrintMedian(QStringLiteral("render 1024 svg"), times);
}
