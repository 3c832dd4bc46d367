#pragma once

// The headless front end: `sigilon render|export|profile ...`, `--help`, `--version`.
// Returns the process exit status: 0 done, 1 the work failed, 2 a usage error.
int RunCommandLine(int argc, char* argv[]);
