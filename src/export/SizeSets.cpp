#include "export/SizeSets.h"

#include "design/NumberText.h"

namespace SizeSets {

namespace {

template <std::size_t N>
QList<OutputSize> CheckedSizes(const std::array<int, N>& sizes, const std::array<int, N>& checks) {
    QList<OutputSize> list;
    for (std::size_t i = 0; i < N; ++i) {
        // A check box counts as on in any state but off, the mixed state included.
        if (checks[i] != 0)
            list.append({double(sizes[i]), double(sizes[i]), QString::number(sizes[i])});
    }
    return list;
}

} // namespace

QList<OutputSize> SizeList(const DesignSettings& settings) {
    if (settings.iosIconSet != 0)
        return CheckedSizes(IosSizes, settings.iosSizes);
    if (settings.watchIconSet != 0)
        return CheckedSizes(WatchSizes, settings.watchSizes);
    if (settings.macIconSet != 0)
        return CheckedSizes(MacSizes, settings.macSizes);
    if (settings.customSize != 0)
        return {{LeadingNumberValue(settings.customWidthText),
                 LeadingNumberValue(settings.customHeightText), settings.customWidthText}};
    return {};
}

} // namespace SizeSets
