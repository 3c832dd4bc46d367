#include "export/PixelKernels.h"

#include <atomic>

namespace PixelKernels {

namespace {

PixelKernelTable TableFor(InstructionSet set) {
#ifdef SIGILON_AVX2_KERNELS
    if (set == InstructionSet::Avx2)
        return PixelKernelLoops::Avx2Table();
#endif
    (void)set;
    return PixelKernelLoops::BaselineTable();
}

struct Selection {
    std::atomic<InstructionSet> set;
    PixelKernelTable table;
};

Selection& Selected() {
    static Selection selection = [] {
        const InstructionSet best =
            Supported(InstructionSet::Avx2) ? InstructionSet::Avx2 : InstructionSet::Baseline;
        return Selection{best, TableFor(best)};
    }();
    return selection;
}

} // namespace

bool Supported(InstructionSet set) {
    return InstructionSetSupported(set);
}

bool Use(InstructionSet set) {
    if (!Supported(set))
        return false;
    // Switching while loops run elsewhere is the caller's business (tests and the benchmark
    // switch between runs only).
    Selection& selection = Selected();
    selection.table = TableFor(set);
    selection.set = set;
    return true;
}

InstructionSet Current() {
    return Selected().set;
}

void StraightRgba(const std::uint8_t* premultiplied, int width, std::uint8_t* out) {
    Selected().table.straightRgba(premultiplied, width, out);
}

void SubtractBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                   std::uint8_t* out) {
    Selected().table.subtractBytes(a, b, count, out);
}

void AccumulateWeighted(std::int32_t* sums, const std::uint8_t* line, std::int32_t weight,
                        int count) {
    Selected().table.accumulateWeighted(sums, line, weight, count);
}

} // namespace PixelKernels
