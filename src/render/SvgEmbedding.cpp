#include "render/SvgEmbedding.h"

#include "render/SvgPathData.h"

#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QSet<QString> IdsOf(const QByteArray& document) {
    QSet<QString> ids;
    QXmlStreamReader reader(document);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement)
            if (const QStringView id = reader.attributes().value(QStringLiteral("id"));
                !id.isEmpty())
                ids.insert(id.toString());
    return reader.hasError() ? QSet<QString>() : ids;
}

// References inside attribute values and style sheets: url(#id) everywhere, and #id selectors
// in style sheets.
QString WithPrefixedReferences(QString text, const QSet<QString>& ids, const QString& prefix,
                               bool styleSheet) {
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*(['"]?)#)"));
    text.replace(url, QStringLiteral("url(\\1#") + prefix);
    if (styleSheet) {
        static const QRegularExpression selector(QStringLiteral(R"(#([A-Za-z_][\w\-]*))"));
        QString out;
        qsizetype last = 0;
        for (const QRegularExpressionMatch& m : selector.globalMatch(text)) {
            out += QStringView(text).mid(last, m.capturedStart() - last);
            const QString id = m.captured(1);
            out += ids.contains(id) && !id.startsWith(prefix) ? QLatin1Char('#') + prefix + id
                                                              : m.captured(0);
            last = m.capturedEnd();
        }
        out += QStringView(text).mid(last);
        return out;
    }
    return text;
}

} // namespace

QByteArray EmbeddedSvg(const QByteArray& document, const QRectF& area, const QByteArray& prefix,
                       const SvgRestyling& restyling) {
    const SvgColorRewrite::ColorChange& recolor = restyling.recolor;
    const QSet<QString> ids = IdsOf(document);
    const QString idPrefix = QString::fromUtf8(prefix);
    QByteArray out;
    QXmlStreamWriter writer(&out);
    QXmlStreamReader reader(document);
    int depth = 0;
    bool inStyle = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            writer.writeStartElement(reader.qualifiedName().toString());
            for (const QXmlStreamNamespaceDeclaration& ns : reader.namespaceDeclarations())
                writer.writeAttribute(ns.prefix().isEmpty()
                                          ? QStringLiteral("xmlns")
                                          : QStringLiteral("xmlns:") + ns.prefix().toString(),
                                      ns.namespaceUri().toString());
            const bool root = depth == 0;
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                const QString name = attribute.qualifiedName().toString();
                const QString local = attribute.name().toString();
                if (root &&
                    (name == u"x" || name == u"y" || name == u"width" || name == u"height" ||
                     name == u"viewBox" || name == u"preserveAspectRatio"))
                    continue;
                QString value = attribute.value().toString();
                if (recolor)
                    value = SvgColorRewrite::RecoloredAttribute(local, value, recolor);
                if (local == u"id")
                    value = idPrefix + value;
                else if (local == u"href" && value.startsWith(QLatin1Char('#')))
                    value = QLatin1Char('#') + idPrefix + value.mid(1);
                else
                    value = WithPrefixedReferences(value, ids, idPrefix, local == u"style");
                writer.writeAttribute(name, value);
            }
            if (root && recolor) {
                // What names no colour is painted in black, and currentColor is black unless
                // set: both inherit from the root.
                for (const QString& property : {QStringLiteral("fill"), QStringLiteral("color")})
                    if (!reader.attributes().hasAttribute(property))
                        writer.writeAttribute(property, recolor(Qt::black).name(QColor::HexRgb));
            }
            if (root) {
                // The document's own area, drawn one user unit to one unit of the embedding.
                writer.writeAttribute(QStringLiteral("x"),
                                      QString::fromLatin1(SvgNumber(area.x())));
                writer.writeAttribute(QStringLiteral("y"),
                                      QString::fromLatin1(SvgNumber(area.y())));
                writer.writeAttribute(QStringLiteral("width"),
                                      QString::fromLatin1(SvgNumber(area.width())));
                writer.writeAttribute(QStringLiteral("height"),
                                      QString::fromLatin1(SvgNumber(area.height())));
                writer.writeAttribute(
                    QStringLiteral("viewBox"),
                    QString::fromLatin1(SvgNumber(area.x()) + ' ' + SvgNumber(area.y()) + ' ' +
                                        SvgNumber(area.width()) + ' ' + SvgNumber(area.height())));
            }
            inStyle = reader.name() == u"style";
            if (inStyle && !restyling.styleMedia.isEmpty())
                writer.writeCharacters(QString::fromLatin1("@media " + restyling.styleMedia + '{'));
            ++depth;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (inStyle && !restyling.styleMedia.isEmpty())
                writer.writeCharacters(QStringLiteral("}"));
            writer.writeEndElement();
            inStyle = false;
            --depth;
            break;
        case QXmlStreamReader::Characters: {
            QString text = reader.text().toString();
            if (inStyle && recolor)
                text = SvgColorRewrite::RecoloredStyle(text, recolor);
            if (inStyle)
                text = WithPrefixedReferences(text, ids, idPrefix, true);
            if (reader.isCDATA())
                writer.writeCDATA(text);
            else
                writer.writeCharacters(text);
            break;
        }
        default: // the declaration, the document type, comments and instructions
            break;
        }
    }
    return reader.hasError() || depth != 0 ? QByteArray() : out;
}
