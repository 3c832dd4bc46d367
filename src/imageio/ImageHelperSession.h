#pragma once

#include "imageio/HelperMessages.h"

#include <QByteArray>
#include <QImage>

#include <memory>

class SvgDrawing;

// What an image helper process does with each request it is sent: the decoders run here, in a
// process whose crash or runaway takes nothing else down. One session serves one image; after
// an SVG document is opened it is drawn at each size asked for.
class ImageHelperSession {
public:
    struct Answer {
        HelperMessages::ReplyHeader header;
        QImage picture; // premultiplied ARGB32 of the header's size, null when refused
    };

    ImageHelperSession();
    ~ImageHelperSession();

    Answer Open(HelperMessages::Request kind, const QByteArray& bytes);
    Answer Draw(const HelperMessages::DrawArguments& arguments);

private:
    std::unique_ptr<SvgDrawing> m_document;
};

// Sets up the decoders with bytes of our own (Qt's list of image plugins, the SVG library's
// first document), so that the helper answers its first request at once.
void PrepareImageDecoders();

// Says kReady on `socket`, then reads requests from it and answers each until the other end
// closes it. Returns the process's exit status.
int ServeImageRequests(int socket);
