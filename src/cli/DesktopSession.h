#pragma once

#include <QProcessEnvironment>

// Whether the editor's window has somewhere to appear: an X display or a Wayland compositor, or
// a window platform chosen on purpose (QT_QPA_PLATFORM, such as "offscreen" for the tests).
bool HasDesktopSession(const QProcessEnvironment& environment);

// Says in one line on standard error that the editor needs a desktop session and which
// headless commands work without one; returns the failure's exit status, 1.
int ReportNoDesktopSession();
