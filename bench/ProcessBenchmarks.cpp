#include "ProcessBenchmarks.h"

#include "BenchmarkIcon.h"
#include "Measurements.h"
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct RunResult {
    bool ok = false;
    double milliseconds = 0.0;
    double peakMegabytes = 0.0;
};

// Runs the executable to its end with its output discarded; the peak is the child's largest
// resident size as the kernel accounted it.
RunResult RunOnce(const QString& executable, const QStringList& arguments) {
    std::vector<QByteArray> storage{QFile::encodeName(executable)};
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& value : storage)
        argv.push_back(value.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    RunResult result;
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return result;
    result.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    result.peakMegabytes = usage.ru_maxrss / 1024.0;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

// The benchmark design at a canvas size, as a profile file, beside the icon image.
struct DesignFiles {
    QString profile;
    QString icon;
};

bool WriteProfile(const QString& path, int side, const QString& text) {
    DesignSettings settings;
    settings.canvasWidthText = QString::number(side);
    settings.canvasHeightText = QString::number(side);
    settings.text = text;
    QFile file(path);
    const QByteArray bytes = MakeProfileText(settings).toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void TimeProcessRuns(const QString& name, const QString& executable, const QStringList& arguments,
                     int repetitions, bool withPeak) {
    std::vector<double> times;
    std::vector<double> peaks;
    for (int i = 0; i < repetitions; ++i) {
        QTemporaryDir output;
        QStringList filled = arguments;
        filled.replaceInStrings(QStringLiteral("{out}"), output.path());
        const RunResult run = RunOnce(executable, filled);
        if (!run.ok) {
            std::printf("%s FAILED\n", qPrintable(name));
            return;
        }
        times.push_back(run.milliseconds);
        peaks.push_back(run.peakMegabytes);
    }
    if (withPeak)
        std::printf("%s median_ms=%.1f peak_mb=%.0f\n", qPrintable(name), Median(times),
                    Median(peaks));
    else
        std::printf("%s median_ms=%.1f\n", qPrintable(name), Median(times));
    std::fflush(stdout);
}

void RunProcessBenchmarks(const QString& sigilonExecutable) {
    QTemporaryDir folder;
    const QString icon = folder.filePath(QStringLiteral("icon.png"));
    if (!BenchmarkIcon().save(icon)) {
        std::printf("process FAILED: no icon file\n");
        return;
    }
    auto profile = [&](int side) {
        const QString path = folder.filePath(QStringLiteral("design-%1.sgp").arg(side));
        return WriteProfile(path, side, QStringLiteral("Ab")) ? path : QString();
    };
    struct Case {
        int side;
        int repetitions;
    };
    for (const Case& c : {Case{1024, 7}, Case{4096, 5}, Case{10000, 5}})
        TimeProcessRuns(QStringLiteral("process render %1").arg(c.side), sigilonExecutable,
                        {QStringLiteral("render"), QStringLiteral("--profile"), profile(c.side),
                         QStringLiteral("--icon"), icon, QStringLiteral("--output"),
                         QStringLiteral("{out}/icon.png")},
                        c.repetitions, true);
    for (const Case& c : {Case{1024, 7}, Case{10000, 5}})
        TimeProcessRuns(QStringLiteral("process export %1").arg(c.side), sigilonExecutable,
                        {QStringLiteral("export"), QStringLiteral("--profile"), profile(c.side),
                         QStringLiteral("--icon"), icon, QStringLiteral("--output-dir"),
                         QStringLiteral("{out}")},
                        c.repetitions, false);
    // The default design, no icon and no text.
    TimeProcessRuns(
        QStringLiteral("process export"), sigilonExecutable,
        {QStringLiteral("export"), QStringLiteral("--output-dir"), QStringLiteral("{out}")}, 7,
        false);
}
