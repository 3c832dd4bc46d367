#include "support/PixelKernels.h"

#include "support/KernelSelection.h"

namespace PixelKernels {

namespace {

KernelSelection<PixelKernelTable>& Selected() {
    static KernelSelection<PixelKernelTable> selection(
        PixelKernelLoops::BaselineTable, SIGILON_AVX2_TABLE(PixelKernelLoops::Avx2Table));
    return selection;
}

} // namespace

bool Supported(InstructionSet set) {
    return InstructionSetSupported(set);
}

bool Use(InstructionSet set) {
    return Selected().Use(set);
}

InstructionSet Current() {
    return Selected().Current();
}

void StraightRgba(const std::uint8_t* premultiplied, int width, std::uint8_t* out) {
    Selected().Loops().straightRgba(premultiplied, width, out);
}

void StraightRgb(const std::uint8_t* premultiplied, int width, std::uint8_t* out) {
    Selected().Loops().straightRgb(premultiplied, width, out);
}

void SubtractBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                   std::uint8_t* out) {
    Selected().Loops().subtractBytes(a, b, count, out);
}

void AccumulateWeighted(std::int32_t* sums, const std::uint8_t* line, std::int32_t weight,
                        int count) {
    Selected().Loops().accumulateWeighted(sums, line, weight, count);
}

void AddWeightedRow16(std::int32_t* sums, const std::uint16_t* line, std::int32_t weight, int count,
                      bool first, bool last, int shift) {
    Selected().Loops().addWeightedRow16(sums, line, weight, count, first, last, shift);
}

} // namespace PixelKernels
