#include "render/KeptLayer.h"

#include "render/LayerMove.h"
#include "render/PathIdentity.h"
#include "support/KeptAnswers.h"

#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr qint64 LargestKeptPixels = qint64(8) << 20;

thread_local bool t_movedLayersAllowed = false;

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
    if (MovedLayersAllowed::Active()) {
        const std::optional<LayerPicture> found =
            kept->FindUsable([&recipe](const LayerRecipe& keptRecipe, const LayerPicture& picture) {
                return keptRecipe == recipe ? std::optional(picture)
                                            : MovedPicture(keptRecipe, picture, recipe);
            });
        if (found)
            return *found;
    }
    return kept->Get(recipe, std::equal_to<>(), paint, [](const LayerPicture& picture) {
        return qint64(picture.pixels.width()) * picture.pixels.height() <= LargestKeptPixels;
    });
}

MovedLayersAllowed::MovedLayersAllowed() : m_before(std::exchange(t_movedLayersAllowed, true)) {}

MovedLayersAllowed::~MovedLayersAllowed() {
    t_movedLayersAllowed = m_before;
}

bool MovedLayersAllowed::Active() {
    return t_movedLayersAllowed;
}
