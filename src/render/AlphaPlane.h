#pragma once

#include "support/LargeBuffer.h"

#include <cstdint>
#include <vector>

// Columns [begin, end) of one row; empty when begin >= end.
struct ColumnSpan {
    int begin = 0;
    int end = 0;
};

// An 8-bit coverage mask, the material shadows are made of: cheaper to blur than colour
// pixels, and a shadow only needs the shape of what casts it.
class AlphaPlane {
public:
    AlphaPlane() = default;
    AlphaPlane(int width, int height); // all zero

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width <= 0 || m_height <= 0; }
    std::uint8_t* row(int y) { return m_buffer.data() + std::size_t(y) * m_width; }
    const std::uint8_t* row(int y) const { return m_buffer.data() + std::size_t(y) * m_width; }

    // A Gaussian blur (three box passes per axis) with separate standard deviations along x
    // and y, treating everything outside the plane as transparent. `unneeded` (one span per
    // row, or none) names the columns of each row whose blurred value nobody will read: their
    // work is skipped and they are left holding unspecified values. Every other value is
    // exactly what the whole blur gives.
    void Blur(double sigmaX, double sigmaY, int threads,
              const std::vector<ColumnSpan>& unneeded = {});

    // How far a blur with this standard deviation spreads a single pixel.
    static int BlurReach(double sigma);

private:
    int m_width = 0;
    int m_height = 0;
    LargeBuffer m_buffer;
};
