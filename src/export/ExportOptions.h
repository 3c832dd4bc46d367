#pragma once

#include "design/DesignSettings.h"

#include <QString>

// What an export takes from the output settings besides the sizes: the file name pattern, the
// format and the quality percentage.
struct ExportOptions {
    QString namePattern = QStringLiteral("Icon[Size]");
    int formatIndex = 0;
    float quality = 80.0f;

    // The quality is the number the quality field shows, so a value typed but not yet
    // confirmed is the one exported.
    static ExportOptions FromSettings(const DesignSettings& settings);
};
