#include "export/OutputFormat.h"

const std::array<OutputFormat, OutputFormat::Count>& OutputFormat::List() {
    static const std::array<OutputFormat, Count> list{{
        {QStringLiteral("PNG"), QStringLiteral("png"), Encoder::Png},
        {QStringLiteral("JPG"), QStringLiteral("jpg"), Encoder::Jpeg},
        {QStringLiteral("JPEG"), QStringLiteral("jpeg"), Encoder::Jpeg},
        {QStringLiteral("JPE"), QStringLiteral("jpe"), Encoder::Jpeg},
        {QStringLiteral("JP2"), QStringLiteral("jp2"), Encoder::Jpeg2000},
        {QStringLiteral("JPX"), QStringLiteral("jpx"), Encoder::Jpeg2000},
        {QStringLiteral("TIFF"), QStringLiteral("tiff"), Encoder::Tiff},
        {QStringLiteral("TIF"), QStringLiteral("tif"), Encoder::Tiff},
        {QStringLiteral("GIF"), QStringLiteral("gif"), Encoder::Gif},
        {QStringLiteral("BMP"), QStringLiteral("bmp"), Encoder::Bmp},
    }};
    return list;
}

const OutputFormat* OutputFormat::At(int index) {
    if (index < 0 || index >= Count)
        return nullptr;
    return &List()[static_cast<std::size_t>(index)];
}

bool OutputFormat::QualityControlsEnabled(int index) {
    const OutputFormat* format = At(index);
    return format && (format->encoder == Encoder::Jpeg || format->encoder == Encoder::Jpeg2000);
}

QString GetFileExtension(int formatIndex) {
    const OutputFormat* format = OutputFormat::At(formatIndex);
    return format ? format->extension : QString();
}

double CompressionFactor(float quality) {
    const float factor = quality / 100.0f;
    return static_cast<double>(factor);
}
