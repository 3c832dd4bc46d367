#pragma once

#include "support/InstructionSet.h"

#include <atomic>

// The process-wide choice of one table of hot loops among the forms it is built in: the
// fastest form this processor runs is chosen at start-up; tests and the benchmark switch forms
// between runs to compare them. Include it only from files built for baseline x86-64: its
// inline functions must never be compiled for AVX2 (see RenderKernelTable.h).
template <typename Table> class KernelSelection {
public:
    // `avx2` is null where this build carries no AVX2 form.
    KernelSelection(Table (*baseline)(), Table (*avx2)()) : m_baseline(baseline), m_avx2(avx2) {
        if (!Use(InstructionSet::Avx2))
            Use(InstructionSet::Baseline);
    }

    // Selects the form the loops run in, for all threads; false (and nothing changed) when the
    // processor lacks it. Switching while loops run elsewhere is the caller's business.
    bool Use(InstructionSet set) {
        if (!InstructionSetSupported(set) || (set == InstructionSet::Avx2 && !m_avx2))
            return false;
        m_table = set == InstructionSet::Avx2 ? m_avx2() : m_baseline();
        m_set = set;
        return true;
    }

    InstructionSet Current() const { return m_set; }
    const Table& Loops() const { return m_table; }

private:
    Table (*m_baseline)();
    Table (*m_avx2)();
    std::atomic<InstructionSet> m_set{InstructionSet::Baseline};
    Table m_table{};
};

// The AVX2 table function where this build carries one, else null.
#ifdef SIGILON_AVX2_KERNELS
#define SIGILON_AVX2_TABLE(function) (function)
#else
#define SIGILON_AVX2_TABLE(function) nullptr
#endif
