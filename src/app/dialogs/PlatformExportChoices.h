#pragma once

#include "platforms/PlatformTargets.h"
#include "render/Badge.h"

#include <QList>
#include <QString>

// What the user chose in the platform export dialog, kept between runs of the editor.
struct PlatformExportChoices {
    QList<PlatformTarget> targets = PlatformTargets::AllPlatformSets();
    QString name;
    QString appName; // empty for `name`
    QString folder;
    bool replaceExisting = false;
    Badge badge; // its text, style and position; none by default

    // The choices of the last export, or the defaults before the first one.
    static PlatformExportChoices Remembered();

    void Remember() const;
};
