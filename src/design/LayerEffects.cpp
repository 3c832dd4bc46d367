#include "design/LayerEffects.h"

using DesignValues::Layer;

Shadow ShadowOf(const IconDesign& d, Layer layer) {
    switch (layer) {
    case Layer::Background:
        return {d.backgroundShadow, d.backgroundShadowColor, d.backgroundShadowOffset,
                d.backgroundShadowAngle, d.backgroundShadowBlur};
    case Layer::Icon:
        return {d.iconShadow, d.iconShadowColor, d.iconShadowOffset, d.iconShadowAngle,
                d.iconShadowBlur};
    case Layer::Text:
        return {d.textShadow, d.textShadowColor, d.textShadowOffset, d.textShadowAngle,
                d.textShadowBlur};
    case Layer::None:
        break;
    }
    return {};
}

Outline OutlineOf(const IconDesign& d, Layer layer) {
    switch (layer) {
    case Layer::Background:
        return {d.backgroundStroke, d.backgroundStrokeColor, d.backgroundStrokeSize};
    case Layer::Text:
        return {d.textStroke, d.textStrokeColor, d.textStrokeSize};
    case Layer::Icon:
    case Layer::None:
        break;
    }
    return {};
}
