#pragma once

#include "design/DesignSettings.h"
#include "export/OutputSize.h"

#include <QList>
#include <array>

// The three preset icon sets (square sizes in pixels, in the order their files are written,
// matching the order of the check boxes in DesignSettings) and the rule that turns the
// output settings into the list of files an export writes.
namespace SizeSets {

inline constexpr const auto& IosSizes = PresetSizes::Ios;
inline constexpr const auto& WatchSizes = PresetSizes::Watch;
inline constexpr const auto& MacSizes = PresetSizes::Mac;

// The first chosen set wins (iOS, watchOS, macOS, custom) and contributes its checked sizes
// in table order; the custom size is one entry named by the width text as typed. No choice
// gives an empty list.
QList<OutputSize> SizeList(const DesignSettings& settings);

} // namespace SizeSets
