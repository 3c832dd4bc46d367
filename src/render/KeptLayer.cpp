#include "render/KeptLayer.h"

#include "render/PathIdentity.h"
#include "support/KeptAnswers.h"

#include <functional>

namespace {

constexpr qint64 LargestKeptPixels = qint64(8) << 20;

} // namespace

bool operator==(const LayerRecipe& a, const LayerRecipe& b) {
    return SamePath(a.path, b.path) && a.fill == b.fill && a.outline == b.outline &&
           a.outlineWidth == b.outlineWidth && a.image == b.image && a.toDevice == b.toDevice &&
           SameRect(a.contentBounds, b.contentBounds) && a.canvas == b.canvas &&
           a.sigmaX == b.sigmaX && a.sigmaY == b.sigmaY &&
           a.shadowOffset.x() == b.shadowOffset.x() && a.shadowOffset.y() == b.shadowOffset.y();
}

LayerPicture KeptLayer(const LayerRecipe& recipe, const std::function<LayerPicture()>& paint) {
    // A rendering has at most two layers with shadows.
    static auto* kept = new KeptAnswers<LayerRecipe, LayerPicture, 2>;
    return kept->Get(recipe, std::equal_to<>(), paint, [](const LayerPicture& picture) {
        return qint64(picture.pixels.width()) * picture.pixels.height() <= LargestKeptPixels;
    });
}
