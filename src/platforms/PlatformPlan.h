#pragma once

#include "platforms/PlannedFile.h"
#include "platforms/PlatformSetOptions.h"
#include "platforms/PlatformTargets.h"

#include <QList>
#include <QString>

// The files that platform targets write, before anything is drawn.
namespace PlatformPlan {

// The name used when none is given.
QString DefaultName();

// Empty for a name the sets can carry in file and folder names on every platform (ASCII
// letters, digits, ".", "-" and "_", neither "." nor "..", at most 200 characters), else what
// is wrong with it, as a clause the caller puts into its
// own sentence ("the name \"a b\" may hold only …").
QString NameProblem(const QString& name);

// Every file of the platform targets in `targets`, in their order, named after `options.name`
// and saying what `options` says of the app; Sizes plans nothing here.
QList<PlannedFile> Files(const QList<PlatformTarget>& targets, const PlatformSetOptions& options);

} // namespace PlatformPlan
