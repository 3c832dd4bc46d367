#include "export/PixelRunDeflate.h"

#include "export/HuffmanCode.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Tokens below this are literal bytes; from it on, a repeat of (token - Repeat) bytes.
constexpr std::uint16_t Repeat = 256;
constexpr int EndOfBlock = 256;
constexpr int MaxCodeBits = 15;
constexpr int MaxCodeLengthBits = 7;
constexpr std::size_t MinRepeat = 3;
constexpr std::size_t MaxRepeat = 258;
// Tokens per block: enough that a block's code table costs little, few enough that the table
// follows the artwork as it changes down the picture.
constexpr std::size_t BlockTokens = 1u << 16;

// A repeat length's symbol (257 to 285) and the extra bits that follow it.
struct LengthCode {
    std::uint16_t symbol = 0;
    std::uint8_t extraBits = 0;
    std::uint16_t extra = 0;
};

struct LengthCodes {
    std::array<LengthCode, MaxRepeat + 1> byLength{};

    LengthCodes() {
        static constexpr std::array<std::uint16_t, 29> base{
            3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr std::array<std::uint8_t, 29> extraBits{
            0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (std::size_t code = 0; code < base.size(); ++code) {
            const std::size_t end = code + 1 < base.size() ? base[code + 1] : MaxRepeat + 1;
            for (std::size_t length = base[code]; length < end; ++length)
                byLength[length] = {std::uint16_t(257 + code), extraBits[code],
                                    std::uint16_t(length - base[code])};
        }
    }
};

const LengthCodes& Lengths() {
    static const LengthCodes codes;
    return codes;
}

// How many bytes from `at` on equal those `distance` before them, at most `limit`.
std::size_t RepeatLength(const std::uint8_t* at, std::size_t distance, std::size_t limit) {
    const std::uint8_t* before = at - distance;
    std::size_t n = 0;
    while (n + 8 <= limit) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, at + n, 8);
        std::memcpy(&b, before + n, 8);
        if (a != b)
            return n + std::size_t(std::countr_zero(a ^ b) / 8);
        n += 8;
    }
    while (n < limit && at[n] == before[n])
        ++n;
    return n;
}

// The code lengths of the literal/length and distance codes as a block header stores them:
// runs of one length as the repeat symbols 16, 17 and 18 with their extra bits.
struct CodeLengthSymbol {
    std::uint8_t symbol;
    std::uint8_t extra;
};

std::vector<CodeLengthSymbol> RunLengthCoded(const std::vector<std::uint8_t>& lengths) {
    std::vector<CodeLengthSymbol> coded;
    for (std::size_t i = 0; i < lengths.size();) {
        const std::uint8_t length = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == length)
            ++run;
        i += run;
        if (length == 0) {
            for (; run >= 11; run -= std::min<std::size_t>(run, 138))
                coded.push_back({18, std::uint8_t(std::min<std::size_t>(run, 138) - 11)});
            if (run >= 3) {
                coded.push_back({17, std::uint8_t(run - 3)});
                run = 0;
            }
        } else {
            coded.push_back({length, 0});
            --run;
            for (; run >= 3; run -= std::min<std::size_t>(run, 6))
                coded.push_back({16, std::uint8_t(std::min<std::size_t>(run, 6) - 3)});
        }
        for (; run > 0; --run)
            coded.push_back({length, 0});
    }
    return coded;
}

struct Bits {
    std::uint32_t bits;
    std::uint8_t count;
};

} // namespace

void PixelRunDeflate::BitStream::Reserve(std::size_t bytes) {
    if (m_bytes.size() - m_used < bytes)
        m_bytes.resize(m_used + bytes + m_bytes.size() / 2);
}

void PixelRunDeflate::BitStream::Put(std::uint32_t bits, int count) {
    m_buffer |= std::uint64_t(bits) << m_count;
    m_count += count;
    if (m_count >= 32) {
        qToLittleEndian(quint32(m_buffer), m_bytes.data() + m_used);
        m_used += 4;
        m_buffer >>= 32;
        m_count -= 32;
    }
}

void PixelRunDeflate::BitStream::AlignToByte() {
    Reserve(8);
    for (; m_count > 0; m_count -= 8) {
        m_bytes[m_used++] = std::uint8_t(m_buffer);
        m_buffer >>= 8;
    }
    m_buffer = 0;
    m_count = 0;
}

QByteArray PixelRunDeflate::BitStream::Take() {
    QByteArray bytes(reinterpret_cast<const char*>(m_bytes.data()), qsizetype(m_used));
    m_bytes.clear();
    m_used = 0;
    return bytes;
}

PixelRunDeflate::PixelRunDeflate(int pixelBytes) : m_pixelBytes(std::clamp(pixelBytes, 1, 4)) {
    m_tokens.reserve(BlockTokens + MaxRepeat);
}

void PixelRunDeflate::Add(const std::uint8_t* data, std::size_t size) {
    const std::size_t distance = std::size_t(m_pixelBytes);
    for (std::size_t i = 0; i < size;) {
        const std::size_t repeat = i >= distance ? RepeatLength(data + i, distance, size - i) : 0;
        if (repeat >= MinRepeat) {
            AddRepeat(repeat);
            i += repeat;
        } else {
            m_tokens.push_back(data[i]);
            ++m_symbolCounts[data[i]];
            ++i;
        }
        if (m_tokens.size() >= BlockTokens)
            WriteBlock(false);
    }
}

void PixelRunDeflate::AddRepeat(std::size_t length) {
    while (length > 0) {
        // No piece may be shorter than the shortest repeat deflate has.
        std::size_t piece = std::min(length, MaxRepeat);
        if (length > piece && length - piece < MinRepeat)
            piece = length - MinRepeat;
        m_tokens.push_back(std::uint16_t(Repeat + piece));
        ++m_symbolCounts[Lengths().byLength[piece].symbol];
        length -= piece;
    }
}

QByteArray PixelRunDeflate::Finish(bool last) {
    WriteBlock(last);
    if (!last) {
        // An empty stored block: three header bits, then byte-aligned lengths 0 and ~0.
        m_out.Put(0, 3);
        m_out.AlignToByte();
        m_out.Put(0xFFFF0000u, 32);
    }
    m_out.AlignToByte();
    return m_out.Take();
}

void PixelRunDeflate::WriteBlock(bool final) {
    ++m_symbolCounts[EndOfBlock];
    const std::vector<std::uint8_t> symbolLengths =
        HuffmanCode::Lengths(m_symbolCounts, MaxCodeBits);
    const std::vector<std::uint16_t> symbolCodes = HuffmanCode::ReversedCodes(symbolLengths);
    // Every repeat has the same distance, whose code has no extra bits; a second one-bit
    // distance code keeps that code complete.
    const std::size_t distanceCode = std::size_t(m_pixelBytes - 1);
    std::vector<std::uint8_t> distanceLengths(std::max<std::size_t>(distanceCode, 1) + 1, 0);
    distanceLengths[distanceCode] = 1;
    distanceLengths[distanceCode == 0 ? 1 : 0] = 1;
    const std::uint16_t distanceBits = HuffmanCode::ReversedCodes(distanceLengths)[distanceCode];

    std::size_t literalCount = 286;
    while (literalCount > 257 && symbolLengths[literalCount - 1] == 0)
        --literalCount;
    std::vector<std::uint8_t> allLengths(symbolLengths.begin(),
                                         symbolLengths.begin() + std::ptrdiff_t(literalCount));
    allLengths.insert(allLengths.end(), distanceLengths.begin(), distanceLengths.end());
    const std::vector<CodeLengthSymbol> header = RunLengthCoded(allLengths);
    std::array<std::uint32_t, 19> headerCounts{};
    for (const CodeLengthSymbol& s : header)
        ++headerCounts[s.symbol];
    const std::vector<std::uint8_t> headerLengths =
        HuffmanCode::Lengths(headerCounts, MaxCodeLengthBits);
    const std::vector<std::uint16_t> headerCodes = HuffmanCode::ReversedCodes(headerLengths);
    static constexpr std::array<std::uint8_t, 19> headerOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::size_t headerLengthCount = 19;
    while (headerLengthCount > 4 && headerLengths[headerOrder[headerLengthCount - 1]] == 0)
        --headerLengthCount;

    // The header: at most 19 three-bit lengths and 320 coded lengths of up to 14 bits.
    m_out.Reserve(1024);
    m_out.Put(final ? 1 : 0, 1);
    m_out.Put(2, 2); // dynamic Huffman codes
    m_out.Put(std::uint32_t(literalCount - 257), 5);
    m_out.Put(std::uint32_t(distanceLengths.size() - 1), 5);
    m_out.Put(std::uint32_t(headerLengthCount - 4), 4);
    for (std::size_t i = 0; i < headerLengthCount; ++i)
        m_out.Put(headerLengths[headerOrder[i]], 3);
    static constexpr std::array<int, 19> headerExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                         0, 0, 0, 0, 0, 0, 2, 3, 7};
    for (const CodeLengthSymbol& s : header) {
        m_out.Put(headerCodes[s.symbol], headerLengths[s.symbol]);
        m_out.Put(s.extra, headerExtraBits[s.symbol]);
    }

    // Every token's bits in one: a literal's code, or a repeat's length code, its extra bits
    // and the distance code.
    std::array<Bits, Repeat + MaxRepeat + 1> tokenBits{};
    for (std::size_t byte = 0; byte < Repeat; ++byte)
        tokenBits[byte] = {symbolCodes[byte], symbolLengths[byte]};
    const LengthCodes& lengths = Lengths();
    for (std::size_t length = MinRepeat; length <= MaxRepeat; ++length) {
        const LengthCode& code = lengths.byLength[length];
        const int codeBits = symbolLengths[code.symbol];
        tokenBits[Repeat + length] = {
            std::uint32_t(symbolCodes[code.symbol]) | std::uint32_t(code.extra) << codeBits |
                std::uint32_t(distanceBits) << (codeBits + code.extraBits),
            std::uint8_t(codeBits + code.extraBits + 1)};
    }
    // At most 21 bits a token.
    m_out.Reserve(m_tokens.size() * 3 + 8);
    for (const std::uint16_t token : m_tokens)
        m_out.Put(tokenBits[token].bits, tokenBits[token].count);
    m_out.Put(symbolCodes[EndOfBlock], symbolLengths[EndOfBlock]);
    m_tokens.clear();
    m_symbolCounts.fill(0);
}
