#include "app/dialogs/PlatformExportSummary.h"

#include <QStringList>

QString PlatformExportSummary(const PlatformExport::Result& result, int planned) {
    int written = 0;
    int skipped = 0;
    QStringList failures;
    for (const ExportRun::FileResult& file : result.files) {
        switch (file.action) {
        case ExportRun::FileAction::Written:
            ++written;
            break;
        case ExportRun::FileAction::Kept:
            ++skipped;
            break;
        case ExportRun::FileAction::Failed:
            failures.append(QStringLiteral("%1: %2").arg(file.path, file.failure));
            break;
        }
    }
    QStringList lines{QStringLiteral("Files written: %1, skipped: %2, failed: %3.")
                          .arg(written)
                          .arg(skipped)
                          .arg(failures.size())};
    if (result.stopped)
        lines.append(QStringLiteral("The export was cancelled; %1 files were not written.")
                         .arg(planned - int(result.files.size())));
    if (!failures.isEmpty())
        lines.append(QStringLiteral("Could not save:\n") + failures.join(u'\n'));
    lines.append(result.notes);
    return lines.join(QStringLiteral("\n\n"));
}
