#pragma once

#include "render/ShadowMask.h"

#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QRgba64>
#include <QTransform>
#include <functional>
#include <memory>

// A layer painted into its own image, over the device pixels where it or its shadow can show,
// with the shadow mask of that image.
struct LayerPicture {
    QRect bounds; // where `pixels` lie on the canvas
    QImage pixels;
    std::shared_ptr<const ShadowMask> mask;
};

// Everything a layer picture depends on. What is painted is a path filled and outlined (the
// text) or an image placed in a rectangle (the icon); the rest says where, on what canvas and
// with how wide a shadow.
struct LayerRecipe {
    QPainterPath path;
    QRgba64 fill = {};
    QRgba64 outline = {};
    double outlineWidth = 0.0;
    qint64 image = 0; // the image's QImage::cacheKey; its rectangle is the content bounds
    QTransform toDevice;
    QRectF contentBounds;
    QSize canvas;
    double sigmaX = 0.0;
    double sigmaY = 0.0;
    QPointF shadowOffset;
};

bool operator==(const LayerRecipe& a, const LayerRecipe& b);

// The picture for `recipe`. While the user edits one layer, the others come out the same
// rendering after rendering: the last two pictures are kept (a rendering has at most two layers
// with shadows), and one asked for again is handed out instead of painting it anew with `paint`.
// Very large pictures are not kept.
LayerPicture KeptLayer(const LayerRecipe& recipe, const std::function<LayerPicture()>& paint);

// While one lives, KeptLayer on its thread also hands out a kept picture for the same layer
// moved, placed on the nearest whole device pixels: up to half a pixel from where the layer
// belongs, without painting and blurring it anew at every step of a drag. For pictures that are
// only looked at while a layer moves, never for one that is saved.
class MovedLayersAllowed {
public:
    MovedLayersAllowed();
    ~MovedLayersAllowed();
    MovedLayersAllowed(const MovedLayersAllowed&) = delete;
    MovedLayersAllowed& operator=(const MovedLayersAllowed&) = delete;

    // Whether one lives on the calling thread.
    static bool Active();

private:
    bool m_before;
};
