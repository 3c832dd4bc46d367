#pragma once

#include <array>

// Android's screen densities: the resource folders' suffix and how many pixels a unit (dp) is,
// in quarters, so that every size at every density is a whole number of pixels.
struct AndroidDensity {
    const char* name;
    int quarterPixels;

    constexpr int Pixels(int units) const { return units * quarterPixels / 4; }
};

inline constexpr std::array<AndroidDensity, 5> AndroidDensities{{
    {"mdpi", 4},
    {"hdpi", 6},
    {"xhdpi", 8},
    {"xxhdpi", 12},
    {"xxxhdpi", 16},
}};
