#include "symbols/SymbolDocument.h"

#include "imageio/SvgImage.h"
#include "symbols/SymbolSet.h"

#include <QPainter>

#include <algorithm>

QByteArray SymbolDocument(const SymbolEntry& entry) {
    const QByteArray body = entry.set->Body(entry);
    if (body.isEmpty())
        return {};
    const QByteArray width = QByteArray::number(entry.width);
    const QByteArray height = QByteArray::number(entry.height);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\">" +
           body + "</svg>\n";
}

std::shared_ptr<const SvgImage> ReadSymbol(const SymbolEntry& entry) {
    const QByteArray document = SymbolDocument(entry);
    return document.isEmpty() ? nullptr : SvgImage::Read(document, DocumentOrigin::BuiltIn);
}

QImage DrawSymbolSample(const SymbolEntry& entry, int side, const QColor& ink) {
    const std::shared_ptr<const SvgImage> svg = ReadSymbol(entry);
    if (!svg || side <= 0)
        return {};
    const QRectF area = svg->viewBox();
    const double fit = side / std::max(area.width(), area.height());
    const QTransform toPixels = QTransform::fromTranslate(-area.x(), -area.y()) *
                                QTransform::fromScale(fit, fit) *
                                QTransform::fromTranslate((side - area.width() * fit) / 2,
                                                          (side - area.height() * fit) / 2);
    QImage sample = svg->Draw(QSize(side, side), toPixels);
    if (entry.set->kind() == SymbolKind::Symbol && !sample.isNull()) {
        QPainter painter(&sample);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(sample.rect(), ink);
    }
    return sample;
}
