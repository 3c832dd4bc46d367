#include "render/TextOutline.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <vector>

namespace {

// Glyphs may reach a little beyond their line's box (accents, swashes); a line this far
// outside the visible area still counts as reaching it.
double GlyphOverhang(const QFont& font) {
    return font.pixelSize();
}

// Lays out the first `length` characters of the text, line by line, until a line starts below
// `lowestTop`. Returns the end (character index) of the last line laid out.
qsizetype LayOutLines(QTextLayout& layout, double lineWidth, double lowestTop) {
    layout.beginLayout();
    qsizetype end = 0;
    qreal y = 0.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0.0, y));
        y += line.height();
        end = line.textStart() + line.textLength();
        if (y > lowestTop)
            break;
    }
    layout.endLayout();
    return end;
}

// Glyph outlines by font and glyph: a text repeats few glyphs many times, and each outline
// taken from the font runs its hinting program again.
class GlyphShapes {
public:
    const QPainterPath& Shape(const QRawFont& font, quint32 glyph) {
        auto known = std::find_if(m_fonts.begin(), m_fonts.end(),
                                  [&](const FontShapes& entry) { return entry.font == font; });
        if (known == m_fonts.end())
            known = m_fonts.insert(m_fonts.end(), FontShapes{font, {}});
        auto shape = known->shapes.find(glyph);
        if (shape == known->shapes.end())
            shape = known->shapes.insert(glyph, font.pathForGlyph(glyph));
        return *shape;
    }

private:
    struct FontShapes {
        QRawFont font;
        QHash<quint32, QPainterPath> shapes;
    };
    std::vector<FontShapes> m_fonts;
};

} // namespace

QPainterPath TextOutline(const QString& text, const QString& family, float fontSize,
                         const QRectF& rect, const QRectF& visibleArea) {
    QPainterPath outline;
    if (text.isEmpty() || !(fontSize > 0.0f))
        return outline;
    QFont font(family);
    // Font sizes are whole numbers of canvas units; one unit is one pixel of the canvas.
    font.setPixelSize(std::max(1, qRound(fontSize)));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    // Line positions relative to the top of the box.
    const double overhang = GlyphOverhang(font);
    const double visibleTop = visibleArea.top() - rect.top() - overhang;
    const double visibleBottom = visibleArea.bottom() - rect.top() + overhang;

    // Lines are only ever as wide as the box, so the visible lines hold a bounded prefix of the
    // text. Lay out a prefix, and a longer one only while the lines laid out used all of it
    // before reaching the bottom. A line that ends before the prefix does has its break where
    // the whole text would have it: the next word was already seen not to fit.
    QTextLayout layout;
    layout.setFont(font);
    layout.setTextOption(option);
    qsizetype length = std::min<qsizetype>(text.size(), 1024);
    for (;;) {
        layout.setText(text.left(length));
        const qsizetype end = LayOutLines(layout, rect.width(), visibleBottom);
        if (length == text.size() || end < length)
            break;
        length = std::min(text.size(), length * 4);
    }

    GlyphShapes shapes;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (line.y() + line.height() < visibleTop)
            continue;
        for (const QGlyphRun& run : line.glyphRuns()) {
            const QRawFont rawFont = run.rawFont();
            const QList<quint32> indexes = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype g = 0; g < indexes.size(); ++g)
                outline.addPath(
                    shapes.Shape(rawFont, indexes[g]).translated(rect.topLeft() + positions[g]));
        }
    }
    return outline;
}
