#pragma once

#include <QImage>

#include <functional>

// A picture read a row at a time, which need not exist whole: a composed splash screen is tens
// of megabytes, and made row by row as it is encoded it never takes more than a row.
struct PictureRows {
    // Row y (0 <= y < size.height()) as premultiplied ARGB32: a row of a picture, or `scratch`
    // (size.width() pixels) filled. May be called for different rows on several threads at once.
    using Row = std::function<const QRgb*(int y, QRgb* scratch)>;

    QSize size; // empty when there is no picture
    Row row;

    // The rows of `image` (any format), which the rows share until they are let go.
    static PictureRows Of(const QImage& image);

    // The whole picture, premultiplied ARGB32; null when there is none.
    QImage ToImage() const;
};
