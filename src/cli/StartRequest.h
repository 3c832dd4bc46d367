#pragma once

#include <QString>
#include <QStringList>

// What the process was started for, decided from its arguments (without the program name)
// before any window exists: the editor, optionally with one profile to open (as a file
// manager starts it for a double-clicked .sgp), or the headless command line. A word is taken
// for a profile when it names an existing file or ends in ".sgp"; any other word is a
// mistyped command. A second path or an option that neither takes is a usage error.
struct StartRequest {
    enum class Mode { Editor, CommandLine, UsageError };

    Mode mode = Mode::Editor;
    QString profilePath; // the profile the editor opens; empty for none
    QString error;       // what is wrong with the arguments, for a usage error

    static StartRequest FromArguments(const QStringList& arguments);
};
