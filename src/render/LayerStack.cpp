#include "render/LayerStack.h"

using DesignValues::Layer;

namespace {

StackedLayer BackgroundLayer(const IconDesign& design, const DesignGeometry::Frame& frame) {
    StackedLayer layer;
    layer.part = Layer::Background;
    layer.rect = frame.background;
    // Its shadow is cast by the whole picture (LayerStack::beneath), not by the background alone.
    layer.outline = OutlineOf(design, Layer::Background);
    layer.outline.on = !frame.outlinePath.isEmpty();
    layer.outline.size = frame.stroke;
    return layer;
}

// Icon and text lie inside the background: it cuts them and their shadows.
StackedLayer GlyphLayer(const IconDesign& design, Layer part, bool withShadow) {
    StackedLayer layer;
    layer.part = part;
    layer.shadow = ShadowOf(design, part);
    layer.shadow.on = layer.shadow.on && withShadow;
    layer.outline = OutlineOf(design, part);
    layer.clippedToBackground = true;
    return layer;
}

bool HasIconImage(const IconDesign& design) {
    return (design.iconVector || !design.iconImage.isNull()) &&
           !DesignGeometry::IconSize(design).isEmpty();
}

} // namespace

LayerStack StackOf(const IconDesign& design, const RenderOptions& options) {
    using Layers = RenderOptions::Layers;
    const bool drawBackground = options.layers != Layers::Glyphs;
    const bool drawGlyphs = options.layers != Layers::Background;
    // A layer drawn on its own is drawn full bleed, so that the layers laid over each other
    // give the full-bleed picture.
    const bool fullBleed = options.fullBleed || options.layers != Layers::All;

    LayerStack stack;
    stack.frame = DesignGeometry::FrameOf(design, fullBleed, drawBackground);
    const DesignGeometry::Frame& frame = stack.frame;
    if (drawBackground && frame.opaqueBackground)
        stack.layers.push_back(BackgroundLayer(design, frame));

    if (drawGlyphs && HasIconImage(design)) {
        StackedLayer icon = GlyphLayer(design, Layer::Icon, options.glyphShadows);
        icon.rect = DesignGeometry::IconRect(design, frame, DesignGeometry::IconSize(design));
        stack.layers.push_back(std::move(icon));
    }

    if (drawGlyphs && !design.text.isEmpty()) {
        // The text's own shadow always replaces the icon's; a text without shadow has none.
        StackedLayer text = GlyphLayer(design, Layer::Text, options.glyphShadows);
        text.text = DesignGeometry::TextOf(design, frame, text.shadow);
        text.outline.on = text.text.strokeWidth > 0.0;
        text.outline.size = text.text.strokeWidth;
        if (!text.text.glyphs.isEmpty())
            stack.layers.push_back(std::move(text));
    }

    stack.beneath = ShadowOf(design, Layer::Background);
    stack.beneath.on = frame.backgroundShadow;
    return stack;
}
