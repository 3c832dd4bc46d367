#include "cli/SymbolsCommand.h"

#include "cli/CommandLine.h"
#include "symbols/SymbolLibrary.h"

#include <cstdio>
#include <limits>

int RunSymbolsCommand(const QStringList& arguments) {
    QStringList words;
    qsizetype limit = std::numeric_limits<qsizetype>::max();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(u"--")) {
            words.append(argument);
            continue;
        }
        if (argument != u"--limit")
            return ReportUsageError(QStringLiteral("unknown option for symbols: %1").arg(argument));
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return ReportUsageError(QStringLiteral("--limit needs a value"));
        bool whole = false;
        limit = arguments[++i].toLongLong(&whole);
        if (!whole || limit < 1)
            return ReportUsageError(
                QStringLiteral("--limit takes a whole number from 1, not \"%1\"")
                    .arg(arguments[i]));
    }
    const SymbolLibrary& library = SymbolLibrary::Installed();
    if (library.entries().empty()) {
        std::fprintf(stderr, "%s\n", library.problem().toLocal8Bit().constData());
        return 1;
    }
    const std::vector<const SymbolEntry*> found = library.Search(words);
    if (found.empty()) {
        std::fprintf(stderr, "No symbol matches %s.\n", words.join(u' ').toLocal8Bit().constData());
        return 1;
    }
    QByteArray lines;
    for (size_t i = 0; i < found.size() && qsizetype(i) < limit; ++i) {
        const SymbolEntry& entry = *found[i];
        lines += QStringList{entry.QualifiedName(), entry.set->kindWord(), entry.style,
                             entry.set->licence()}
                     .join(u'\t')
                     .toUtf8() +
                 '\n';
    }
    if (std::fwrite(lines.constData(), 1, size_t(lines.size()), stdout) != size_t(lines.size()) ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "Could not write the list of symbols.\n");
        return 1;
    }
    return 0;
}
