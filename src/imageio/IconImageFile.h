#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

class SvgImage;

// Reads an icon image file for a design. The image's size in units is its size in pixels,
// whatever resolution the file declares. Anything but an ordinary file, and files that are
// not images, are truncated or corrupt, or claim dimensions no icon needs (more than
// 10000 x 10000 pixels in area, or a side over 16384) give a null image at once, before any
// pixel is decoded where the header tells, so a hostile file can neither exhaust memory nor
// freeze the editor. The decoders run in an image helper process (see ImageHelperProcess):
// whatever the file does to them, the answer comes within two seconds, and a helper that
// crashes or misses that deadline is a null image too.
// An SVG document (.svg, .svgz) gives its thumbnail and, through `vector`, the document itself,
// which the renderer draws at the size it is placed at.
QImage LoadIconImage(const QString& path, std::shared_ptr<const SvgImage>* vector = nullptr);

// The same for an image file's bytes already in memory.
QImage DecodeIconImage(const QByteArray& bytes, std::shared_ptr<const SvgImage>* vector = nullptr);
