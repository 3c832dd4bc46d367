#include "cli/CommandLine.h"
#include "cli/DesktopSession.h"
#include "cli/StartRequest.h"
#include "support/AllocatorTuning.h"

#ifdef SIGILON_HAS_WINDOW
#include "app/window/EditorApplication.h"
#endif

int main(int argc, char* argv[]) {
    KeepImageMemoryMapped();
    // Decided before any window exists, so a usage error never flashes one up.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const StartRequest request = StartRequest::FromArguments(arguments);
    switch (request.mode) {
    case StartRequest::Mode::UsageError:
        return ReportUsageError(request.error);
    case StartRequest::Mode::Editor:
#ifdef SIGILON_HAS_WINDOW
        if (!HasDesktopSession(QProcessEnvironment::systemEnvironment()))
            return ReportNoDesktopSession();
        return RunEditor(argc, argv, request.profilePath);
#else
        return ReportUsageError(QStringLiteral("this build has no editor window"));
#endif
    case StartRequest::Mode::CommandLine:
        break;
    }
    return RunCommandLine(argc, argv);
}
