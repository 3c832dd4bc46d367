#include "cli/ExportCommandPrompter.h"

#include <cstdio>

namespace {

enum OverwriteButton { YesToAll = 1, No = 2 };

} // namespace

ExportCommandPrompter::ExportCommandPrompter(const QString& folder, bool overwrite)
    : m_folder(folder), m_overwrite(overwrite) {}

int ExportCommandPrompter::Ask(const QString& message, const QStringList& buttons) {
    if (buttons.size() == 1) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::fflush(stderr);
        return 0;
    }
    return m_overwrite ? YesToAll : No;
}

std::optional<QString> ExportCommandPrompter::ChooseFolder(const QString&) {
    return m_folder;
}

std::optional<QString> ExportCommandPrompter::ChooseSaveFile(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> ExportCommandPrompter::ChooseOpenFile(const QStringList&) {
    return std::nullopt;
}
