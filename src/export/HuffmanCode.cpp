#include "export/HuffmanCode.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace HuffmanCode {

namespace {

// The depth of each leaf in a Huffman tree over weights sorted in ascending order, built
// with two queues: the leaves, and the inner nodes, which are made in ascending order too.
std::vector<int> LeafDepths(const std::vector<std::uint64_t>& sortedWeights) {
    const std::size_t leaves = sortedWeights.size();
    std::vector<std::uint64_t> weight(2 * leaves - 1);
    std::vector<std::size_t> parent(2 * leaves - 1, 0);
    std::copy(sortedWeights.begin(), sortedWeights.end(), weight.begin());
    std::size_t nextLeaf = 0;
    std::size_t nextInner = leaves;
    auto takeLightest = [&](std::size_t made) {
        const bool leaf =
            nextLeaf < leaves && (nextInner == made || weight[nextLeaf] <= weight[nextInner]);
        return leaf ? nextLeaf++ : nextInner++;
    };
    for (std::size_t made = leaves; made < weight.size(); ++made) {
        const std::size_t a = takeLightest(made);
        const std::size_t b = takeLightest(made);
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made;
    }
    // Parents come after their children, so one backward pass gives every depth.
    std::vector<int> depth(weight.size(), 0);
    for (std::size_t node = weight.size() - 1; node-- > 0;)
        depth[node] = depth[parent[node]] + 1;
    depth.resize(leaves);
    return depth;
}

} // namespace

std::vector<std::uint8_t> Lengths(std::span<const std::uint32_t> counts, int maxBits) {
    std::vector<std::uint8_t> lengths(counts.size(), 0);
    std::vector<std::size_t> symbols;
    for (std::size_t s = 0; s < counts.size(); ++s)
        if (counts[s] > 0)
            symbols.push_back(s);
    if (symbols.empty())
        return lengths;
    if (symbols.size() == 1) {
        lengths[symbols[0]] = 1;
        if (counts.size() > 1)
            lengths[symbols[0] == 0 ? 1 : 0] = 1;
        return lengths;
    }
    std::vector<std::uint64_t> weights(symbols.size());
    std::transform(symbols.begin(), symbols.end(), weights.begin(),
                   [&](std::size_t s) { return std::uint64_t(counts[s]); });
    // Too deep a tree is flattened by evening out the weights and building again; with every
    // weight equal the tree is balanced, so this ends for any alphabet deflate uses.
    for (;;) {
        std::vector<std::size_t> order(symbols.size());
        std::iota(order.begin(), order.end(), std::size_t(0));
        // Ties the evening out made are broken by the counts, so a more frequent symbol never
        // ends up with the longer code.
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return weights[a] != weights[b] ? weights[a] < weights[b]
                                            : counts[symbols[a]] < counts[symbols[b]];
        });
        std::vector<std::uint64_t> sorted(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            sorted[i] = weights[order[i]];
        const std::vector<int> depth = LeafDepths(sorted);
        if (*std::max_element(depth.begin(), depth.end()) <= maxBits) {
            for (std::size_t i = 0; i < order.size(); ++i)
                lengths[symbols[order[i]]] = std::uint8_t(depth[i]);
            return lengths;
        }
        for (std::uint64_t& w : weights)
            w = (w + 1) / 2;
    }
}

std::vector<std::uint16_t> ReversedCodes(std::span<const std::uint8_t> lengths) {
    constexpr int MaxBits = 15;
    std::array<std::uint16_t, MaxBits + 1> perLength{};
    for (std::uint8_t length : lengths)
        ++perLength[length];
    perLength[0] = 0;
    std::array<std::uint16_t, MaxBits + 1> next{};
    std::uint16_t code = 0;
    for (int bits = 1; bits <= MaxBits; ++bits) {
        code = std::uint16_t((code + perLength[std::size_t(bits - 1)]) << 1);
        next[std::size_t(bits)] = code;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t s = 0; s < lengths.size(); ++s) {
        const int length = lengths[s];
        if (length == 0)
            continue;
        const std::uint16_t canonical = next[std::size_t(length)]++;
        std::uint16_t reversed = 0;
        for (int bit = 0; bit < length; ++bit)
            reversed = std::uint16_t(reversed | (((canonical >> bit) & 1) << (length - 1 - bit)));
        codes[s] = reversed;
    }
    return codes;
}

} // namespace HuffmanCode
