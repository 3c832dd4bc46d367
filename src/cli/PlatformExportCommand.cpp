#include "cli/PlatformExportCommand.h"

#include "cli/ExportCommand.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/ImageTools.h"

#include <QDir>

#include <cstdio>

namespace {

void PrintError(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Tells what the platform sets' run did; whether every file was written or kept.
bool ReportPlatformSets(const PlatformExport::Result& result, bool quiet) {
    for (const QString& note : result.notes)
        PrintError(note);
    for (const ExportRun::FileResult& file : result.files)
        PrintFileResult(file, quiet);
    const bool written = result.AllWritten();
    PrintError(written ? QStringLiteral("Platform icon sets saved successfully.")
                       : QStringLiteral("Some platform icons could not be saved."));
    return written;
}

// A run whose icon drawing was refused writes nothing: the folders it made for the output go
// again (each only while empty), the deepest first.
int WroteNothing(const QStringList& madeFolders) {
    for (const QString& folder : madeFolders)
        QDir().rmdir(folder);
    return 1;
}

} // namespace

int RunPlatformExportCommand(const DesignInput& input, const QList<PlatformTarget>& targets,
                             const QString& name, const QString& appName, const QString& outputDir,
                             bool overwrite, bool quiet, const Badge& badge) {
    const IconDesign design = MakeIconDesign(input.settings, input.icon, input.iconVector);
    const bool platformSets = PlatformTargets::HasPlatformSet(targets);
    // Refused before anything is written, the size list included: half an export is worse.
    QString problem = platformSets ? PlatformExport::DesignProblem(design) : QString();
    const QStringList madeFolders = MissingFolders(outputDir);
    if (problem.isEmpty())
        problem = ExportFolderProblem(outputDir);
    if (!problem.isEmpty()) {
        PrintError(problem);
        return 1;
    }
    // Every picture is drawn before any file is written, so that an icon image whose drawing
    // the image helper refuses leaves the folder as it was: the size list's rendering first, then
    // the platform sets (which draw all their pictures before they write), the size list last.
    const bool sizeList = targets.contains(PlatformTarget::Sizes);
    const QImage rendering = sizeList ? ImageTools::RenderIcon(design) : QImage();
    if (IconDrawingRefused(input))
        return WroteNothing(madeFolders);
    bool ok = true;
    if (platformSets) {
        const PlatformExport::Result result = PlatformExport::Run(
            design,
            PlatformPlan::Files(targets, MakePlatformSetOptions(design, name, appName, badge)),
            outputDir, overwrite, 0, {}, badge);
        if (result.iconRefused)
            return WroteNothing(madeFolders);
        ok = ReportPlatformSets(result, quiet);
    }
    if (sizeList)
        ok = RunExportCommand(input.settings, rendering, outputDir, overwrite, quiet, badge) == 0 &&
             ok;
    return ok ? 0 : 1;
}
