#include "imageio/OpenJpegMemoryStream.h"

#include <algorithm>
#include <cstring>

namespace OpenJpeg {
namespace {

struct Source {
    const QByteArray* bytes;
    OPJ_OFF_T position = 0;
    OPJ_OFF_T Remaining() const { return OPJ_OFF_T(bytes->size()) - position; }
};

OPJ_SIZE_T Read(void* buffer, OPJ_SIZE_T count, void* data) {
    auto* source = static_cast<Source*>(data);
    const OPJ_SIZE_T available = OPJ_SIZE_T(source->Remaining());
    if (available == 0)
        return OPJ_SIZE_T(-1); // OpenJPEG's end-of-stream value
    const OPJ_SIZE_T taken = std::min(count, available);
    std::memcpy(buffer, source->bytes->constData() + source->position, taken);
    source->position += OPJ_OFF_T(taken);
    return taken;
}

// OpenJPEG repeats a skip until it has moved the whole distance, so a skip past the end must
// report failure rather than a short move.
OPJ_OFF_T Skip(OPJ_OFF_T count, void* data) {
    auto* source = static_cast<Source*>(data);
    if (count < -source->position || count > source->Remaining())
        return -1;
    source->position += count;
    return count;
}

OPJ_BOOL Seek(OPJ_OFF_T position, void* data) {
    auto* source = static_cast<Source*>(data);
    if (position < 0 || position > OPJ_OFF_T(source->bytes->size()))
        return OPJ_FALSE;
    source->position = position;
    return OPJ_TRUE;
}

void Release(void* data) {
    delete static_cast<Source*>(data);
}

} // namespace

Stream MemoryStream(const QByteArray& bytes) {
    Stream stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
    if (!stream)
        return stream;
    opj_stream_set_user_data(stream.get(), new Source{&bytes}, Release);
    opj_stream_set_user_data_length(stream.get(), OPJ_UINT64(bytes.size()));
    opj_stream_set_read_function(stream.get(), Read);
    opj_stream_set_skip_function(stream.get(), Skip);
    opj_stream_set_seek_function(stream.get(), Seek);
    return stream;
}

} // namespace OpenJpeg
