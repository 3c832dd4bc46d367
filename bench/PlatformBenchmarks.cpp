#include "PlatformBenchmarks.h"

#include "design/DesignSettings.h"
#include "design/IconDesign.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "profiles/ProfileText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Repetitions = 7;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The output folders, removed only when every timing is done: on a file system without a
// journal (as on the test machine) making a file looks past every file removed in the last
// half minute, so removing one run's hundred files would slow the next run down by a third.
// Each run meets the disk as a user's export into a new folder does.
using Folders = std::vector<std::unique_ptr<QTemporaryDir>>;

// Times `run` into a fresh folder each time; prints the median, or FAILED with the reason.
void Time(const char* name, Folders& folders,
          const std::function<QString(const QString& folder)>& run) {
    std::vector<double> times;
    for (int i = 0; i < Repetitions; ++i) {
        const QString folder = folders.emplace_back(std::make_unique<QTemporaryDir>())->path();
        QElapsedTimer timer;
        timer.start();
        const QString failure = run(folder);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!failure.isEmpty()) {
            std::printf("%s FAILED: %s\n", name, qPrintable(failure));
            return;
        }
    }
    std::printf("%s median_ms=%.1f\n", name, Median(times));
    std::fflush(stdout);
}

} // namespace

void RunPlatformBenchmarks(const QImage& icon, const QString& sigilonExecutable) {
    DesignSettings settings;
    settings.text = QStringLiteral("Ab");
    const IconDesign design = MakeIconDesign(settings, icon);
    Folders folders;
    // The same sets with a build flavour's badge, which should cost little beside them.
    for (const Badge& badge : {Badge{}, Badge{.text = QStringLiteral("BETA")}}) {
        const QList<PlannedFile> plan = PlatformPlan::Files(
            PlatformTargets::AllPlatformSets(),
            MakePlatformSetOptions(design, PlatformPlan::DefaultName(), QString(), badge));
        Time(badge.IsSet() ? "export platforms all badge=BETA" : "export platforms all", folders,
             [&](const QString& folder) {
                 return PlatformExport::Run(design, plan, folder, false, 0, {}, badge).AllWritten()
                            ? QString()
                            : QStringLiteral("a file was not written");
             });
    }

    QTemporaryDir inputs;
    const QString profile = inputs.filePath(QStringLiteral("bench.sgp"));
    const QString iconFile = inputs.filePath(QStringLiteral("icon.png"));
    QFile profileFile(profile);
    if (!icon.save(iconFile) || !profileFile.open(QIODevice::WriteOnly) ||
        profileFile.write(MakeProfileText(settings).toUtf8()) < 0) {
        std::printf("process export platforms all FAILED: cannot write its inputs\n");
        return;
    }
    profileFile.close();
    for (const bool badged : {false, true}) {
        QStringList arguments{QStringLiteral("export"),
                              QStringLiteral("--profile"),
                              profile,
                              QStringLiteral("--icon"),
                              iconFile,
                              QStringLiteral("--target"),
                              QStringLiteral("all")};
        if (badged)
            arguments += {QStringLiteral("--badge"), QStringLiteral("BETA")};
        Time(badged ? "process export platforms all badge=BETA" : "process export platforms all",
             folders, [&](const QString& folder) {
                 QProcess process;
                 process.start(sigilonExecutable,
                               arguments + QStringList{QStringLiteral("--output-dir"), folder});
                 if (!process.waitForFinished(60000) ||
                     process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
                     return QString::fromLocal8Bit(process.readAllStandardError().trimmed());
                 return QString();
             });
    }
}
