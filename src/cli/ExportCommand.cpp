#include "cli/ExportCommand.h"

#include "cli/ExportCommandPrompter.h"
#include "export/AtomicFileWrite.h"
#include "export/ExportRun.h"
#include "export/SizeSets.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
    // Every byte, so that a path holding a NUL does not cut off the rest of its line.
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fflush(stream);
}

// The nearest of `path` and its parents that exists.
QFileInfo NearestExisting(const QString& path) {
    const QStringList missing = MissingFolders(path);
    return QFileInfo(missing.isEmpty() ? QFileInfo(path).absoluteFilePath()
                                       : QFileInfo(missing.last()).absolutePath());
}

} // namespace

QStringList MissingFolders(const QString& folder) {
    QStringList missing;
    for (QFileInfo info(QFileInfo(folder).absoluteFilePath()); !info.exists() && !info.isRoot();
         info = QFileInfo(info.absolutePath()))
        missing.append(info.absoluteFilePath());
    return missing;
}

QString ExportFolderProblem(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists() && !QDir().mkpath(folder)) {
        const QFileInfo blocker = NearestExisting(folder);
        if (blocker.exists() && !blocker.isDir())
            return QStringLiteral("The output folder %1 cannot be created: %2 is a file.")
                .arg(folder, blocker.filePath());
        return QStringLiteral("The output folder %1 cannot be created.").arg(folder);
    }
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("The output path %1 is not a folder.").arg(folder);
    if (!FolderTakesNewFiles(folder))
        return QStringLiteral("The output folder %1 is not writable.").arg(folder);
    return {};
}

void PrintFileResult(const ExportRun::FileResult& file, bool quiet) {
    switch (file.action) {
    case ExportRun::FileAction::Written:
        if (!quiet)
            PrintLine(stdout, file.path);
        break;
    case ExportRun::FileAction::Kept:
        PrintLine(stderr, QStringLiteral("Skipped: ") + file.path);
        break;
    case ExportRun::FileAction::Failed:
        PrintLine(stderr, QStringLiteral("Could not save: ") + file.path + QStringLiteral(" (") +
                              file.failure + u')');
        break;
    }
}

int RunExportCommand(const DesignSettings& settings, const QImage& rendering,
                     const QString& outputDir, bool overwrite, bool quiet, const Badge& badge) {
    const QString problem = ExportFolderProblem(outputDir);
    if (!problem.isEmpty()) {
        PrintLine(stderr, problem);
        return 1;
    }
    ExportCommandPrompter prompter(outputDir, overwrite);
    ExportOptions exportOptions = ExportOptions::FromSettings(settings);
    exportOptions.badge = badge;
    exportOptions.badgeArea = BadgeArea::OfDesign(MakeIconDesign(settings, {}));
    ExportRun run(prompter, exportOptions);
    run.SetFileObserver(
        [quiet](const ExportRun::FileResult& file) { PrintFileResult(file, quiet); });
    const ExportRun::Outcome outcome =
        run.SaveIcons(rendering, SizeSets::SizeList(settings), nullptr);
    return outcome == ExportRun::Outcome::Saved ? 0 : 1;
}
