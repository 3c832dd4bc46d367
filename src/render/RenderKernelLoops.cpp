#include "render/RenderKernelTable.h"

// Built twice (see CMakeLists.txt): RENDER_KERNEL_TABLE names the table function of each
// build. Everything here has internal linkage and uses no header's inline functions, so no
// code built for one instruction set can stand in for the other's. The loops have no
// branches per pixel, so that they vectorise; where a pixel is left alone its arithmetic
// gives it back unchanged.
#ifndef RENDER_KERNEL_TABLE
#define RENDER_KERNEL_TABLE BaselineTable
#endif

namespace {

// x / 255 rounded to the nearest whole number, for x from 0 to 255 * 255.
std::uint32_t Div255(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

std::uint32_t Pack(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return ((a & 0xffu) << 24) | ((r & 0xffu) << 16) | ((g & 0xffu) << 8) | (b & 0xffu);
}

void BoxStep(std::uint32_t* sums, const std::uint8_t* add, const std::uint8_t* subtract,
             std::uint32_t reciprocal, std::uint8_t* out, int count) {
    if (add) {
        for (int i = 0; i < count; ++i)
            sums[i] += add[i];
    }
    for (int i = 0; i < count; ++i) {
        const std::uint32_t average = (sums[i] * reciprocal + 32768u) >> 16;
        out[i] = std::uint8_t(average < 255u ? average : 255u);
    }
    if (subtract) {
        for (int i = 0; i < count; ++i)
            sums[i] -= subtract[i];
    }
}

void AccumulateAlpha(std::uint32_t* sums, const std::uint32_t* pixels, int count) {
    for (int i = 0; i < count; ++i)
        sums[i] += pixels[i] >> 24;
}

void ShadeBeneath(std::uint32_t* pixels, const std::uint8_t* coverage, const ShadeColor& shade,
                  int count) {
    const ShadeColor s = shade;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t visible = Div255(coverage[i] * (255u - (p >> 24)));
        pixels[i] = p + Pack(Div255(s.alpha * visible), Div255(s.red * visible),
                             Div255(s.green * visible), Div255(s.blue * visible));
    }
}

template <bool kHasLayer>
void ComposePixels(std::uint32_t* target, const std::uint32_t* layer,
                   const std::uint8_t* shadowCoverage, const std::uint8_t* clip,
                   const ShadeColor& shade, int count) {
    const ShadeColor s = shade;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t top = kHasLayer ? layer[i] : 0u;
        const std::uint32_t layerAlpha = top >> 24;
        const std::uint32_t visible = Div255(shadowCoverage[i] * (255u - layerAlpha));
        const std::uint32_t c = clip[i];
        // Multiplying by a full clip (255) and dividing by 255 is exact.
        const std::uint32_t a = Div255((layerAlpha + Div255(s.alpha * visible)) * c);
        const std::uint32_t r = Div255((((top >> 16) & 0xffu) + Div255(s.red * visible)) * c);
        const std::uint32_t g = Div255((((top >> 8) & 0xffu) + Div255(s.green * visible)) * c);
        const std::uint32_t b = Div255(((top & 0xffu) + Div255(s.blue * visible)) * c);
        // Source-over: a clear source leaves the target exactly as it was.
        const std::uint32_t keep = 255u - a;
        const std::uint32_t d = target[i];
        target[i] =
            Pack(a, r, g, b) + Pack(Div255((d >> 24) * keep), Div255(((d >> 16) & 0xffu) * keep),
                                    Div255(((d >> 8) & 0xffu) * keep), Div255((d & 0xffu) * keep));
    }
}

// Whether a run of pixels leaves the target as it is: outside the clip, or with neither
// layer nor shadow. The arithmetic gives such pixels back bit for bit, so skipping them changes
// nothing; a layer's box and its shadow's surroundings are mostly such runs.
template <bool kHasLayer>
bool LeavesTargetAlone(const std::uint32_t* layer, const std::uint8_t* shadowCoverage,
                       const std::uint8_t* clip, int count) {
    std::uint32_t drawn = 0;
    std::uint32_t inside = 0;
    for (int i = 0; i < count; ++i) {
        drawn |= shadowCoverage[i] | (kHasLayer ? layer[i] : 0u);
        inside |= clip[i];
    }
    return drawn == 0 || inside == 0;
}

template <bool kHasLayer>
void ComposeOverRow(std::uint32_t* target, const std::uint32_t* layer,
                    const std::uint8_t* shadowCoverage, const std::uint8_t* clip,
                    const ShadeColor& shade, int count) {
    constexpr int Run = 64;
    for (int start = 0; start < count; start += Run) {
        const int length = count - start < Run ? count - start : Run;
        const std::uint32_t* top = kHasLayer ? layer + start : nullptr;
        if (!LeavesTargetAlone<kHasLayer>(top, shadowCoverage + start, clip + start, length))
            ComposePixels<kHasLayer>(target + start, top, shadowCoverage + start, clip + start,
                                     shade, length);
    }
}

void ComposeOver(std::uint32_t* target, const std::uint32_t* layer,
                 const std::uint8_t* shadowCoverage, const std::uint8_t* clip,
                 const ShadeColor& shade, int count) {
    if (layer)
        ComposeOverRow<true>(target, layer, shadowCoverage, clip, shade, count);
    else
        ComposeOverRow<false>(target, layer, shadowCoverage, clip, shade, count);
}

// The four channels of a pixel as one value, so that each step below is one vector
// instruction: the AVX2 build multiplies them in one, the baseline build in a few.
using Channels4 = std::int32_t __attribute__((vector_size(16)));
using Bytes4 = std::uint8_t __attribute__((vector_size(4)));

// The byte of a native 32-bit ARGB word that holds alpha.
constexpr int AlphaChannel = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? 3 : 0;

void FilterAcross(const std::int32_t* pixels, const std::int32_t* first,
                  const std::int32_t* offsets, const std::int32_t* weights, std::int32_t start,
                  int shift, std::int32_t* out, int count) {
    for (int i = 0; i < count; ++i) {
        Channels4 sum = {start, start, start, start};
        const std::int32_t* pixel = pixels + 4 * first[i];
        for (int k = offsets[i]; k < offsets[i + 1]; ++k, pixel += 4) {
            Channels4 value;
            __builtin_memcpy(&value, pixel, sizeof value);
            sum += weights[k] * value;
        }
        sum >>= shift;
        __builtin_memcpy(out + 4 * i, &sum, sizeof sum);
    }
}

// `value` where `take` is all ones, else `otherwise`: a branch-free choice per channel.
Channels4 Choose(Channels4 take, Channels4 value, Channels4 otherwise) {
    return (value & take) | (otherwise & ~take);
}

void PackPremultiplied(const std::int32_t* channels, std::uint32_t* pixels, int count) {
    const Channels4 zero = {0, 0, 0, 0};
    const Channels4 full = {255, 255, 255, 255};
    for (int i = 0; i < count; ++i) {
        Channels4 value;
        __builtin_memcpy(&value, channels + 4 * i, sizeof value);
        value = Choose(value < zero, zero, value);
        value = Choose(value > full, full, value);
        const std::int32_t a = value[AlphaChannel];
        const Channels4 alpha = {a, a, a, a};
        value = Choose(value > alpha, alpha, value);
        const Bytes4 bytes = __builtin_convertvector(value, Bytes4);
        __builtin_memcpy(pixels + i, &bytes, sizeof bytes);
    }
}

} // namespace

RenderKernelTable RenderKernelLoops::RENDER_KERNEL_TABLE() {
    return {BoxStep, AccumulateAlpha, ShadeBeneath, ComposeOver, FilterAcross, PackPremultiplied};
}
