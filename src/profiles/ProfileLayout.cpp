#include "profiles/ProfileLayout.h"

#include "design/DesignSettings.h"

#include <initializer_list>

std::vector<ProfileLine> CurrentProfileLayout(DesignSettings& record) {
    std::vector<ProfileLine> lines;
    lines.reserve(104);
    const auto number = [&lines](int& value) { lines.push_back(WholeNumberLine{&value}); };
    const auto real = [&lines](float& value) { lines.push_back(RealLine{&value}); };
    const auto text = [&lines](QString& value) { lines.push_back(TextLine{&value}); };
    const auto colour = [&lines](Rgba& value) {
        for (double Rgba::*component : {&Rgba::red, &Rgba::green, &Rgba::blue})
            lines.push_back(ComponentLine{&value, component});
    };

    // Background (lines 1-20)
    number(record.transparentBackground);
    colour(record.gradientStartColor);
    colour(record.gradientEndColor);
    real(record.cornerCurvature);
    number(record.backgroundStroke);
    colour(record.backgroundStrokeColor);
    real(record.backgroundStrokeSize);
    number(record.backgroundShadow);
    colour(record.backgroundShadowColor);
    real(record.backgroundShadowOffset);
    real(record.backgroundShadowAngle);
    real(record.backgroundShadowBlur);

    // Icon image (lines 21-38)
    real(record.iconVerticalOffset);
    text(record.iconVerticalOffsetText);
    real(record.iconHorizontalOffset);
    text(record.iconHorizontalOffsetText);
    number(record.useImageColors);
    colour(record.iconColor);
    real(record.iconScale);
    text(record.iconScaleText);
    real(record.iconRotation);
    number(record.iconShadow);
    colour(record.iconShadowColor);
    real(record.iconShadowOffset);
    real(record.iconShadowAngle);
    real(record.iconShadowBlur);

    // Text (lines 39-61)
    text(record.text);
    real(record.textVerticalOffset);
    text(record.textVerticalOffsetText);
    real(record.textHorizontalOffset);
    text(record.textHorizontalOffsetText);
    colour(record.textColor);
    number(record.fontIndex);
    real(record.fontSize);
    text(record.fontSizeText);
    number(record.textStroke);
    colour(record.textStrokeColor);
    real(record.textStrokeSize);
    number(record.textShadow);
    colour(record.textShadowColor);
    real(record.textShadowOffset);
    real(record.textShadowAngle);
    real(record.textShadowBlur);

    // Size sets and custom size (lines 62-85). The iOS set's first size (20) and its 512 came
    // later and stand at lines 89 and 90; its 1024 closes lines 63-74.
    number(record.iosIconSet);
    for (std::size_t i = 1; i <= 11; ++i)
        number(record.iosSizes[i]);
    number(record.iosSizes[13]);
    number(record.macIconSet);
    for (int& size : record.macSizes)
        number(size);
    number(record.customSize);
    text(record.customWidthText);
    text(record.customHeightText);

    // Format, canvas, the late iOS sizes, quality and names (lines 86-93)
    number(record.iconFormat);
    text(record.canvasWidthText);
    text(record.canvasHeightText);
    number(record.iosSizes[0]);
    number(record.iosSizes[12]);
    text(record.qualityText);
    real(record.quality);
    text(record.namePattern);

    // watchOS set (lines 94-104)
    number(record.watchIconSet);
    for (int& size : record.watchSizes)
        number(size);

    return lines;
}
