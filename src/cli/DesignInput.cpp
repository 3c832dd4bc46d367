#include "cli/DesignInput.h"

#include "imageio/IconImageFile.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileText.h"

QString LoadDesignInput(const QString& profilePath, const QString& iconPath, DesignInput& input) {
    if (!profilePath.isEmpty()) {
        QString text;
        if (!ReadProfileFile(profilePath, text) ||
            !ApplyProfileText(input.settings, text, /*olderLayoutsAccepted=*/true))
            return QStringLiteral("Could not load profile.");
    }
    if (!iconPath.isEmpty()) {
        input.icon = LoadIconImage(iconPath, &input.iconVector);
        if (input.icon.isNull())
            return QStringLiteral("The image could not be loaded.");
    }
    return {};
}
