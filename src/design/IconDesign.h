#pragma once

#include "design/Rgba.h"

#include <QImage>
#include <QString>

#include <memory>

class SvgImage;

struct DesignSettings;

// The design at one moment, as the renderer sees it. Angles are in degrees, lengths and
// offsets in canvas units with y pointing up, the icon scale in percent.
struct IconDesign {
    bool transparentBackground = false;
    Rgba gradientStartColor{0.0, 128.0 / 255.0, 1.0, 1.0};
    Rgba gradientEndColor{0.0, 64.0 / 255.0, 128.0 / 255.0, 1.0};
    float cornerCurvature = 0.2f;
    float canvasWidth = 1024.0f;
    float canvasHeight = 1024.0f;
    bool backgroundStroke = true;
    float backgroundStrokeSize = 40.0f;
    Rgba backgroundStrokeColor{1.0, 1.0, 1.0, 1.0};
    bool backgroundShadow = true;
    Rgba backgroundShadowColor{0.0, 0.0, 0.0, 1.0};
    float backgroundShadowOffset = 5.0f;
    double backgroundShadowAngle = 270.0;
    float backgroundShadowBlur = 15.0f;
    QImage iconImage; // size in units equals its size in pixels; null when none is loaded
    // An SVG icon image, drawn from this at the resolution it is placed at; at 100 % its area
    // fits inside the canvas. `iconImage` then holds its thumbnail.
    std::shared_ptr<const SvgImage> iconVector;
    float iconVerticalOffset = 0.0f;
    float iconHorizontalOffset = 0.0f;
    float iconRotation = 0.0f;
    bool useImageColors = true;
    Rgba iconColor{1.0, 1.0, 1.0, 1.0};
    float iconScale = 100.0f;
    bool iconShadow = false;
    Rgba iconShadowColor{0.0, 0.0, 0.0, 1.0};
    float iconShadowOffset = 20.0f;
    double iconShadowAngle = 315.0;
    double iconShadowBlur = 15.0;
    QString text;
    float textVerticalOffset = 40.0f;
    float textHorizontalOffset = 0.0f;
    int fontIndex = 12;
    float fontSize = 800.0f;
    Rgba textColor{1.0, 1.0, 1.0, 1.0};
    bool textShadow = true;
    Rgba textShadowColor{0.0, 0.0, 0.0, 1.0};
    float textShadowOffset = 10.0f;
    double textShadowAngle = 315.0;
    float textShadowBlur = 10.0f;
    bool textStroke = false;
    Rgba textStrokeColor{0.0, 0.0, 0.0, 1.0};
    float textStrokeSize = 1.0f;
};

// The design that the settings describe, with the given icon image. A flag is on in any state
// other than off; the canvas size is the numeric value of its text field, kept within 1 to
// 10000 so that a hand-edited profile can never ask the renderer for an empty or huge canvas.
IconDesign MakeIconDesign(const DesignSettings& settings, const QImage& iconImage,
                          std::shared_ptr<const SvgImage> iconVector = {});
