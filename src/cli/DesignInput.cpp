#include "cli/DesignInput.h"

#include "imageio/SvgImage.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileText.h"
#include "symbols/IconSource.h"

QString LoadDesignInput(const QString& profilePath, const QString& iconPath, DesignInput& input) {
    if (!profilePath.isEmpty()) {
        QString text;
        if (!ReadProfileFile(profilePath, text) ||
            !ApplyProfileText(input.settings, text, /*olderLayoutsAccepted=*/true))
            return QStringLiteral("Could not load profile.");
    }
    if (!iconPath.isEmpty()) {
        QString problem;
        input.icon = IconSource::Load(iconPath, &input.iconVector, &problem);
        if (input.icon.isNull())
            return problem;
    }
    return {};
}

bool IconDrawingRefused(const DesignInput& input) {
    return input.iconVector && input.iconVector->refusedDrawings() > 0;
}
