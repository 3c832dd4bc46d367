#include "render/RenderKernels.h"

#include "support/KernelSelection.h"

namespace RenderKernels {

namespace {

KernelSelection<RenderKernelTable>& Selected() {
    static KernelSelection<RenderKernelTable> selection(
        RenderKernelLoops::BaselineTable, SIGILON_AVX2_TABLE(RenderKernelLoops::Avx2Table));
    return selection;
}

} // namespace

bool Use(InstructionSet set) {
    return Selected().Use(set);
}

InstructionSet Current() {
    return Selected().Current();
}

const RenderKernelTable& Loops() {
    return Selected().Loops();
}

} // namespace RenderKernels
