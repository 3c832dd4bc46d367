#pragma once

#include "design/DesignSettings.h"
#include "render/BadgeArt.h"

#include <QString>

// What an export takes from the output settings besides the sizes: the file name pattern, the
// format and the quality percentage; and the badge drawn over every size and where it goes,
// which are the export's own and never settings.
struct ExportOptions {
    QString namePattern = QStringLiteral("Icon[Size]");
    int formatIndex = 0;
    float quality = 80.0f;
    Badge badge = {};
    // In a picture 1 wide and 1 high (see BadgeArea::OfDesign).
    BadgeArea badgeArea = {QRectF(0, 0, 1, 1), 0.0};

    // The quality is the number the quality field shows, so a value typed but not yet
    // confirmed is the one exported.
    static ExportOptions FromSettings(const DesignSettings& settings);
};
