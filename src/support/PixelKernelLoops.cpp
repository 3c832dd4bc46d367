#include "support/PixelKernelTable.h"

// Built twice (see CMakeLists.txt): PIXEL_KERNEL_TABLE names the table function of each
// build. Everything here has internal linkage and uses no header's inline functions, so no
// code built for one instruction set can stand in for the other's.
#ifndef PIXEL_KERNEL_TABLE
#define PIXEL_KERNEL_TABLE BaselineTable
#endif

namespace {

// 2^16 * 255 / alpha for every alpha (0 for 0): straight colour is premultiplied colour
// times this, in 16.16 fixed point, so no row divides.
struct Reciprocals {
    std::uint32_t ofAlpha[256];
};

constexpr Reciprocals MakeReciprocals() {
    Reciprocals table{};
    for (std::uint32_t alpha = 1; alpha < 256; ++alpha)
        table.ofAlpha[alpha] = (255u << 16) / alpha;
    return table;
}

constexpr Reciprocals kReciprocals = MakeReciprocals();

// One pixel's straight colour, with its alpha when `Channels` is 4.
template <int Channels> void StraightPixel(const std::uint8_t* in, std::uint8_t* out) {
    const std::uint32_t alpha = in[3];
    const std::uint32_t scale = kReciprocals.ofAlpha[alpha];
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t straight = (in[2 - c] * scale + 0x8000u) >> 16;
        out[c] = std::uint8_t(straight > 255u ? 255u : straight);
    }
    if constexpr (Channels == 4)
        out[3] = std::uint8_t(alpha);
}

// Icon artwork is mostly opaque, or transparent around its glyphs: runs of opaque pixels are
// only reordered, in a loop the compiler turns into byte shuffles, and transparent runs are
// zero.
template <int Channels> void StraightPixels(const std::uint8_t* in, int width, std::uint8_t* out) {
    constexpr int Run = 8;
    int x = 0;
    for (; x + Run <= width; x += Run, in += 4 * Run, out += Channels * Run) {
        std::uint32_t all = 255;
        std::uint32_t any = 0;
        for (int k = 0; k < Run; ++k) {
            all &= in[4 * k + 3];
            any |= in[4 * k + 3];
        }
        if (all == 255) {
            for (int k = 0; k < Run; ++k) {
                out[Channels * k] = in[4 * k + 2];
                out[Channels * k + 1] = in[4 * k + 1];
                out[Channels * k + 2] = in[4 * k];
                if constexpr (Channels == 4)
                    out[Channels * k + 3] = 255;
            }
        } else if (any == 0) {
            for (int i = 0; i < Channels * Run; ++i)
                out[i] = 0;
        } else {
            for (int k = 0; k < Run; ++k)
                StraightPixel<Channels>(in + 4 * k, out + Channels * k);
        }
    }
    for (; x < width; ++x, in += 4, out += Channels)
        StraightPixel<Channels>(in, out);
}

void StraightRgba(const std::uint8_t* in, int width, std::uint8_t* out) {
    StraightPixels<4>(in, width, out);
}

void StraightRgb(const std::uint8_t* in, int width, std::uint8_t* out) {
    StraightPixels<3>(in, width, out);
}

void SubtractBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                   std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = std::uint8_t(a[i] - b[i]);
}

void AccumulateWeighted(std::int32_t* sums, const std::uint8_t* line, std::int32_t weight,
                        int count) {
    for (int i = 0; i < count; ++i)
        sums[i] += weight * std::int32_t(line[i]);
}

void AddWeightedRow16(std::int32_t* sums, const std::uint16_t* line, std::int32_t weight, int count,
                      bool first, bool last, int shift) {
    const std::int32_t half = last ? std::int32_t(1) << (shift - 1) : 0;
    if (first && last) {
        for (int i = 0; i < count; ++i)
            sums[i] = (weight * std::int32_t(line[i]) + half) >> shift;
    } else if (first) {
        for (int i = 0; i < count; ++i)
            sums[i] = weight * std::int32_t(line[i]);
    } else if (last) {
        for (int i = 0; i < count; ++i)
            sums[i] = (sums[i] + weight * std::int32_t(line[i]) + half) >> shift;
    } else {
        for (int i = 0; i < count; ++i)
            sums[i] += weight * std::int32_t(line[i]);
    }
}

} // namespace

PixelKernelTable PixelKernelLoops::PIXEL_KERNEL_TABLE() {
    return {StraightRgba, StraightRgb, SubtractBytes, AccumulateWeighted, AddWeightedRow16};
}
