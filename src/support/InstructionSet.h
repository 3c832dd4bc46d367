#pragma once

// The instruction sets the hot pixel loops are built for. The binary stays baseline x86-64 (as
// a distribution package must); the loops are built a second time for AVX2 and chosen at run
// time where the processor has it.
enum class InstructionSet { Baseline, Avx2 };

// Whether this build carries loops for that set and this processor can run them.
bool InstructionSetSupported(InstructionSet set);
