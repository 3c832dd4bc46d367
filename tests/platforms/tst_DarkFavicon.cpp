// The web set's SVG favicon as a browser shows it: in a light colour scheme exactly the design's
// own SVG document, in a dark one on a darkened background with every glyph colour at least
// 4.5:1 against it and the glyphs that already were left as they are. The dark scheme is taken
// on by lifting the rules out of their media query.

#include "design/ColorContrast.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/SvgWriter.h"

#include <QPainter>
#include <QtTest>

#include <functional>

using TestImages::PixelAt;

namespace {

using Change = std::function<void(IconDesign&)>;

constexpr int kSide = 512;
const QByteArray kDarkQuery = "@media (prefers-color-scheme: dark){";

// Glyphs on the background alone: no shadow or outline to blur the colours measured.
IconDesign BaseDesign() {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = kSide;
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.textShadow = false;
    design.text = QStringLiteral("Ab");
    design.fontSize = 360.0f;
    return design;
}

QByteArray WrittenFavicon(const IconDesign& design) {
    TestImages::ScratchFolder folder;
    QList<PlannedFile> plan = PlatformPlan::Files(
        {PlatformTarget::Web}, MakePlatformSetOptions(design, QStringLiteral("S"), {}));
    plan.removeIf([](const PlannedFile& file) { return file.path != u"web/icon.svg"; });
    if (plan.size() != 1 ||
        !PlatformExport::Run(design, plan, folder.filePath({}), false).AllWritten())
        return {};
    return TestImages::ReadFile(folder.filePath(QStringLiteral("web/icon.svg")));
}

// The document with its dark rules applied unconditionally; empty when it has none.
QByteArray AsInDarkScheme(QByteArray document) {
    const qsizetype query = document.indexOf(kDarkQuery);
    const qsizetype end = document.indexOf("}</style>", query);
    if (query < 0 || end < 0)
        return {};
    return document.remove(end, 1).remove(query, kDarkQuery.size());
}

QImage Drawn(const QByteArray& document) {
    const auto image = SvgImage::Read(document);
    return image ? image->Draw(QSize(kSide, kSide), QTransform())
                       .convertToFormat(QImage::Format_ARGB32)
                 : QImage();
}

// A transparent picture as it shows on a dark tab or page.
QImage OnDarkPage(const QImage& image) {
    QImage page(image.size(), QImage::Format_ARGB32);
    page.fill(ColorContrast::DarkHomeScreen());
    QPainter(&page).drawImage(0, 0, image);
    return page;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class DarkFaviconTest : public QObject {
    Q_OBJECT

private slots:
    void darkLookKeepsGlyphsLegible_data() {
        QTest::addColumn<Change>("change");
        QTest::newRow("navy text outlined in black on white") << Change([](IconDesign& d) {
            d.gradientStartColor = d.gradientEndColor = {1.0, 1.0, 1.0, 1.0};
            d.textColor = {0.1, 0.12, 0.45, 1.0};
            d.textStroke = true;
            d.textStrokeSize = 8.0f;
            d.textStrokeColor = {0.0, 0.0, 0.0, 1.0};
        });
        QTest::newRow("white text on the blue gradient") << Change([](IconDesign&) {});
        QTest::newRow("navy text on a transparent background") << Change([](IconDesign& d) {
            d.transparentBackground = true;
            d.textColor = {0.1, 0.12, 0.45, 1.0};
        });
        QTest::newRow("dark-tinted raster icon, yellow text on a pale gradient")
            << Change([](IconDesign& d) {
                   d.gradientStartColor = {1.0, 0.97, 0.85, 1.0};
                   d.gradientEndColor = {0.98, 0.8, 0.6, 1.0};
                   d.iconImage = TestImages::AsymmetricImage(300, 200);
                   d.useImageColors = false;
                   d.iconColor = {0.35, 0.12, 0.02, 1.0};
                   d.textColor = {1.0, 0.85, 0.1, 1.0};
               });
        QTest::newRow("dark-tinted SVG icon on a mid-grey gradient") << Change([](IconDesign& d) {
            d.gradientStartColor = d.gradientEndColor = {0.6, 0.6, 0.6, 1.0};
            d.text.clear();
            d.iconVector = SvgImage::Read(TestImages::ReadFile(
                QStringLiteral(SIGILON_SOURCE_DIR "/tests/data/tango-dialog-error.svg")));
            d.iconImage = d.iconVector->thumbnail();
            d.useImageColors = false;
            d.iconColor = {0.15, 0.3, 0.2, 1.0};
        });
    }
    void darkLookKeepsGlyphsLegible() {
        QFETCH(Change, change);
        IconDesign design = BaseDesign();
        change(design);
        const QByteArray favicon = WrittenFavicon(design);
        const QImage light = Drawn(favicon);
        QVERIFY(!light.isNull());
        QCOMPARE(TestImages::FirstDifference(light, Drawn(SvgDocument(design)), 0), QString());
        QImage dark = Drawn(AsInDarkScheme(favicon)); // null without dark rules
        QVERIFY(!dark.isNull());
        // Where the glyphs are opaque, their own colours show whatever lies below.
        IconDesign alone = design;
        alone.transparentBackground = true;
        const QImage glyphs = Drawn(SvgDocument(alone));
        QColor ground = ColorContrast::DarkHomeScreen();
        if (design.transparentBackground) {
            dark = OnDarkPage(dark);
        } else {
            // The lightest of the darkened background where no glyph is drawn.
            double lightest = 0.0;
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    const QColor seen = PixelAt(dark, x, y);
                    const double luminance = ColorContrast::RelativeLuminance(seen);
                    if (seen.alpha() == 255 && PixelAt(glyphs, x, y).alpha() == 0 &&
                        luminance > lightest) {
                        lightest = luminance;
                        ground = seen;
                    }
                }
            QVERIFY2(lightest <=
                         ColorContrast::RelativeLuminance(ColorContrast::DarkHomeScreen()) + 0.002,
                     qPrintable(ground.name()));
        }

        // Inside a glyph, away from its edges: one colour over the pixel and its neighbours.
        int glyphPixels = 0;
        for (int y = 1; y < kSide - 1; ++y)
            for (int x = 1; x < kSide - 1; ++x) {
                const QColor drawn = PixelAt(light, x, y);
                bool inside = drawn.alpha() == 255;
                for (const QPoint step :
                     {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                    inside = inside && PixelAt(light, x + step.x(), y + step.y()) == drawn &&
                             PixelAt(glyphs, x + step.x(), y + step.y()).alpha() == 255;
                if (!inside)
                    continue;
                ++glyphPixels;
                const QColor shown = PixelAt(dark, x, y);
                const QString where = QStringLiteral("(%1, %2): ").arg(x).arg(y) + drawn.name() +
                                      " became " + shown.name() + " on " + ground.name();
                if (ColorContrast::Ratio(drawn, ground) >= ColorContrast::LegibleRatio + 0.1)
                    QVERIFY2(shown == drawn, qPrintable(where));
                else
                    QVERIFY2(ColorContrast::Ratio(shown, ground) >=
                                 ColorContrast::LegibleRatio - 0.02,
                             qPrintable(where));
            }
        QVERIFY(glyphPixels > 1000);
    }
};

QTEST_MAIN(DarkFaviconTest)
#include "tst_DarkFavicon.moc"
