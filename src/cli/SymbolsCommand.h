#pragma once

#include <QStringList>

// `sigilon symbols [WORD...] [--limit N]`: the library's entries that match every word (all of
// them without words), one a line: "SET/NAME", its kind, its style and its licence, separated
// by tabs. `arguments` follow the command's name. Returns the exit status: 1 when nothing
// matches, 2 for a usage error.
int RunSymbolsCommand(const QStringList& arguments);
