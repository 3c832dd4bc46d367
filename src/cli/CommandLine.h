#pragma once

#include <QString>

// The headless front end: `sigilon render|export|profile ...`, `--help`, `--version`.
// Returns the process exit status: 0 done, 1 the work failed, 2 a usage error.
int RunCommandLine(int argc, char* argv[]);

// True when `word`, the first argument, selects the command line: a command, --help, -h or
// --version.
bool IsCommandLineWord(const QString& word);

// Prints "sigilon: MESSAGE" and the usage text on standard error; returns the usage error's
// exit status, 2.
int ReportUsageError(const QString& message);
