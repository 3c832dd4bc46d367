#include "ExportBenchmarks.h"

#include "Measurements.h"

#include "design/DesignSettings.h"
#include "export/ExportRun.h"
#include "export/OutputFormat.h"
#include "export/SizeSets.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

// Every run writes into a fresh folder, so no question comes up; should one come up anyway,
// everything is overwritten.
class OverwritingPrompter : public Prompter {
public:
    int Ask(const QString&, const QStringList&) override { return 1; }
    std::optional<QString> ChooseFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSaveFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> ChooseOpenFile(const QStringList&) override { return std::nullopt; }
};

void TimeExport(const QImage& rendering, const QString& name, const QList<OutputSize>& sizes,
                int formatIndex, int repetitions) {
    OverwritingPrompter prompter;
    ExportOptions options;
    options.formatIndex = formatIndex;
    ExportRun run(prompter, options);
    std::vector<double> times;
    bool allSaved = true;
    for (int i = 0; i < repetitions; ++i) {
        QTemporaryDir folder;
        QElapsedTimer timer;
        timer.start();
        allSaved = run.SaveAll(rendering, folder.path(), sizes) && allSaved;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    PrintMedian(name, times);
    if (!allSaved)
        std::printf("%s FAILED\n", qPrintable(name));
}

QString Slug(int formatIndex) {
    return OutputFormat::At(formatIndex)->title.toLower();
}

} // namespace

void RunExportBenchmarks(const QImage& rendering1024, const QImage& rendering10000) {
    DesignSettings macSet;
    DesignSettings iosSet;
    iosSet.macIconSet = 0;
    iosSet.iosIconSet = 1;
    const QList<OutputSize> macSizes = SizeSets::SizeList(macSet);
    const QList<OutputSize> iosSizes = SizeSets::SizeList(iosSet);

    for (int format = 0; format < OutputFormat::Count; ++format)
        TimeExport(rendering1024, QStringLiteral("export macos ") + Slug(format), macSizes, format,
                   9);
    TimeExport(rendering1024, QStringLiteral("export ios png"), iosSizes, 0, 9);
    TimeExport(rendering10000, QStringLiteral("export from 10000 png"), macSizes, 0, 5);
}
