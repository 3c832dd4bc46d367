#include "export/OutputNameCheck.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

QString OutputNameProblem(const QString& folder, const QString& name) {
    if (name.startsWith(u'/'))
        return QStringLiteral("The name %1 is an absolute path; files are written only inside "
                              "the output folder.")
            .arg(name);
    const QStringList parts = name.split(u'/');
    if (parts.contains(QStringLiteral("..")))
        return QStringLiteral("The name %1 leads out of the output folder.").arg(name);
    // A NUL would cut the paths asked about short; the write itself refuses such a name.
    if (name.contains(QChar(0)))
        return {};
    QString path = folder;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].isEmpty() || parts[i] == u".")
            continue;
        path = QDir(path).filePath(parts[i]);
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            break; // missing from here on: the export creates real folders
        if (S_ISLNK(status.st_mode))
            return QStringLiteral(
                       "The folder %1 is a symbolic link; nothing is written through it.")
                .arg(path);
    }
    return {};
}
