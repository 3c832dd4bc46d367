#include "ExportBenchmarks.h"

#include "design/DesignSettings.h"
#include "export/ExportRun.h"
#include "export/OutputFormat.h"
#include "export/SizeSets.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void PrintMedian(const QString& name, const std::vector<double>& times) {
    std::printf("%s median_ms=%.1f\n", qPrintable(name), Median(times));
    std::fflush(stdout);
}

void TimeExport(const QImage& rendering, const QString& setName, const QList<OutputSize>& sizes,
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
    const QString slug = OutputFormat::At(formatIndex)->title.toLower();
    PrintMedian(QStringLiteral("export %1 %2").arg(setName, slug), times);
    if (!allSaved)
        std::printf("export %s %s FAILED\n", qPrintable(setName), qPrintable(slug));
}

void TimeProcess(const QString& executable, int repetitions) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QTemporaryDir folder;
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(executable,
                      {QStringLiteral("export"), QStringLiteral("--output-dir"), folder.path()});
        const bool finished = process.waitForFinished(60000);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::printf("process export FAILED: %s\n",
                        process.readAllStandardError().trimmed().constData());
            return;
        }
    }
    PrintMedian(QStringLiteral("process export"), times);
}

} // namespace

void RunExportBenchmarks(const QImage& rendering1024, const QString& sigilonExecutable) {
    DesignSettings macSet;
    DesignSettings iosSet;
    iosSet.macIconSet = 0;
    iosSet.iosIconSet = 1;
    const QList<OutputSize> macSizes = SizeSets::SizeList(macSet);
    const QList<OutputSize> iosSizes = SizeSets::SizeList(iosSet);

    for (int format = 0; format < OutputFormat::Count; ++format)
        TimeExport(rendering1024, QStringLiteral("macos"), macSizes, format, 9);
    TimeExport(rendering1024, QStringLiteral("ios"), iosSizes, 0, 9);
    TimeProcess(sigilonExecutable, 7);
}
