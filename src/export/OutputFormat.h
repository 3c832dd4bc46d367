#pragma once

#include "design/DesignValues.h"

#include <QString>
#include <array>

// The encoders behind the ten format choices; several choices share one encoder and then
// write the same bytes.
enum class Encoder { Png, Jpeg, Jpeg2000, Tiff, Gif, Bmp };

// One entry of the format pop-up. Profiles and the export refer to a format by its index in
// OutputFormat::List(), so the order never changes.
struct OutputFormat {
    QString title;
    QString extension;
    Encoder encoder;

    static constexpr int Count = DesignValues::OutputFormatCount;

    static const std::array<OutputFormat, Count>& List();

    // The entry at `index`, or nullptr for any index outside the list (-1 when nothing is
    // selected).
    static const OutputFormat* At(int index);

    // Only the JPEG and JPEG 2000 entries use the quality; its controls are enabled for them
    // alone.
    static bool QualityControlsEnabled(int index);
};

// The extension of the format at `index` without a dot, "" outside the list.
QString GetFileExtension(int formatIndex);

// The encoder's compression factor for a quality percentage: 1.0 is the best quality. Divided
// in single precision and then widened, so 80 gives 0.800000011920929 as it always has.
double CompressionFactor(float quality);
