#include "platforms/SplashScreens.h"

#include <array>

namespace SplashScreens {

namespace {

// The largest screen side there is to fill; smaller screens crop the middle of it.
constexpr int ScreenSide = 2732;

struct Density {
    const char* name;
    int scale; // pixels per 4 units (dp)
};

constexpr std::array<Density, 5> Densities{{
    {"mdpi", 4},
    {"hdpi", 6},
    {"xhdpi", 8},
    {"xxhdpi", 12},
    {"xxxhdpi", 16},
}};

// The splash icon is 288 units square.
constexpr int IconUnits = 288;

} // namespace

QList<PlannedFile> Plan() {
    const QString screen = QStringLiteral("splash/splash-%1x%1").arg(ScreenSide);
    QList<PlannedFile> files{
        {screen + QStringLiteral(".png"),
         PlannedFile::Kind::OpaquePng,
         {{PlatformVariant::Splash, ScreenSide}},
         {}},
        {screen + QStringLiteral("-dark.png"),
         PlannedFile::Kind::OpaquePng,
         {{PlatformVariant::SplashDark, ScreenSide}},
         {}},
    };
    for (const Density& density : Densities)
        files.append({QStringLiteral("android/res/drawable-%1/splash_icon.png").arg(density.name),
                      PlannedFile::Kind::Png,
                      {{PlatformVariant::SplashIcon, IconUnits * density.scale / 4}},
                      {}});
    return files;
}

} // namespace SplashScreens
