#include "design/KeptLayer.h"

#include "design/PathIdentity.h"

#include <deque>
#include <mutex>

namespace {

constexpr qint64 LargestKeptPixels = qint64(8) << 20;
constexpr std::size_t KeptCount = 2;

struct Kept {
    LayerRecipe recipe;
    LayerPicture picture;
};

} // namespace

bool operator==(const LayerRecipe& a, const LayerRecipe& b) {
    return SamePath(a.path, b.path) && a.fill == b.fill && a.outline == b.outline &&
           a.outlineWidth == b.outlineWidth && a.image == b.image && a.toDevice == b.toDevice &&
           SameRect(a.contentBounds, b.contentBounds) && a.canvas == b.canvas &&
           a.sigmaX == b.sigmaX && a.sigmaY == b.sigmaY &&
           a.shadowOffset.x() == b.shadowOffset.x() && a.shadowOffset.y() == b.shadowOffset.y();
}

LayerPicture KeptLayer(const LayerRecipe& recipe, const std::function<LayerPicture()>& paint) {
    static std::mutex mutex;
    static std::deque<Kept> kept; // the most recently used first
    {
        const std::lock_guard lock(mutex);
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->recipe == recipe) {
                const Kept found = *it;
                kept.erase(it);
                kept.push_front(found);
                return found.picture;
            }
        }
    }
    LayerPicture picture = paint();
    if (qint64(picture.pixels.width()) * picture.pixels.height() <= LargestKeptPixels) {
        const std::lock_guard lock(mutex);
        kept.push_front({recipe, picture});
        if (kept.size() > KeptCount)
            kept.pop_back();
    }
    return picture;
}
