#pragma once

#include "design/DesignSettings.h"
#include "export/OutputSize.h"

#include <QList>
#include <array>

// The three preset icon sets (square sizes in pixels, in the order their files are written,
// matching the order of the check boxes in DesignSettings) and the rule that turns the
// output settings into the list of files an export writes.
namespace SizeSets {

inline constexpr std::array<int, 14> IosSizes{20, 29,  40,  58,  60,  76,  80,
                                              87, 120, 152, 167, 180, 512, 1024};
inline constexpr std::array<int, 10> WatchSizes{32, 36, 40, 48, 55, 58, 87, 88, 172, 196};
inline constexpr std::array<int, 7> MacSizes{16, 32, 64, 128, 256, 512, 1024};

// The first chosen set wins (iOS, watchOS, macOS, custom) and contributes its checked sizes
// in table order; the custom size is one entry named by the width text as typed. No choice
// gives an empty list.
QList<OutputSize> SizeList(const DesignSettings& settings);

} // namespace SizeSets
