#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// Helpers for comparing pictures with tolerances: anti-aliasing and blur are ours to choose,
// so tests look at colours and geometry, never at exact hashes of our own output.
namespace TestImages {

// Pixel as straight (non-premultiplied) RGBA.
QColor PixelAt(const QImage& image, int x, int y);

// True when every channel differs by at most `tolerance` (0..255).
bool ColorsClose(const QColor& a, const QColor& b, int tolerance);

// Describes the first pixel where the images differ by more than `tolerance`, or returns an
// empty string when they match (also checks the sizes).
QString FirstDifference(const QImage& a, const QImage& b, int tolerance);

// The mean absolute difference of the premultiplied channels (0..255) of two images of the same
// size; infinity when the sizes differ.
double MeanAbsoluteDifference(const QImage& a, const QImage& b);

// A test image that exposes flips, rotations and channel swaps: red on the left half, blue on
// the right, with a green square in the top-left corner.
QImage AsymmetricImage(int width, int height);

// Fine detail that no filter or compressor can smooth over: every pixel a random colour and
// transparency (the same for the same seed), above a band of smooth vertical gradient that
// compresses well, so both kinds of data pass through an encoder.
QImage DetailedImage(int width, int height, quint32 seed = 1);

// An image of one colour.
QImage Filled(int width, int height, const QColor& color);

// How many pixels of the image the predicate, called with (x, y), selects.
template <typename Predicate> int Count(const QImage& image, Predicate predicate) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += predicate(x, y) ? 1 : 0;
    return count;
}

// The image as the bytes of a file in that format, as Qt's writer encodes it; empty when it
// cannot.
QByteArray EncodedBytes(const QImage& image, const char* format);

inline QByteArray PngBytes(const QImage& image) {
    return EncodedBytes(image, "PNG");
}

// Writes the bytes to a new file at `path`; false when that fails.
bool WriteFile(const QString& path, const QByteArray& bytes);

// The file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

// A temporary folder for the files one test writes, removed with it.
class ScratchFolder {
public:
    bool isValid() const { return m_dir.isValid(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // Writes the bytes to a new file of that name; its path, or an empty string on failure.
    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = filePath(name);
        return WriteFile(path, bytes) ? path : QString();
    }

private:
    QTemporaryDir m_dir;
};

} // namespace TestImages
