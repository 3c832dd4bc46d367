#pragma once

#include <cstdint>
#include <vector>

// The fixed-point weights of a scaling along one axis, and the horizontal pass that applies
// them: shared by the scalings of one picture to one size and to many sizes at once.
namespace ScaleWeights {

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;

// For each output index the source indexes it reads and their fixed-point weights, which
// sum to exactly WeightOne.
struct Contributions {
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> offset; // into weights; one more entry than outputs
    std::vector<std::int32_t> weights;

    int Count(int i) const { return offset[i + 1] - offset[i]; }
    const std::int32_t* Weights(int i) const { return weights.data() + offset[i]; }
};

// `in` source pixels to `out` output pixels: the area each output pixel covers when shrinking
// (equal sizes give one weight of one), a Mitchell cubic around its centre when enlarging.
Contributions AxisContributions(int in, int out);

// One row of 4-channel pixels filtered across into `across` (four channels an output pixel):
// `start` plus the weighted pixels, shifted right by `shift`.
void FilterAcross(const std::int32_t* row, const Contributions& columns, std::int32_t start,
                  int shift, std::vector<std::int32_t>& across);

// Source row `k` of output row `row` of a shrinking in linear light (16-bit, four channels a
// pixel) added into that row's `sums` with its weight: the first row sets the sums, so they
// need no zeroing, and the last rounds them from the weights' fixed point to linear light.
void AddLinearRow(std::vector<std::int32_t>& sums, const std::uint16_t* line,
                  const Contributions& rows, int row, int k);

// The rounded sums of one output row of a shrinking in linear light, filtered across into
// `across`.
void FilterLinearRow(const std::vector<std::int32_t>& sums, const Contributions& columns,
                     std::vector<std::int32_t>& across);

} // namespace ScaleWeights
