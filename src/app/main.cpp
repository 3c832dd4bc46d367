#include "cli/CommandLine.h"

#ifdef SIGILON_HAS_WINDOW
#include "app/EditorApplication.h"
#endif

int main(int argc, char* argv[]) {
    // Any argument selects the headless command line; none opens the editor.
#ifdef SIGILON_HAS_WINDOW
    if (argc <= 1)
        return RunEditor(argc, argv);
#endif
    return RunCommandLine(argc, argv);
}
