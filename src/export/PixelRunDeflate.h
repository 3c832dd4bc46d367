#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

// A deflate compressor for filtered pixel rows that looks for one kind of repeat only: bytes
// equal to those one pixel before. Icon artwork filtered "Up" is mostly such runs (flat areas,
// vertical gradients, rows equal to the row above), so this finds nearly everything a general
// compressor finds, at a small fraction of its cost; other repeats are left as literals, coded
// with a Huffman table made for each block.
class PixelRunDeflate {
public:
    // `pixelBytes`, the distance of every repeat, from 1 to 4.
    explicit PixelRunDeflate(int pixelBytes);

    // Compresses `size` more bytes. No repeat reaches back before `data`, so the bytes before
    // it need not be kept; callers pass whole rows, which lose nothing by it.
    void Add(const std::uint8_t* data, std::size_t size);

    // The raw deflate data of everything added. With `last` it ends with the final block;
    // otherwise it ends on a byte boundary after an empty stored block, so that the deflate
    // data of another part can follow it in the same stream.
    QByteArray Finish(bool last);

private:
    // The bytes written so far, filled from the least significant bit as deflate has it.
    class BitStream {
    public:
        // Room for `bytes` more bytes, which Put and AlignToByte take for granted.
        void Reserve(std::size_t bytes);
        void Put(std::uint32_t bits, int count); // count <= 32
        void AlignToByte();
        QByteArray Take();

    private:
        std::vector<std::uint8_t> m_bytes;
        std::size_t m_used = 0;
        std::uint64_t m_buffer = 0;
        int m_count = 0;
    };

    void AddRepeat(std::size_t length);
    void WriteBlock(bool final);

    const int m_pixelBytes;
    // A literal byte (below 256), or a repeat: 256 plus its length.
    std::vector<std::uint16_t> m_tokens;
    std::array<std::uint32_t, 286> m_symbolCounts{};
    BitStream m_out;
};
