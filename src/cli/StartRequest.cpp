#include "cli/StartRequest.h"

#include "cli/CommandLine.h"

#include <QFileInfo>

StartRequest StartRequest::FromArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        return {};
    if (IsCommandLineWord(arguments.first()))
        return {Mode::CommandLine, {}, {}};
    for (const QString& argument : arguments) {
        // A profile whose name starts with "-" is still reachable as "./-name.sgp".
        if (argument.startsWith(u'-'))
            return {Mode::UsageError, {}, QStringLiteral("unknown option: %1").arg(argument)};
    }
    if (arguments.size() > 1) {
        return {
            Mode::UsageError,
            {},
            QStringLiteral("the editor opens one profile at a time, not %1").arg(arguments.size())};
    }
    const QString& word = arguments.first();
    // A missing .sgp still opens the editor, which then says it could not load the profile.
    if (word.endsWith(QStringLiteral(".sgp"), Qt::CaseInsensitive) || QFileInfo(word).isFile())
        return {Mode::Editor, word, {}};
    return {Mode::UsageError, {}, QStringLiteral("unknown command: %1").arg(word)};
}
