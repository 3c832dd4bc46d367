#pragma once

#include "export/Prompter.h"

// The answers of `sigilon export`: the folder given on the command line, the same answer to
// every overwrite question ("Yes to All" with --overwrite, else "No", which keeps the file),
// and alerts printed on standard error instead of shown.
class ExportCommandPrompter : public Prompter {
public:
    ExportCommandPrompter(const QString& folder, bool overwrite);

    int Ask(const QString& message, const QStringList& buttons) override;
    std::optional<QString> ChooseFolder(const QString& prompt) override;
    std::optional<QString> ChooseSaveFile(const QString& defaultName,
                                          const QString& extension) override;
    std::optional<QString> ChooseOpenFile(const QStringList& extensions) override;

private:
    QString m_folder;
    bool m_overwrite;
};
