#include "export/ExportRun.h"

#include "export/IconSetEncoding.h"
#include "export/OutputFormat.h"
#include "export/OutputNameCheck.h"
#include "export/SaveImage.h"

#include <cmath>
#include <utility>

namespace {

const QString SizeToken = QStringLiteral("[Size]");

QString AppendPathComponent(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace

ExportRun::ExportRun(Prompter& prompter, ExportOptions options)
    : m_prompter(prompter), m_options(std::move(options)) {}

void ExportRun::SetFileObserver(std::function<void(const FileResult&)> observer) {
    m_observer = std::move(observer);
}

ExportRun::Outcome ExportRun::SaveIcons(const QImage& rendering, const QList<OutputSize>& sizes,
                                        RatingCheck* ratingCheck) {
    const std::optional<QString> folder = m_prompter.ChooseFolder(QStringLiteral("Select Folder"));
    if (!folder)
        return Outcome::Cancelled;
    if (folder->isEmpty()) {
        m_prompter.Alert(QStringLiteral("The folder you selected is not valid."));
        return Outcome::InvalidFolder;
    }
    if (!SaveAll(rendering, *folder, sizes)) {
        m_prompter.Alert(QStringLiteral("Some icons could not be saved."));
        return Outcome::Failed;
    }
    m_prompter.Inform(QStringLiteral("Icon(s) saved successfully."));
    if (ratingCheck)
        ratingCheck->Run();
    return Outcome::Saved;
}

bool ExportRun::SaveAll(const QImage& rendering, const QString& folder,
                        const QList<OutputSize>& sizes) {
    const double quality = CompressionFactor(m_options.quality);
    // Every file is encoded before the first question: the questions then come one after
    // another, and a file passed over costs only its share of a parallel encode.
    const std::vector<QByteArray> files = EncodeIconSet(
        rendering, sizes, m_options.formatIndex, quality, m_options.badge, m_options.badgeArea);
    int overwriteMode = AskNext;
    bool result = true;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QString name = GetFileName(sizes[i].nameText);
        const QString path = AppendPathComponent(folder, name);
        // A name that would leave the folder fails before any question about it.
        const QString outside = OutputNameProblem(folder, name);
        const SaveIconResult saved =
            outside.isEmpty()
                ? SaveIcon(files[std::size_t(i)], path, m_options.formatIndex, overwriteMode)
                : SaveIconResult{{outside}, overwriteMode};
        overwriteMode = saved.overwriteMode;
        const bool ok = bool(saved.result);
        result = result && ok;
        if (m_observer) {
            // Only an answer of No or No to All passes over a file.
            const bool kept = saved.overwriteMode == No || saved.overwriteMode == NoToAll;
            m_observer({path,
                        !ok    ? FileAction::Failed
                        : kept ? FileAction::Kept
                               : FileAction::Written,
                        saved.result.failure});
        }
    }
    return result;
}

QString ExportRun::GetFileName(const QString& sizeText) const {
    QString name =
        m_options.namePattern.isEmpty() ? QStringLiteral("Icon[Size]") : m_options.namePattern;
    if (!name.contains(SizeToken))
        name += SizeToken;
    name.replace(SizeToken, sizeText);
    return name + u'.' + GetFileExtension(m_options.formatIndex);
}

int ExportRun::AskOverwrite(const QString& path) {
    if (!ItemExistsAt(path))
        return AskNext;
    const int button =
        m_prompter.Ask(QStringLiteral("The file ") + path +
                           QStringLiteral(" already exists. Do you want to overwrite it?"),
                       {QStringLiteral("Yes"), QStringLiteral("Yes to All"), QStringLiteral("No"),
                        QStringLiteral("No to All")});
    switch (button) {
    case 0:
        return Yes;
    case 1:
        return YesToAll;
    case 2:
        return No;
    default:
        return NoToAll;
    }
}

ExportRun::SaveIconResult ExportRun::SaveIcon(const QByteArray& encoded, const QString& path,
                                              int formatIndex, int overwriteMode) {
    if (overwriteMode >= NoToAll)
        return {{}, overwriteMode};
    int mode = overwriteMode;
    if (mode != YesToAll) {
        mode = AskOverwrite(path);
        if (mode == No || mode == NoToAll)
            return {{}, mode};
    }
    // No removal first: the atomic replace keeps the old file until the new one is complete
    // and keeps it when the encode or the write fails.
    return {ImageTools::SaveEncoded(encoded, path, formatIndex), mode};
}
