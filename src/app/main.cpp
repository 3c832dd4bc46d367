#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char* argv[]) {
    // Any argument selects the headless command line; none opens the editor.
    if (argc > 1)
        return RunCommandLine(argc, argv);
    return RunCommandLine(argc, argv);
}
