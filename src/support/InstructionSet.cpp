#include "support/InstructionSet.h"

bool InstructionSetSupported(InstructionSet set) {
#ifdef SIGILON_AVX2_KERNELS
    if (set == InstructionSet::Avx2)
        return __builtin_cpu_supports("avx2");
#endif
    return set == InstructionSet::Baseline;
}
