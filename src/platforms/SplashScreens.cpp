#include "platforms/SplashScreens.h"

#include "platforms/AndroidDensities.h"

namespace SplashScreens {

namespace {

// The largest screen side there is to fill; smaller screens crop the middle of it.
constexpr int ScreenSide = 2732;

// The splash icon is 288 units square.
constexpr int IconUnits = 288;

} // namespace

QList<PlannedFile> Plan() {
    const QString screen = QStringLiteral("splash/splash-%1x%1").arg(ScreenSide);
    QList<PlannedFile> files{
        PictureFile(screen + QStringLiteral(".png"), PlatformVariant::Splash, ScreenSide, 0,
                    PlannedFile::Kind::OpaquePng),
        PictureFile(screen + QStringLiteral("-dark.png"), PlatformVariant::SplashDark, ScreenSide,
                    0, PlannedFile::Kind::OpaquePng),
    };
    for (const AndroidDensity& density : AndroidDensities)
        files.append(
            PictureFile(QStringLiteral("android/res/drawable-%1/splash_icon.png").arg(density.name),
                        PlatformVariant::SplashIcon, density.Pixels(IconUnits)));
    return files;
}

} // namespace SplashScreens
