#pragma once

#include "support/InstructionSet.h"
#include "support/PixelKernelTable.h"

// The export's pixel loops in the fastest form this processor runs: AVX2 where it has it,
// baseline x86-64 elsewhere. Both forms give identical bytes.
namespace PixelKernels {

using InstructionSet = ::InstructionSet;

// Whether this processor can run that form.
bool Supported(InstructionSet set);

// Selects the form the loops below run in, for all threads; false (and nothing changed) when
// the processor lacks it. The best supported form is chosen at start-up; tests and the
// benchmark switch to compare.
bool Use(InstructionSet set);
InstructionSet Current();

void StraightRgba(const std::uint8_t* premultiplied, int width, std::uint8_t* out);
void StraightRgb(const std::uint8_t* premultiplied, int width, std::uint8_t* out);
void SubtractBytes(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                   std::uint8_t* out);
void AccumulateWeighted(std::int32_t* sums, const std::uint8_t* line, std::int32_t weight,
                        int count);
void AddWeightedRow16(std::int32_t* sums, const std::uint16_t* line, std::int32_t weight, int count,
                      bool first, bool last, int shift);

} // namespace PixelKernels
