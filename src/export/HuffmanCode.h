#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Canonical prefix codes as deflate stores them: code lengths from symbol counts, and the
// codes those lengths stand for.
namespace HuffmanCode {

// The code length of each symbol for the given counts, none longer than `maxBits`; a symbol
// that does not occur gets no code (length 0). The code is always complete, as decoders
// insist: when only one symbol occurs, a second one gets a code too.
std::vector<std::uint8_t> Lengths(std::span<const std::uint32_t> counts, int maxBits);

// The canonical code of each symbol with those lengths, its bits reversed, as deflate writes
// them into a stream filled from the least significant bit.
std::vector<std::uint16_t> ReversedCodes(std::span<const std::uint8_t> lengths);

} // namespace HuffmanCode
