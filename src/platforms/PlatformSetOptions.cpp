#include "platforms/PlatformSetOptions.h"

#include "render/GlyphInk.h"

namespace {

QColor OnWhite(const Rgba& color) {
    const QColor seen = color.toQColor();
    const double alpha = seen.alphaF();
    auto mixed = [alpha](float component) { return component * alpha + (1.0 - alpha); };
    return QColor::fromRgbF(float(mixed(seen.redF())), float(mixed(seen.greenF())),
                            float(mixed(seen.blueF())));
}

} // namespace

PlatformSetOptions MakePlatformSetOptions(const IconDesign& design, const QString& name,
                                          const QString& appName, const Badge& badge) {
    PlatformSetOptions options;
    options.name = name;
    options.design = design;
    options.badge = badge;
    const QString shown = appName.trimmed();
    options.appName = shown.isEmpty() ? name : shown;
    if (!design.transparentBackground) {
        options.themeColor = OnWhite(design.gradientStartColor);
        options.backgroundColor = OnWhite(design.gradientEndColor);
    } else {
        options.themeColor = options.backgroundColor = GlyphInk::Of(design).plate;
    }
    return options;
}
