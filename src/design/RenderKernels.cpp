#include "design/RenderKernels.h"

#include <atomic>

namespace RenderKernels {

namespace {

RenderKernelTable TableFor(InstructionSet set) {
#ifdef SIGILON_AVX2_KERNELS
    if (set == InstructionSet::Avx2)
        return RenderKernelLoops::Avx2Table();
#endif
    (void)set;
    return RenderKernelLoops::BaselineTable();
}

struct Selection {
    std::atomic<InstructionSet> set;
    RenderKernelTable table;
};

Selection& Selected() {
    static Selection selection = [] {
        const InstructionSet best = InstructionSetSupported(InstructionSet::Avx2)
                                        ? InstructionSet::Avx2
                                        : InstructionSet::Baseline;
        return Selection{best, TableFor(best)};
    }();
    return selection;
}

} // namespace

bool Use(InstructionSet set) {
    if (!InstructionSetSupported(set))
        return false;
    // Switching while a rendering runs elsewhere is the caller's business (tests and the
    // benchmark switch between renderings only).
    Selection& selection = Selected();
    selection.table = TableFor(set);
    selection.set = set;
    return true;
}

InstructionSet Current() {
    return Selected().set;
}

const RenderKernelTable& Loops() {
    return Selected().table;
}

} // namespace RenderKernels
