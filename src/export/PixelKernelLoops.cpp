#include "export/PixelKernelTable.h"

// Built twice (see CMakeLists.txt): PIXEL_KERNEL_TABLE names the table function of each
// build. Everything here has internal linkage and uses no header's inline functions, so no
// code built for one instruction set can stand in for the other's.
#ifndef PIXEL_KERNEL_TABLE
#define PIXEL_KERNEL_TABLE BaselineTable
#endif

namespace {

// Written without branches on the pixel value so that the compiler vectorises the loop;
// division in single precision rounds the same way on every instruction set.
void StraightRgba(const std::uint8_t* in, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
        const float alpha = float(in[3]);
        const float scale = in[3] ? 255.0f / alpha : 0.0f;
        for (int c = 0; c < 3; ++c) {
            const float straight = float(in[2 - c]) * scale + 0.5f;
            out[c] = std::uint8_t(straight > 255.0f ? 255.0f : straight);
        }
        out[3] = in[3];
    }
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

} // namespace

PixelKernelTable PixelKernelLoops::PIXEL_KERNEL_TABLE() {
    return {StraightRgba, SubtractBytes, AccumulateWeighted};
}
