#include "platforms/MsixAssets.h"

#include <cmath>

namespace MsixAssets {

namespace {

constexpr int Scales[] = {100, 125, 150, 200, 400};
constexpr int TargetSizes[] = {16, 20, 24, 30, 32, 36, 40, 48, 60, 64, 72, 80, 96, 256};

struct Logo {
    const char* name;
    int width; // at scale 100
    int height;
    PlatformVariant variant;
};

constexpr Logo Logos[] = {
    {"Square44x44Logo", 44, 44, PlatformVariant::FullBleed},
    {"Square71x71Logo", 71, 71, PlatformVariant::FullBleed},
    {"Square150x150Logo", 150, 150, PlatformVariant::FullBleed},
    {"Square310x310Logo", 310, 310, PlatformVariant::FullBleed},
    {"StoreLogo", 50, 50, PlatformVariant::FullBleed},
    {"Wide310x150Logo", 310, 150, PlatformVariant::WideTile},
    {"SplashScreen", 620, 300, PlatformVariant::WideTile},
};

int AtScale(int units, int scale) {
    return int(std::lround(units * scale / 100.0));
}

PlannedFile Png(const QString& name, PlatformVariant variant, int width, int height) {
    return PictureFile(QStringLiteral("msix/Assets/") + name + QStringLiteral(".png"), variant,
                       width, height);
}

} // namespace

QList<PlannedFile> Plan() {
    QList<PlannedFile> files;
    for (const Logo& logo : Logos) {
        for (int scale : Scales)
            files.append(Png(QStringLiteral("%1.scale-%2").arg(logo.name).arg(scale), logo.variant,
                             AtScale(logo.width, scale), AtScale(logo.height, scale)));
    }
    // The taskbar and the start menu's list ask for exact pixel sizes: on the tile's plate,
    // and unplated, made legible on the dark taskbar and on the light one.
    const struct {
        const char* suffix;
        PlatformVariant variant;
    } forms[] = {{"", PlatformVariant::FullBleed},
                 {"_altform-unplated", PlatformVariant::DarkGlyphs},
                 {"_altform-lightunplated", PlatformVariant::LightGlyphs}};
    for (const auto& form : forms) {
        for (int pixels : TargetSizes)
            files.append(Png(QStringLiteral("Square44x44Logo.targetsize-%1%2")
                                 .arg(pixels)
                                 .arg(QLatin1String(form.suffix)),
                             form.variant, pixels, pixels));
    }
    return files;
}

} // namespace MsixAssets
