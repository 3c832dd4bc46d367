#pragma once

#include <openjpeg.h>

#include <memory>

// Owning handles for OpenJPEG's objects, so every early return releases them.
namespace OpenJpeg {

struct CodecDeleter {
    void operator()(opj_codec_t* p) const { opj_destroy_codec(p); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* p) const { opj_stream_destroy(p); }
};
struct ImageDeleter {
    void operator()(opj_image_t* p) const { opj_image_destroy(p); }
};

using Codec = std::unique_ptr<opj_codec_t, CodecDeleter>;
using Stream = std::unique_ptr<opj_stream_t, StreamDeleter>;
using Image = std::unique_ptr<opj_image_t, ImageDeleter>;

} // namespace OpenJpeg
