#pragma once

#include <cstdint>

// The premultiplied channels (0..255) of a shadow's colour.
struct ShadeColor {
    std::uint32_t alpha;
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
};

// The renderer's hot loops as plain functions over bytes and 0xAARRGGBB premultiplied pixels.
// The same source is built twice, for baseline x86-64 and for AVX2, and RenderKernels picks a
// table at run time. Like the export's table, this header has no inline functions: one built
// for AVX2 could be the copy the linker keeps for baseline callers.
struct RenderKernelTable {
    // One step of a running box sum down many columns: sums += add (when given), out = the
    // box average (sums times a 16.16 reciprocal of the box size, rounded, at most 255), then
    // sums -= subtract (when given).
    void (*boxStep)(std::uint32_t* sums, const std::uint8_t* add, const std::uint8_t* subtract,
                    std::uint32_t reciprocal, std::uint8_t* out, int count);
    // sums[i] += alpha of pixels[i].
    void (*accumulateAlpha)(std::uint32_t* sums, const std::uint32_t* pixels, int count);
    // The shadow (colour times coverage) put beneath the pixels: only their transparent part
    // lets it through.
    void (*shadeBeneath)(std::uint32_t* pixels, const std::uint8_t* coverage,
                         const ShadeColor& shade, int count);
    // A layer (null: a transparent one) over its shadow, cut by the clip's coverage, over the
    // target pixels.
    void (*composeOver)(std::uint32_t* target, const std::uint32_t* layer,
                        const std::uint8_t* shadowCoverage, const std::uint8_t* clip,
                        const ShadeColor& shade, int count);
    // One row of a scaling, filtered across: output i is `start` plus the pixels (four int32
    // channels each) from pixels + 4 * first[i] on, times weights[offsets[i]] up to
    // weights[offsets[i + 1] - 1], shifted right by `shift`; four channels an output in `out`.
    void (*filterAcross)(const std::int32_t* pixels, const std::int32_t* first,
                         const std::int32_t* offsets, const std::int32_t* weights,
                         std::int32_t start, int shift, std::int32_t* out, int count);
    // Four int32 channels a pixel, in the memory order of a native 32-bit ARGB word, as
    // premultiplied pixels: each channel clamped to 0..255, the colours to at most alpha.
    void (*packPremultiplied)(const std::int32_t* channels, std::uint32_t* pixels, int count);
};

namespace RenderKernelLoops {
RenderKernelTable BaselineTable();
RenderKernelTable Avx2Table();
} // namespace RenderKernelLoops
