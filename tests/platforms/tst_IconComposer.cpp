// The layered app icon document as Apple's tools read it: icon.json in the document's format,
// and the document composed flat is the design's full-bleed picture without shadows. Apple's
// own compiler does not run here, so its rules are checked one by one.

#include "design/ColorContrast.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/BadgeArt.h"
#include "render/ImageTools.h"

#include <QPainter>
#include <QtTest>

namespace {

constexpr int Points = 1024;

// The colour of a colour string; an invalid colour unless it is "srgb:R,G,B,A" with five
// decimals, each from 0 to 1.
QColor ColorOf(const QJsonValue& value) {
    static const QRegularExpression form(
        QStringLiteral(R"(^srgb:(\d\.\d{5}),(\d\.\d{5}),(\d\.\d{5}),(\d\.\d{5})$)"));
    const QRegularExpressionMatch match = form.match(value.toString());
    if (!match.hasMatch())
        return {};
    return QColor::fromRgbF(match.captured(1).toFloat(), match.captured(2).toFloat(),
                            match.captured(3).toFloat(), match.captured(4).toFloat());
}

// An SVG asset's size in points: its root's width and height.
QSizeF SvgSize(const QByteArray& document) {
    QXmlStreamReader reader(document);
    reader.readNextStartElement();
    return {reader.attributes().value("width").toDouble(),
            reader.attributes().value("height").toDouble()};
}

// A value as Apple's format gives it in an appearance ("" the light one): from the key's
// specializations when the object has them (the entry of that appearance, else the base entry),
// else the key itself. Undefined where the array breaks the format's rules: the plain key beside
// it, no base entry first, an entry with a key but "appearance" and "value".
QJsonValue InAppearance(const QJsonValue& object, const QString& key,
                        const QString& appearance = {}) {
    const QJsonValue special = object[key + "-specializations"];
    if (special.isUndefined())
        return object[key];
    const QJsonArray entries = special.toArray();
    if (!object[key].isUndefined() || entries.isEmpty() ||
        entries[0].toObject().contains("appearance"))
        return QJsonValue::Undefined;
    QJsonValue value = entries[0]["value"];
    for (const QJsonValue& entry : entries) {
        QStringList keys = entry.toObject().keys();
        keys.removeOne("appearance");
        if (keys != QStringList{"value"})
            return QJsonValue::Undefined;
        if (!appearance.isEmpty() && entry["appearance"] == appearance)
            value = entry["value"];
    }
    return value;
}

// The document in the light appearance, flat: the fill over the canvas (the system's own fill
// taken as white, as the full-bleed picture puts a transparent design on white), then each
// group's layers from the back to the front, each asset centred on the canvas, scaled about its
// centre and moved.
QImage Composed(const QString& folder) {
    const QJsonObject root =
        QJsonDocument::fromJson(TestImages::ReadFile(folder + "/icon.json")).object();
    QImage canvas(Points, Points, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QJsonValue fill = InAppearance(root, "fill");
    if (fill == "automatic") {
        painter.fillRect(canvas.rect(), Qt::white);
    } else {
        const QJsonArray colors = fill["linear-gradient"].toArray();
        QLinearGradient gradient(0, 0, 0, Points);
        gradient.setColorAt(0, ColorOf(colors[0]));
        gradient.setColorAt(1, ColorOf(colors[1]));
        painter.fillRect(canvas.rect(), gradient);
    }
    const QJsonArray groups = root["groups"].toArray();
    for (qsizetype g = groups.size() - 1; g >= 0; --g) {
        const QJsonArray layers = groups[g]["layers"].toArray();
        for (qsizetype l = layers.size() - 1; l >= 0; --l) {
            const QString path =
                folder + "/Assets/" + InAppearance(layers[l], "image-name").toString();
            const QJsonValue position = layers[l]["position"];
            const double scale = position["scale"].toDouble();
            const QJsonArray move = position["translation-in-points"].toArray();
            const QPointF centre(Points / 2 + move[0].toDouble(), Points / 2 + move[1].toDouble());
            const QByteArray bytes = TestImages::ReadFile(path);
            const auto image = SvgImage::Read(bytes);
            const QSizeF size = (image ? SvgSize(bytes) : QSizeF(QImage(path).size())) * scale;
            const QRectF target(centre - QPointF(size.width(), size.height()) / 2, size);
            if (!image) {
                painter.drawImage(target, QImage(path));
                continue;
            }
            const QRectF box = image->viewBox();
            painter.drawImage(
                0, 0,
                image->Draw(canvas.size(),
                            QTransform::fromTranslate(-box.x(), -box.y()) *
                                QTransform::fromScale(target.width() / box.width(),
                                                      target.height() / box.height()) *
                                QTransform::fromTranslate(target.x(), target.y())));
        }
    }
    return canvas;
}

// An asset drawn alone at its own size in points; null when it is neither SVG nor an image.
QImage AssetPicture(const QString& path) {
    const QByteArray bytes = TestImages::ReadFile(path);
    if (const auto image = SvgImage::Read(bytes)) {
        const QRectF box = image->viewBox();
        const QSizeF size = SvgSize(bytes);
        return image
            ->Draw(size.toSize(), QTransform::fromTranslate(-box.x(), -box.y()) *
                                      QTransform::fromScale(size.width() / box.width(),
                                                            size.height() / box.height()))
            .convertToFormat(QImage::Format_ARGB32);
    }
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class IconComposerTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_folder;

    // The document of the design, written as the export writes it; its folder.
    QString Written(const IconDesign& design, const Badge& badge = {}) {
        const QString folder = m_folder.filePath(QTest::currentDataTag());
        const PlatformExport::Result result = PlatformExport::Run(
            design,
            PlatformPlan::Files({PlatformTarget::IconComposer},
                                MakePlatformSetOptions(design, "Set", {}, badge)),
            folder, true);
        return result.AllWritten() ? folder + "/Set.icon" : QString();
    }

private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }

    void documentFollowsTheFormat_data() {
        TestDesigns::AddLayerRows();
        QTest::newRow("background alone") << TestDesigns::Change([](IconDesign&) {});
        QTest::newRow("dark grey symbol in its own colours") << TestDesigns::Change(
            [](IconDesign& d) { TestDesigns::UseSvgIcon(d, "adwaita-appearance-symbolic.svg"); });
    }
    void documentFollowsTheFormat() {
        QFETCH(TestDesigns::Change, change);
        IconDesign design;
        change(design);
        const QString folder = Written(design);
        QVERIFY(!folder.isEmpty());
        IconDesign unshadowed = design;
        unshadowed.iconShadow = unshadowed.textShadow = false;
        RenderOptions fullBleed;
        fullBleed.fullBleed = true;
        fullBleed.outputSize = QSize(Points, Points);
        const QImage expected = ImageTools::RenderIcon(unshadowed, fullBleed);
        const double difference = TestImages::MeanAbsoluteDifference(Composed(folder), expected);
        QVERIFY2(difference <= 2.0, qPrintable(QString::number(difference)));

        const QJsonObject root =
            QJsonDocument::fromJson(TestImages::ReadFile(folder + "/icon.json")).object();
        QCOMPARE(root["supported-platforms"].toObject(),
                 (QJsonObject{{"squares", "shared"}, {"circles", QJsonArray{"watchOS"}}}));

        // The fill: the system's for a transparent design, else two colours from top to bottom,
        // darker in the dark appearance.
        auto gradientEnds = [](const QJsonValue& fill) -> QList<QColor> {
            const QJsonArray colors = fill["linear-gradient"].toArray();
            if (colors.size() != 2 ||
                fill["orientation"] != QJsonObject{{"start", QJsonObject{{"x", 0.5}, {"y", 0}}},
                                                   {"stop", QJsonObject{{"x", 0.5}, {"y", 1}}}})
                return {};
            return {ColorOf(colors[0]), ColorOf(colors[1])};
        };
        // Where an appearance differs, the document gives the value for each (see InAppearance).
        QList<QColor> dark(2, ColorContrast::DarkHomeScreen());
        if (design.transparentBackground) {
            QCOMPARE(root["fill"], QJsonValue("automatic"));
        } else {
            const QList<QColor> light = gradientEnds(InAppearance(root, "fill"));
            QCOMPARE(light.size(), 2);
            QCOMPARE(light[0].rgba(), design.gradientStartColor.toQColor().rgba());
            QCOMPARE(light[1].rgba(), design.gradientEndColor.toQColor().rgba());
            QCOMPARE(root["fill-specializations"][1]["appearance"], QJsonValue("dark"));
            dark = gradientEnds(InAppearance(root, "fill", "dark"));
            QCOMPARE(dark.size(), 2);
            for (int end : {0, 1})
                QVERIFY(dark[end].isValid() && ColorContrast::RelativeLuminance(dark[end]) <=
                                                   ColorContrast::RelativeLuminance(light[end]));
        }
        const QColor darkGround =
            ColorContrast::RelativeLuminance(dark[0]) > ColorContrast::RelativeLuminance(dark[1])
                ? dark[0]
                : dark[1];

        // One group per layer, the text in front, each with the shadow the design casts under
        // the layer; the asset in the flat folder; a position with both its keys; a layer of one
        // colour under 3:1 on the dark fill lightened there to 3:1, an icon image in its own
        // colours shown there as a copy with those of its colours raised to 3:1. A design with
        // no layer still has a group and the asset folder.
        QVERIFY(QFileInfo(folder + "/Assets").isDir());
        QStringList names;
        const QJsonArray groups = root["groups"].toArray();
        QVERIFY(!groups.isEmpty());
        for (const QJsonValue& group : groups) {
            const QJsonArray layers = group["layers"].toArray();
            if (layers.isEmpty() && groups.size() == 1)
                continue;
            QCOMPARE(layers.size(), 1);
            const QJsonValue layer = layers[0];
            const bool text = layer["name"] == "text";
            names << layer["name"].toString();
            const bool shadow = text ? design.textShadow : design.iconShadow;
            const QColor shade =
                (text ? design.textShadowColor : design.iconShadowColor).toQColor();
            QCOMPARE(group["shadow"]["kind"].toString(), !shadow ? "none"
                                                         : shade.rgb() == 0xff000000
                                                             ? "neutral"
                                                             : "layer-color");
            QVERIFY(!shadow || qAbs(group["shadow"]["opacity"].toDouble() - shade.alphaF()) < 1e-5);
            const QString asset = InAppearance(layer, "image-name").toString();
            QVERIFY(!asset.contains('/') && QFileInfo(folder + "/Assets/" + asset).isFile());
            QCOMPARE(layer["position"].toObject().keys(),
                     (QStringList{"scale", "translation-in-points"}));
            QCOMPARE(layer["position"]["translation-in-points"].toArray().size(), 2);

            auto worstOnDark = [&](const QColor& color) {
                return qMin(ColorContrast::Ratio(color, dark[0]),
                            ColorContrast::Ratio(color, dark[1]));
            };
            const bool oneColor = text || !design.useImageColors;
            const QColor color = (text ? design.textColor : design.iconColor).toQColor();
            const QJsonValue darkFill = InAppearance(layer, "fill", "dark");
            QCOMPARE(darkFill != InAppearance(layer, "fill"), oneColor && worstOnDark(color) < 3.0);
            if (darkFill.isObject()) {
                const QColor lightened = ColorOf(darkFill["solid"]);
                QVERIFY2(lightened.isValid() && worstOnDark(lightened) >= 3.0,
                         qPrintable(lightened.name()));
            }

            const QString darkAsset = InAppearance(layer, "image-name", "dark").toString();
            if (darkAsset == asset)
                continue;
            QVERIFY(!oneColor && !darkAsset.contains('/') &&
                    QFileInfo(darkAsset).suffix() == QFileInfo(asset).suffix() &&
                    QFileInfo(folder + "/Assets/" + darkAsset).isFile());
            // A vector asset stays vector.
            QCOMPARE(TestImages::ReadFile(folder + "/Assets/" + darkAsset).count("<image"),
                     TestImages::ReadFile(folder + "/Assets/" + asset).count("<image"));
            const QImage before = AssetPicture(folder + "/Assets/" + asset);
            const QImage after = AssetPicture(folder + "/Assets/" + darkAsset);
            QCOMPARE(after.size(), before.size());
            // Every pixel at least as legible on the dark fill as before (a vector asset's blends
            // of a raised colour are raised too), none under 3:1.
            int raised = 0, opaque = 0, wrong = 0;
            for (int y = 0; y < before.height(); ++y)
                for (int x = 0; x < before.width(); ++x) {
                    const QColor was = TestImages::PixelAt(before, x, y);
                    const QColor is = TestImages::PixelAt(after, x, y);
                    if (was.alpha() < 255 || is.alpha() < 255)
                        continue;
                    ++opaque;
                    const double wasRatio = ColorContrast::Ratio(was, darkGround);
                    const double isRatio = ColorContrast::Ratio(is, darkGround);
                    raised += wasRatio < 2.9 && isRatio >= 2.95;
                    wrong += isRatio < std::min(wasRatio, 2.95) - 0.02;
                }
            QVERIFY2(raised > 100 && wrong < opaque / 100,
                     qPrintable(QStringLiteral("%1 raised, %2 of %3 under")
                                    .arg(raised)
                                    .arg(wrong)
                                    .arg(opaque)));
        }
        QStringList drawn;
        if (!design.text.isEmpty())
            drawn << "text";
        if (!design.iconImage.isNull())
            drawn << "icon";
        QCOMPARE(names, drawn);
    }

    // A badge is a group of its own in front of the design's layers: composed flat, the
    // document is the full-bleed picture with the badge the raster sets draw over it, inside the
    // watch's circle; its dark appearance names a darker badge.
    void badgeIsAGroupInFront() {
        IconDesign design;
        design.text = QStringLiteral("Ab");
        design.textShadow = false;
        const Badge badge{
            .text = "BETA", .style = Badge::Style::Ribbon, .position = Badge::Position::TopRight};
        const QString folder = Written(design, badge);
        QVERIFY(!folder.isEmpty());
        RenderOptions fullBleed;
        fullBleed.fullBleed = true;
        fullBleed.outputSize = QSize(Points, Points);
        QImage expected = ImageTools::RenderIcon(design, fullBleed);
        BadgeArt(badge).Draw(expected, BadgeArea::Circle(QPointF(Points, Points) / 2, Points / 2.0),
                             BadgeLook::Color);
        const double difference = TestImages::MeanAbsoluteDifference(Composed(folder), expected);
        QVERIFY2(difference <= 2.0, qPrintable(QString::number(difference)));

        const QJsonObject root =
            QJsonDocument::fromJson(TestImages::ReadFile(folder + "/icon.json")).object();
        const QJsonValue front = root["groups"][0];
        QCOMPARE(front["name"], QJsonValue("badge"));
        const QJsonValue layer = front["layers"][0];
        const QString light = folder + "/Assets/" + InAppearance(layer, "image-name").toString();
        const QString dark =
            folder + "/Assets/" + InAppearance(layer, "image-name", "dark").toString();
        QVERIFY(light != dark);
        const QImage lightBadge = AssetPicture(light);
        const QImage darkBadge = AssetPicture(dark);
        QCOMPARE(darkBadge.size(), lightBadge.size());
        int plate = 0;
        for (int y = 0; y < lightBadge.height(); y += 4)
            for (int x = 0; x < lightBadge.width(); x += 4) {
                const QColor seen = lightBadge.pixelColor(x, y);
                if (seen.alpha() < 255 || !TestImages::ColorsClose(seen, Badge::DefaultColor(), 2))
                    continue;
                ++plate;
                const QColor darker = darkBadge.pixelColor(x, y);
                QCOMPARE(darker.alpha(), 255);
                QVERIFY2(ColorContrast::RelativeLuminance(darker) <
                             ColorContrast::RelativeLuminance(seen),
                         qPrintable(darker.name()));
            }
        QVERIFY(plate > 100);
    }
};

QTEST_MAIN(IconComposerTest)
#include "tst_IconComposer.moc"
