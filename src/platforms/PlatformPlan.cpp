#include "platforms/PlatformPlan.h"

#include <QRegularExpression>

namespace PlatformPlan {

QString DefaultName() {
    return QStringLiteral("AppIcon");
}

// The name becomes file and folder names: "." and ".." would name the output folder or its
// parent, and a long name would pass the file system's limit once extended.
QString NameProblem(const QString& name) {
    constexpr qsizetype kLongestName = 200;
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9._-]+$"));
    if (name.isEmpty())
        return QStringLiteral("the name may not be empty");
    if (name == u"." || name == u"..")
        return QStringLiteral("the name may not be \".\" or \"..\"");
    if (name.size() > kLongestName)
        return QStringLiteral("the name may hold at most %1 characters, not %2")
            .arg(kLongestName)
            .arg(name.size());
    if (!allowed.match(name).hasMatch())
        return QStringLiteral(
                   "the name \"%1\" may hold only letters, digits, \".\", \"-\" and \"_\"")
            .arg(name);
    return {};
}

QList<PlannedFile> Files(const QList<PlatformTarget>& targets, const PlatformSetOptions& options) {
    QList<PlannedFile> files;
    for (PlatformTarget target : targets)
        if (const auto plan = PlatformTargets::RowOf(target).plan)
            files.append(plan(options));
    return files;
}

} // namespace PlatformPlan
