#pragma once

#include <QImage>
#include <QString>

// Reads an icon image file for a design. The image's size in units is its size in pixels,
// whatever resolution the file declares. Files that are not images, are truncated or corrupt,
// or claim dimensions no icon needs (more than 10000 x 10000 pixels in area, or a side over
// 16384) give a null image, so a hostile file can never exhaust memory or freeze the editor.
QImage LoadIconImage(const QString& path);
