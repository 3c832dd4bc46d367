#include "platforms/IcnsWriter.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <limits>

namespace IcnsWriter {

namespace {

struct TypeCode {
    char code[5];
    int pixels;
};

// The PNG-capable codes, 1x codes first and then the 2x codes, as the system lists them.
constexpr std::array<TypeCode, 11> Codes{{
    {"icp4", 16},
    {"icp5", 32},
    {"icp6", 64},
    {"ic07", 128},
    {"ic08", 256},
    {"ic09", 512},
    {"ic10", 1024}, // 512 at 2x
    {"ic11", 32},   // 16 at 2x
    {"ic12", 64},   // 32 at 2x
    {"ic13", 256},  // 128 at 2x
    {"ic14", 512},  // 256 at 2x
}};

constexpr int HeaderBytes = 8; // type and length, in the file header and in every entry

void AppendHeader(QByteArray& out, const char type[4], quint32 length) {
    out.append(type, 4);
    char bytes[4];
    qToBigEndian(length, bytes);
    out.append(bytes, 4);
}

} // namespace

QList<int> Sizes() {
    QList<int> sizes;
    for (const TypeCode& code : Codes) {
        if (!sizes.contains(code.pixels))
            sizes.append(code.pixels);
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

QByteArray Write(const QMap<int, QByteArray>& pngBySize) {
    qint64 total = HeaderBytes;
    for (const TypeCode& code : Codes)
        total += pngBySize.contains(code.pixels) ? HeaderBytes + pngBySize[code.pixels].size() : 0;
    // Lengths are 32-bit; an icon set never comes near that, but a bad length is worse than none.
    if (total == HeaderBytes || total > std::numeric_limits<qint32>::max())
        return {};

    QByteArray icns;
    icns.reserve(qsizetype(total));
    AppendHeader(icns, "icns", quint32(total));
    for (const TypeCode& code : Codes) {
        const auto png = pngBySize.constFind(code.pixels);
        if (png == pngBySize.constEnd())
            continue;
        AppendHeader(icns, code.code, quint32(HeaderBytes + png->size()));
        icns.append(*png);
    }
    return icns;
}

} // namespace IcnsWriter
