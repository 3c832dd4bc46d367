#pragma once

#include "design/DesignSettings.h"

#include <tuple>

// Settings in which every value differs from the default and from every other value of its
// kind, each one a control can show, so code that shows, saves or reads one setting in place of
// another is caught.
inline DesignSettings EveryValueChanged() {
    DesignSettings s;
    // Colour components are distinct multiples of 1/32, which a profile stores exactly (but
    // for the one set below).
    int component = 0;
    const auto next = [&component] { return ++component / 32.0; };
    for (Rgba* color : {&s.gradientStartColor, &s.gradientEndColor, &s.backgroundStrokeColor,
                        &s.backgroundShadowColor, &s.iconColor, &s.iconShadowColor, &s.textColor,
                        &s.textStrokeColor, &s.textShadowColor})
        *color = {next(), next(), next(), 1.0};
    s.gradientEndColor = Rgba{0.1, 0.2, 0.3, 1.0}; // not a multiple of 1/255
    float value = 60.0f;
    for (float* real :
         {&s.backgroundStrokeSize, &s.backgroundShadowOffset, &s.backgroundShadowAngle,
          &s.backgroundShadowBlur, &s.iconRotation, &s.iconShadowOffset, &s.iconShadowAngle,
          &s.iconShadowBlur, &s.textShadowOffset, &s.textShadowAngle, &s.textShadowBlur})
        *real = ++value;
    // A field's text and its stepper's value go together.
    for (const auto& [real, text, number] :
         {std::tuple{&s.iconVerticalOffset, &s.iconVerticalOffsetText, -71},
          {&s.iconHorizontalOffset, &s.iconHorizontalOffsetText, 72},
          {&s.iconScale, &s.iconScaleText, 73},
          {&s.textVerticalOffset, &s.textVerticalOffsetText, -81},
          {&s.textHorizontalOffset, &s.textHorizontalOffsetText, 82},
          {&s.fontSize, &s.fontSizeText, 83},
          {&s.quality, &s.qualityText, 57}}) {
        *real = float(number);
        *text = QString::number(number);
    }
    for (int* on : {&s.transparentBackground, &s.iconShadow, &s.textStroke, &s.iosIconSet,
                    &s.watchIconSet, &s.customSize})
        *on = 1;
    for (int* off : {&s.backgroundShadow, &s.useImageColors, &s.textShadow, &s.macIconSet})
        *off = 0;
    s.backgroundStroke = -1;               // mixed
    s.cornerCurvature = 0.123456f;         // between two slider positions, kept exactly
    s.text = QString(40000, u'W') + "end"; // longer than a line edit holds by default
    s.fontIndex = 5;
    s.textStrokeSize = 8.5f;
    s.canvasWidthText = QStringLiteral("640");
    s.canvasHeightText = QStringLiteral("480");
    // Off and mixed in turn, so two neighbouring boxes that swapped their values show.
    const auto alternate = [](auto& sizes, int even, int odd) {
        for (std::size_t i = 0; i < sizes.size(); ++i)
            sizes[i] = i % 2 ? odd : even;
    };
    alternate(s.iosSizes, 0, -1);
    alternate(s.watchSizes, -1, 0);
    alternate(s.macSizes, 0, -1);
    s.customWidthText = QStringLiteral("320");
    s.customHeightText = QStringLiteral("240");
    s.iconFormat = 2; // takes a quality
    s.namePattern = QString(33000, u'n') + "[Size]";
    return s;
}
