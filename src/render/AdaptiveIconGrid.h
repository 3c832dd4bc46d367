#pragma once

// Android's adaptive launcher icons: the layers are 108 units wide, the launcher shows at most
// their central 72 through its mask, and every mask shape keeps the central circle of 66 whole.
namespace AdaptiveIconGrid {

constexpr double kLayerUnits = 108.0;
constexpr double kViewportUnits = 72.0;
constexpr double kSafeCircleUnits = 66.0;

// The share of a layer's side the launcher shows.
constexpr double kViewportShare = kViewportUnits / kLayerUnits;
// The share of the shown side that the safe circle's diameter takes.
constexpr double kSafeCircleShare = kSafeCircleUnits / kViewportUnits;

} // namespace AdaptiveIconGrid
