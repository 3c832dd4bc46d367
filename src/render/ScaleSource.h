#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// A picture to be scaled to several sizes. Shrinking averages it in linear light: a picture of
// moderate size is converted to linear light once and every size reads that copy. A huge
// picture is not kept in linear light; it is shrunk once to a reduced copy instead, which
// serves every size that fits it. Safe to scale from on several threads at once.
class ScaleSource {
public:
    explicit ScaleSource(const QImage& image);

    // A picture known only in premultiplied linear light, size.width() * 4 channels a row
    // (see LinearRow); it can only be shrunk.
    ScaleSource(QSize size, std::unique_ptr<std::uint16_t[]> linear);

    // The picture as premultiplied ARGB32; null for a picture known only in linear light.
    const QImage& Image() const { return m_image; }
    QSize Size() const { return m_size; }

    // Makes the kept linear-light copy on `threads` workers (0 = one per core) unless it is
    // made already or the picture is huge; a second caller waits for the first.
    void KeepLinearLight(int threads) const;

    // Row `y` in premultiplied linear light (see LinearLight), 4 channels per pixel: the kept
    // copy's row once KeepLinearLight has run, else the row converted into `scratch`.
    const std::uint16_t* LinearRow(int y, std::vector<std::uint16_t>& scratch) const;

    // The size of a huge picture's reduced copy, the picture divided by a whole factor; an
    // empty size for a picture small enough to keep.
    QSize ReducedSize() const;

    // The reduced copy, made once by `shrink` (the linear light of the picture shrunk to
    // ReducedSize()) for the first caller.
    const ScaleSource&
    Reduced(const std::function<std::unique_ptr<std::uint16_t[]>(QSize)>& shrink) const;

private:
    QImage m_image;
    QSize m_size;
    mutable std::once_flag m_converted;
    // Null until kept, and for a huge picture. Not zeroed first: every value is written.
    mutable std::unique_ptr<std::uint16_t[]> m_linear;
    mutable std::once_flag m_reducedOnce;
    mutable std::unique_ptr<const ScaleSource> m_reduced;
};
