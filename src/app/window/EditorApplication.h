#pragma once

#include <QString>

// Runs the editor: the application, its one window and the main loop, with the profile at
// `profilePath` loaded as Load loads it unless the path is empty. Returns the exit status.
int RunEditor(int argc, char* argv[], const QString& profilePath);
