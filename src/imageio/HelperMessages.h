#pragma once

#include <QtGlobal>

// What the editor or the command line and an image helper process say to each other over the
// socket between them. Each request is a header and `length` bytes; each answer a header and,
// unless it refuses, `width` x `height` premultiplied ARGB32 pixels, row after row.
namespace HelperMessages {

constexpr quint32 kMagic = 0x53474831; // "SGH1"

// The helper's first word, sent once its decoders are set up and its limits are in place, before
// it reads anything: the time a process takes to start on a busy machine is never counted
// against an image's deadline.
constexpr quint32 kReady = 0x53474852; // "SGHR"

enum class Request : quint32 {
    OpenRaster = 1, // the bytes of a raster image file
    OpenVector = 2, // an SVG document, inflated and checked already
    Draw = 3,       // a DrawArguments for the SVG document opened before
};

struct RequestHeader {
    quint32 magic = kMagic;
    Request kind = Request::OpenRaster;
    quint64 length = 0;
};

struct DrawArguments {
    qint32 width = 0;
    qint32 height = 0;
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0; // user units to pixels
};

enum class Outcome : quint32 {
    Refused = 0,
    Raster = 1, // the decoded picture of a raster file
    Vector = 2, // the thumbnail of an SVG document, which stays open for drawing
    Drawn = 3,  // the SVG document drawn as asked
};

struct ReplyHeader {
    quint32 magic = kMagic;
    Outcome outcome = Outcome::Refused;
    qint32 width = 0;
    qint32 height = 0;
    // For Vector: the document's area in user units and how long its thumbnail took to draw.
    double viewBox[4] = {0, 0, 0, 0};
    double trialSeconds = 0;
};

// The largest request the helper reads: no image file is larger than this.
constexpr quint64 kLargestRequest = quint64(1) << 30;

} // namespace HelperMessages
