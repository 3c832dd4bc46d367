#include "export/ExportRun.h"

#include "export/OutputFormat.h"
#include "export/SaveImage.h"
#include "export/StretchImage.h"

#include <cmath>
#include <utility>

namespace {

const QString SizeToken = QStringLiteral("[Size]");

// The custom size fields' own limit. A hand-edited profile can ask for more; such a file
// fails rather than letting one export claim gigabytes for its image and encoder buffers.
constexpr double LargestSide = 10000.0;

// The output size in whole pixels; a null image when it is not a usable size, which the
// write then reports as a failure.
QImage ScaledRendering(const QImage& rendering, const OutputSize& size) {
    if (!(size.width >= 1.0 && size.height >= 1.0 && size.width <= LargestSide &&
          size.height <= LargestSide))
        return {};
    return StretchImage(rendering, int(size.width), int(size.height));
}

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
    m_prompter.Alert(QStringLiteral("Icon(s) saved successfully."));
    if (ratingCheck)
        ratingCheck->Run();
    return Outcome::Saved;
}

bool ExportRun::SaveAll(const QImage& rendering, const QString& folder,
                        const QList<OutputSize>& sizes) {
    const double quality = CompressionFactor(m_options.quality);
    int overwriteMode = AskNext;
    bool result = true;
    for (const OutputSize& size : sizes) {
        const QImage image = ScaledRendering(rendering, size);
        const QString path = AppendPathComponent(folder, GetFileName(size.nameText));
        const SaveIconResult saved =
            SaveIcon(image, path, m_options.formatIndex, overwriteMode, quality);
        overwriteMode = saved.overwriteMode;
        const bool ok = bool(saved.result);
        result = result && ok;
        if (m_observer) {
            // Only an answer of No or No to All passes over a file.
            const bool kept = saved.overwriteMode == No || saved.overwriteMode == NoToAll;
            m_observer({path,
                        kept ? FileAction::Kept
                        : ok ? FileAction::Written
                             : FileAction::Failed,
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

ExportRun::SaveIconResult ExportRun::SaveIcon(const QImage& image, const QString& path,
                                              int formatIndex, int overwriteMode, double quality) {
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
    return {ImageTools::SaveImage(image, path, formatIndex, quality), mode};
}
