// Feeds arbitrary text to the profile reader, which reads every profile file a user opens.
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    DesignSettings settings;
    if (!ApplyProfileText(settings, text, true))
        return 0;
    // Whatever was accepted is a design whose own profile text reads back to the same text,
    // so a save after an open never changes what the next open shows.
    const QString written = MakeProfileText(settings);
    DesignSettings reread;
    if (!ApplyProfileText(reread, written, false) || MakeProfileText(reread) != written)
        std::abort();
    return 0;
}
