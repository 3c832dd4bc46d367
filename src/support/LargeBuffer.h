#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

// Memory for the big images and masks of a rendering. A 10000 x 10000 canvas needs 400 MB
// per image; fresh memory of that size costs far more in page faults than the drawing itself,
// so large blocks come from a small pool of mappings backed by huge pages and go back to it
// when released. Small blocks are ordinary heap memory. Every block starts all zero, and is
// zeroed only where it needs to be: a fresh mapping is zero already, and paying for that
// twice would write every page of a 400 MB canvas once more.
class LargeBuffer {
public:
    LargeBuffer() = default;
    explicit LargeBuffer(std::size_t bytes);
    ~LargeBuffer();
    LargeBuffer(LargeBuffer&& other) noexcept;
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

    // Gives up ownership; the block must later go back through Release().
    std::uint8_t* take();
    static void Release(std::uint8_t* data);

private:
    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

// A transparent premultiplied ARGB image whose pixels live in a LargeBuffer; the block goes
// back to the pool when the last copy of the image is gone.
QImage MakePooledImage(int width, int height);
