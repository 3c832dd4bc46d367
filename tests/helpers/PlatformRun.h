#pragma once

#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"

// What the platform export tests write: the sets of a small design, quick to draw.
namespace PlatformRun {

inline IconDesign SmallDesign() {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = 256.0f;
    design.text = QStringLiteral("Ab");
    return design;
}

// The files of the sets under that name.
inline QList<PlannedFile> Plan(const QList<PlatformTarget>& targets,
                               const QString& name = QStringLiteral("AppIcon")) {
    return PlatformPlan::Files(targets, MakePlatformSetOptions(IconDesign(), name, QString()));
}

} // namespace PlatformRun
