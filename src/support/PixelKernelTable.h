#pragma once

#include <cstddef>
#include <cstdint>

// The hot pixel loops of the export, as plain functions over bytes. The same source is built
// twice, once for baseline x86-64 and once for AVX2, and PixelKernels picks a table at run
// time. This header stays free of inline functions: an inline function built for AVX2 could be
// the copy the linker keeps for baseline callers too.
struct PixelKernelTable {
    // One row of premultiplied ARGB32 (native byte order) as straight R, G, B, A bytes.
    void (*straightRgba)(const std::uint8_t* premultiplied, int width, std::uint8_t* out);
    // The same as R, G, B bytes, the alpha left out.
    void (*straightRgb)(const std::uint8_t* premultiplied, int width, std::uint8_t* out);
    // out[i] = a[i] - b[i], modulo 256.
    void (*subtractBytes)(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                          std::uint8_t* out);
    // sums[i] += weight * line[i].
    void (*accumulateWeighted)(std::int32_t* sums, const std::uint8_t* line, std::int32_t weight,
                               int count);
    // The same over 16-bit values (sums stay in range while the weights add up to 2^14),
    // where the first row of a sum sets it (no zeroing beforehand) and the last rounds away
    // `shift` fractional bits: sums[i] = (sums[i] + weight * line[i] + 2^(shift-1)) >> shift.
    void (*addWeightedRow16)(std::int32_t* sums, const std::uint16_t* line, std::int32_t weight,
                             int count, bool first, bool last, int shift);
};

namespace PixelKernelLoops {
PixelKernelTable BaselineTable();
PixelKernelTable Avx2Table();
} // namespace PixelKernelLoops
