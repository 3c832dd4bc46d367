#include "export/ExportOptions.h"

#include "design/NumberText.h"

ExportOptions ExportOptions::FromSettings(const DesignSettings& settings) {
    return {settings.namePattern, settings.iconFormat,
            float(LeadingNumberValue(settings.qualityText))};
}
