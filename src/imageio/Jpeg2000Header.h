#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// What a JPEG 2000 file announces about its picture, read from its bytes alone: the size
// marker that opens the codestream (bare, or in a JP2 file's codestream box) and the JP2
// palette. A decoder library sets up every tile and component the size marker announces as
// soon as it reads it, so a few hundred hostile bytes can make it hold gigabytes; these fields
// are what to check before handing it the data.
struct Jpeg2000Header {
    struct Component {
        int precision = 0; // bits per sample, 1 to 128
        bool isSigned = false;
        int subsamplingX = 0; // 1 to 255
        int subsamplingY = 0;
    };

    bool jp2File = false; // JP2 boxes around the codestream, not a bare codestream
    qint64 width = 0;     // the picture's area on the reference grid
    qint64 height = 0;
    qint64 tilesAcross = 0; // the tile grid, each up to 2^32 - 1
    qint64 tilesDown = 0;
    QList<Component> components;
    int paletteChannels = 0; // the channels a JP2 palette expands to, 0 without a palette
};

// True when the data starts as a JP2 file, or as a bare codestream.
bool StartsAsJp2File(const QByteArray& head);
bool StartsAsCodestream(const QByteArray& head);

// The header, or nullopt when the data does not start as JPEG 2000, its boxes are damaged, or
// the codestream does not open with a complete size marker whose fields agree with each other.
[[nodiscard]] std::optional<Jpeg2000Header> ReadJpeg2000Header(const QByteArray& bytes);
