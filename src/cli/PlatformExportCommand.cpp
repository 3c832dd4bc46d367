#include "cli/PlatformExportCommand.h"

#include "cli/ExportCommand.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/ImageTools.h"

#include <cstdio>

namespace {

void PrintError(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

bool WritePlatformSets(const IconDesign& design, const QList<PlatformTarget>& targets,
                       const PlatformSetOptions& options, const QString& outputDir, bool overwrite,
                       bool quiet) {
    const PlatformExport::Result result = PlatformExport::Run(
        design, PlatformPlan::Files(targets, options), outputDir, overwrite, 0, {}, options.badge);
    for (const QString& note : result.notes)
        PrintError(note);
    for (const ExportRun::FileResult& file : result.files)
        PrintFileResult(file, quiet);
    const bool written = result.AllWritten();
    PrintError(written ? QStringLiteral("Platform icon sets saved successfully.")
                       : QStringLiteral("Some platform icons could not be saved."));
    return written;
}

} // namespace

int RunPlatformExportCommand(const DesignInput& input, const QList<PlatformTarget>& targets,
                             const QString& name, const QString& appName, const QString& outputDir,
                             bool overwrite, bool quiet, const Badge& badge) {
    const IconDesign design = MakeIconDesign(input.settings, input.icon, input.iconVector);
    const bool platformSets = PlatformTargets::HasPlatformSet(targets);
    // Refused before anything is written, the size list included: half an export is worse.
    QString problem = platformSets ? PlatformExport::DesignProblem(design) : QString();
    if (problem.isEmpty())
        problem = ExportFolderProblem(outputDir);
    if (!problem.isEmpty()) {
        PrintError(problem);
        return 1;
    }
    bool ok = true;
    if (targets.contains(PlatformTarget::Sizes))
        ok = RunExportCommand(input.settings, ImageTools::RenderIcon(design), outputDir, overwrite,
                              quiet, badge) == 0;
    if (platformSets)
        ok =
            WritePlatformSets(design, targets, MakePlatformSetOptions(design, name, appName, badge),
                              outputDir, overwrite, quiet) &&
            ok;
    return ok ? 0 : 1;
}
