#include "app/dialogs/PlatformExportSummary.h"

#include <QMap>
#include <QStringList>

namespace {

QString Files(int count) {
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

// Names the reason the most failed files share, and how many it covers when not all.
QString FailureSentence(const QStringList& reasons) {
    QMap<QString, int> counts;
    QString commonest;
    for (const QString& reason : reasons) {
        const int count = ++counts[reason];
        if (count > counts.value(commonest))
            commonest = reason;
    }
    const int failed = int(reasons.size());
    const int covered = counts.value(commonest);
    if (covered == failed)
        return QStringLiteral("Could not save %1: %2").arg(Files(failed), commonest);
    return QStringLiteral("Could not save %1; for %2 of them: %3")
        .arg(Files(failed))
        .arg(covered)
        .arg(commonest);
}

} // namespace

PlatformExportSummary PlatformExportSummary::Of(const PlatformExport::Result& result, int planned) {
    int written = 0;
    int skipped = 0;
    QStringList reasons;
    QStringList failedFiles;
    for (const ExportRun::FileResult& file : result.files) {
        switch (file.action) {
        case ExportRun::FileAction::Written:
            ++written;
            break;
        case ExportRun::FileAction::Kept:
            ++skipped;
            break;
        case ExportRun::FileAction::Failed:
            reasons.append(file.failure);
            failedFiles.append(QStringLiteral("%1: %2").arg(file.path, file.failure));
            break;
        }
    }
    QStringList paragraphs{QStringLiteral("Files written: %1, skipped: %2, failed: %3.")
                               .arg(written)
                               .arg(skipped)
                               .arg(reasons.size())};
    if (!reasons.isEmpty())
        paragraphs.append(FailureSentence(reasons));
    if (result.iconRefused)
        paragraphs.append(QStringLiteral(
            "The image could not be loaded: drawing it at a size the sets need takes more than "
            "10 seconds or 1.5 GB. No file was written."));
    if (result.stopped)
        paragraphs.append(QStringLiteral("The export was cancelled; %1 were not written.")
                              .arg(Files(planned - int(result.files.size()))));
    paragraphs.append(result.notes);
    return {paragraphs.join(QStringLiteral("\n\n")), failedFiles.join(u'\n')};
}
