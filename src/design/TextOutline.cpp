#include "design/TextOutline.h"

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>

QPainterPath TextOutline(const QString& text, const QString& family, float fontSize,
                         const QRectF& rect) {
    QPainterPath outline;
    if (text.isEmpty() || !(fontSize > 0.0f))
        return outline;
    QFont font(family);
    // Font sizes are whole numbers of canvas units; one unit is one pixel of the canvas.
    font.setPixelSize(std::max(1, qRound(fontSize)));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);

    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0.0, y));
        y += line.height();
    }
    layout.endLayout();

    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont rawFont = run.rawFont();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            QPainterPath glyph = rawFont.pathForGlyph(indexes[i]);
            glyph.translate(rect.topLeft() + positions[i]);
            outline.addPath(glyph);
        }
    }
    return outline;
}
