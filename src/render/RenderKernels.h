#pragma once

#include "render/RenderKernelTable.h"
#include "support/InstructionSet.h"

// The renderer's hot loops (see RenderKernelTable) in the fastest form this processor runs.
// Both forms give identical pixels.
namespace RenderKernels {

// Selects the form the loops run in, for all threads; false (and nothing changed) when the
// processor lacks it. The best supported form is chosen at start-up; tests and the benchmark
// switch to compare.
bool Use(InstructionSet set);
InstructionSet Current();

const RenderKernelTable& Loops();

} // namespace RenderKernels
