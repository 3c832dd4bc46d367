#include "export/GifEncoder.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <memory>
#include <vector>

namespace GifEncoder {

namespace {

constexpr int MaxSide = 65535;
constexpr int PaletteSize = 256;
// OPTIMIZATION: the quantiser's faster settings keep smooth gradients smooth on icon artwork
// (dithering does the rest) at a fraction of the default time.
constexpr int QuantiserSpeed = 8;
constexpr float DitheringLevel = 1.0f;

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

struct MapDeleter {
    void operator()(ColorMapObject* p) const { GifFreeMapObject(p); }
};

// Straight RGBA with binary alpha: what a GIF pixel can be. Returns whether any pixel is
// transparent.
bool BinaryAlphaPixels(const QImage& image, std::vector<liq_color>& out) {
    bool transparent = false;
    out.resize(std::size_t(image.width()) * std::size_t(image.height()));
    liq_color* target = out.data();
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x, ++target) {
            const QRgb p = row[x];
            const uint alpha = qAlpha(p);
            if (alpha < 128) {
                *target = {0, 0, 0, 0};
                transparent = true;
                continue;
            }
            const QRgb straight = alpha == 255 ? p : qUnpremultiply(p);
            *target = {uchar(qRed(straight)), uchar(qGreen(straight)), uchar(qBlue(straight)), 255};
        }
    }
    return transparent;
}

int AppendToByteArray(GifFileType* gif, const GifByteType* data, int size) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size);
    return size;
}

// Writes the indexed picture; false when giflib reports an error.
bool WriteGif(QByteArray& out, int width, int height, const liq_palette& palette,
              int transparentIndex, std::vector<GifByteType>& indexes) {
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToByteArray, &error);
    if (!gif)
        return false;
    EGifSetGifVersion(gif, true);

    // A colour table holds a power of two entries.
    int tableSize = 2;
    while (tableSize < int(palette.count))
        tableSize *= 2;
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(tableSize, nullptr));
    bool ok = map != nullptr;
    if (ok) {
        for (int i = 0; i < tableSize; ++i) {
            const liq_color c = i < int(palette.count) ? palette.entries[i] : liq_color{};
            map->Colors[i] = {c.r, c.g, c.b};
        }
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = transparentIndex;
        GifByteType extension[4];
        const auto extensionSize = int(EGifGCBToExtension(&control, extension));
        ok = EGifPutScreenDesc(gif, width, height, 8, 0, map.get()) == GIF_OK &&
             EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, extensionSize, extension) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    }
    for (int y = 0; ok && y < height; ++y)
        ok =
            EGifPutLine(gif, indexes.data() + std::size_t(y) * std::size_t(width), width) == GIF_OK;
    const bool closed = EGifCloseFile(gif, &error) == GIF_OK;
    return ok && closed;
}

} // namespace

QByteArray Encode(const QImage& image) {
    if (image.isNull() || image.width() > MaxSide || image.height() > MaxSide)
        return {};
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();

    std::vector<liq_color> rgba;
    const bool hasTransparency = BinaryAlphaPixels(pixels, rgba);

    std::unique_ptr<liq_attr, LiqDeleter> attr(liq_attr_create());
    if (!attr)
        return {};
    liq_set_max_colors(attr.get(), PaletteSize);
    liq_set_speed(attr.get(), QuantiserSpeed);
    std::unique_ptr<liq_image, LiqDeleter> input(
        liq_image_create_rgba(attr.get(), rgba.data(), width, height, 0));
    if (!input)
        return {};
    // The transparent entry must exist even when the quantiser would merge it away.
    if (hasTransparency && liq_image_add_fixed_color(input.get(), {0, 0, 0, 0}) != LIQ_OK)
        return {};
    liq_result* rawResult = nullptr;
    if (liq_image_quantize(input.get(), attr.get(), &rawResult) != LIQ_OK)
        return {};
    std::unique_ptr<liq_result, LiqDeleter> result(rawResult);
    liq_set_dithering_level(result.get(), DitheringLevel);

    std::vector<GifByteType> indexes(rgba.size());
    if (liq_write_remapped_image(result.get(), input.get(), indexes.data(), indexes.size()) !=
        LIQ_OK)
        return {};
    const liq_palette* palette = liq_get_palette(result.get());

    int transparentIndex = NO_TRANSPARENT_COLOR;
    if (hasTransparency) {
        for (int i = 0; i < int(palette->count); ++i) {
            if (palette->entries[i].a < 128) {
                transparentIndex = i;
                break;
            }
        }
    }

    // Dithering must not leak colour into the transparent corners.
    if (transparentIndex != NO_TRANSPARENT_COLOR) {
        for (std::size_t i = 0; i < rgba.size(); ++i) {
            if (rgba[i].a == 0)
                indexes[i] = GifByteType(transparentIndex);
        }
    }

    QByteArray gif;
    if (!WriteGif(gif, width, height, *palette, transparentIndex, indexes))
        return {};
    return gif;
}

} // namespace GifEncoder
