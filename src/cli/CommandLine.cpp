#include "cli/CommandLine.h"

int RunCommandLine(int, char*[]) { return 2; }
