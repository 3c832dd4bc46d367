#pragma once

#include "platforms/PlatformVariant.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// One picture a planned file needs: a variant `pixels` wide, square unless `height` is given.
struct PlannedImage {
    PlatformVariant variant;
    int pixels;
    int height = 0; // 0: as high as wide

    int Height() const { return height > 0 ? height : pixels; }

    friend bool operator==(const PlannedImage&, const PlannedImage&) = default;
};

// The variant at each of the square sizes.
inline QList<PlannedImage> SquarePictures(PlatformVariant variant, const QList<int>& sizes) {
    QList<PlannedImage> images;
    for (int pixels : sizes)
        images.append({variant, pixels});
    return images;
}

// One file of a platform set, before anything is drawn.
struct PlannedFile {
    enum class Kind {
        Png,       // the one image, with its alpha channel
        OpaquePng, // the one image as RGB without alpha, for stores that refuse alpha
        Ico,       // a Windows icon with one entry per image
        Icns,      // a macOS icon with one entry per image
        Text,      // `text` as it stands (JSON, XML)
        Generated, // what `generate` makes while the files are written: a picture of its own
        Folder,    // a folder the set has even when nothing is written into it
    };

    QString path; // relative to the output folder, with "/" between folders
    Kind kind;
    QList<PlannedImage> images;
    QByteArray text;
    std::function<QByteArray()> generate = {}; // may run on any thread; empty bytes when it fails
};

// A picture file: `variant` drawn `width` pixels wide and `height` high (square when 0), at
// `path` under the output folder.
inline PlannedFile PictureFile(const QString& path, PlatformVariant variant, int width,
                               int height = 0, PlannedFile::Kind kind = PlannedFile::Kind::Png) {
    PlannedImage image{variant, width};
    if (height != width)
        image.height = height;
    return {path, kind, {image}, {}};
}
