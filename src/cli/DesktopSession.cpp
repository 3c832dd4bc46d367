#include "cli/DesktopSession.h"

#include <cstdio>

bool HasDesktopSession(const QProcessEnvironment& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty())
            return true;
    }
    return false;
}

int ReportNoDesktopSession() {
    // Without this, Qt's own message about its platform plugin suggests reinstalling, which
    // sends a user on a server or over a plain SSH connection the wrong way.
    std::fputs("sigilon: the editor needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY "
               "is set); without one, use the headless commands `sigilon render` and "
               "`sigilon export --target all` (README.md, \"Command line\"; man sigilon)\n",
               stderr);
    return 1;
}
