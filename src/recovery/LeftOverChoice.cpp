#include "recovery/LeftOverChoice.h"

std::optional<qsizetype> ChooseLeftOver(const QList<FoundRecoveryFile>& files) {
    std::optional<qsizetype> chosen;
    for (qsizetype index = 0; index < files.size(); ++index) {
        const FoundRecoveryFile& file = files[index];
        if (file.editorRunning || !file.readable)
            continue;
        if (!chosen)
            chosen = index;
        const FoundRecoveryFile& best = files[*chosen];
        if (file.savedAt > best.savedAt || (file.savedAt == best.savedAt && file.name < best.name))
            chosen = index;
    }
    return chosen;
}

QList<qsizetype> UnusableLeftOvers(const QList<FoundRecoveryFile>& files) {
    QList<qsizetype> unusable;
    for (qsizetype index = 0; index < files.size(); ++index)
        if (!files[index].editorRunning && !files[index].readable)
            unusable.append(index);
    return unusable;
}
