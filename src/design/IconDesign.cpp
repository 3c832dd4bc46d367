#include "design/IconDesign.h"

#include "design/DesignSettings.h"
#include "design/DesignValues.h"
#include "design/NumberText.h"

#include <cmath>

namespace {

float CanvasSide(const QString& text) {
    const double value = LeadingNumberValue(text);
    if (!(value >= 1.0)) // also catches NaN
        return 1.0f;
    return static_cast<float>(std::min(value, double(DesignValues::LargestSide)));
}

} // namespace

IconDesign MakeIconDesign(const DesignSettings& s, const QImage& iconImage,
                          std::shared_ptr<const SvgImage> iconVector) {
    IconDesign d;
    d.transparentBackground = s.transparentBackground != 0;
    d.gradientStartColor = s.gradientStartColor;
    d.gradientEndColor = s.gradientEndColor;
    d.cornerCurvature = s.cornerCurvature;
    d.canvasWidth = CanvasSide(s.canvasWidthText);
    d.canvasHeight = CanvasSide(s.canvasHeightText);
    d.backgroundStroke = s.backgroundStroke != 0;
    d.backgroundStrokeSize = s.backgroundStrokeSize;
    d.backgroundStrokeColor = s.backgroundStrokeColor;
    d.backgroundShadow = s.backgroundShadow != 0;
    d.backgroundShadowColor = s.backgroundShadowColor;
    d.backgroundShadowOffset = s.backgroundShadowOffset;
    d.backgroundShadowAngle = s.backgroundShadowAngle;
    d.backgroundShadowBlur = s.backgroundShadowBlur;
    d.iconImage = iconImage;
    d.iconVector = std::move(iconVector);
    d.iconVerticalOffset = s.iconVerticalOffset;
    d.iconHorizontalOffset = s.iconHorizontalOffset;
    d.iconRotation = s.iconRotation;
    d.useImageColors = s.useImageColors != 0;
    d.iconColor = s.iconColor;
    d.iconScale = s.iconScale;
    d.iconShadow = s.iconShadow != 0;
    d.iconShadowColor = s.iconShadowColor;
    d.iconShadowOffset = s.iconShadowOffset;
    d.iconShadowAngle = s.iconShadowAngle;
    d.iconShadowBlur = s.iconShadowBlur;
    d.text = s.text;
    d.textVerticalOffset = s.textVerticalOffset;
    d.textHorizontalOffset = s.textHorizontalOffset;
    d.fontIndex = s.fontIndex;
    d.fontSize = s.fontSize;
    d.textColor = s.textColor;
    d.textShadow = s.textShadow != 0;
    d.textShadowColor = s.textShadowColor;
    d.textShadowOffset = s.textShadowOffset;
    d.textShadowAngle = s.textShadowAngle;
    d.textShadowBlur = s.textShadowBlur;
    d.textStroke = s.textStroke != 0;
    d.textStrokeColor = s.textStrokeColor;
    d.textStrokeSize = s.textStrokeSize;
    return d;
}
