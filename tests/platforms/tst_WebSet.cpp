// The web set as a browser and a page author take it: the manifest and head.html as planned
// (each written file's rule is tst_PlannedFileRules' check), and the SVG favicon as written: in
// a light colour scheme the design's own SVG document, in a dark one every glyph colour
// lightened just to 4.5:1 against the darkened background, hue kept (the dark rules lifted out
// of their media query).

#include "design/ColorContrast.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/SvgWriter.h"

#include <QPainter>
#include <QtTest>

using TestDesigns::Change;
using TestImages::PixelAt;

namespace {

Rgba FromHex(const QString& hex) {
    const QColor color(hex);
    return {color.redF(), color.greenF(), color.blueF(), color.alphaF()};
}

// The planned web file of that name, before anything is written; no path when there is none.
PlannedFile Planned(const PlatformSetOptions& options, const QString& name) {
    for (const PlannedFile& file : PlatformPlan::Files({PlatformTarget::Web}, options))
        if (file.path == "web/" + name)
            return file;
    return {};
}

// A design's colours and names, and what its manifest says: the colours at the top and the
// bottom of the icon as theme and background, and the name kept intact, also in head.html (as a
// double-quoted attribute holds it, when that differs).
const struct {
    const char *what, *setName, *appName;
    bool transparent;
    const char *start, *end, *name, *theme, *background, *inHtml = nullptr;
} ManifestRows[] = {
    {"app name given", "AppIcon", "Weather Now", false, "#e4573f", "#1a2b3c", "Weather Now",
     "#e4573f", "#1a2b3c"},
    {"no app name: the set's", "My.App", "", false, "#0080ff", "#004080", "My.App", "#0080ff",
     "#004080"},
    {"spaces around the app name", "x", "  Notes ", false, "#000000", "#ffffff", "Notes", "#000000",
     "#ffffff"},
    {"only spaces: the set's", "x", "   ", false, "#102030", "#405060", "x", "#102030", "#405060"},
    {"transparent background stands on white", "x", "T", true, "#e4573f", "#1a2b3c", "T", "#ffffff",
     "#ffffff"},
    {"invisible colour shows the white below", "x", "T", false, "#00e4573f", "#ff1a2b3c", "T",
     "#ffffff", "#1a2b3c"},
    {"quotes and ampersand", "x", "Tom & \"Jerry's\"", false, "#000000", "#ffffff",
     "Tom & \"Jerry's\"", "#000000", "#ffffff", "Tom &amp; &quot;Jerry's&quot;"},
    {"angle brackets", "x", "<script>x</script>", false, "#000000", "#ffffff", "<script>x</script>",
     "#000000", "#ffffff", "&lt;script&gt;x&lt;/script&gt;"},
    {"backslash, tab and accents", "x", "C:\\Caf\u00e9\tBar", false, "#000000", "#ffffff",
     "C:\\Caf\u00e9\tBar", "#000000", "#ffffff"},
};

// Empty when the text is no JSON object.
QJsonObject Manifest(const QByteArray& text) {
    return QJsonDocument::fromJson(text).object();
}

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

// The SVG favicon as the export writes it; empty when it is not written.
QByteArray WrittenFavicon(const IconDesign& design, const Badge& badge = {}) {
    TestImages::ScratchFolder folder;
    const PlannedFile file = Planned(MakePlatformSetOptions(design, "S", {}, badge), "icon.svg");
    if (!PlatformExport::Run(design, {file}, folder.filePath({}), false).AllWritten())
        return {};
    return TestImages::ReadFile(folder.filePath(file.path));
}

// The document with its dark rules applied unconditionally, each style sheet's; empty when it
// has none.
QByteArray AsInDarkScheme(QByteArray document) {
    if (!document.contains(kDarkQuery))
        return {};
    for (qsizetype query; (query = document.indexOf(kDarkQuery)) >= 0;) {
        const qsizetype end = document.indexOf("}</style>", query);
        if (end < 0)
            return {};
        document.remove(end, 1).remove(query, kDarkQuery.size());
    }
    return document;
}

QImage Drawn(const QByteArray& document) {
    const auto image = SvgImage::Read(document);
    return image ? image->Draw(QSize(kSide, kSide), QTransform())
                       .convertToFormat(QImage::Format_ARGB32)
                 : QImage();
}

// An icon image that names a dark colour in every way a document can, one square each: #rgb,
// rgb() in a style attribute, a keyword in a style sheet, a stroke, gradient stops, a flood,
// currentColor, and a shape that names none (black); and a light square painted through a
// reference that looks like a dark colour.
const char kEveryColorSyntax[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 400 200'>"
    "<style>.keyword{fill:Maroon}</style>"
    "<defs><linearGradient id='a00'><stop offset='0' stop-color='#fed'/><stop offset='1' "
    "stop-color='#fed'/></linearGradient>"
    "<linearGradient id='dark'><stop offset='0' stop-color='#203040'/><stop offset='1' "
    "style='stop-color: #203040'/></linearGradient>"
    "<filter id='flood' x='0' y='0' width='1' height='1'><feFlood "
    "flood-color='navy'/></filter></defs>"
    "<rect x='0' y='0' width='90' height='90' fill='#123'/>"
    "<rect x='100' y='0' width='90' height='90' style='fill:rgb(20%, 10%, 30%)'/>"
    "<rect x='200' y='0' width='90' height='90' class='keyword'/>"
    "<rect x='320' y='20' width='50' height='50' fill='none' stroke='#400' stroke-width='40'/>"
    "<rect x='0' y='100' width='90' height='90' fill='url(#dark)'/>"
    "<rect x='100' y='100' width='90' height='90' filter='url(#flood)'/>"
    "<g color='rgb(60,20,0)'><rect x='200' y='100' width='40' height='90' fill='currentColor'/></g>"
    "<rect x='250' y='100' width='40' height='90'/>"
    "<rect x='300' y='100' width='90' height='90' fill='url(#a00) black'/>"
    "</svg>";

// A transparent picture as it shows on a dark tab or page.
QImage OnDarkPage(const QImage& image) {
    QImage page(image.size(), QImage::Format_ARGB32);
    page.fill(ColorContrast::DarkHomeScreen());
    QPainter(&page).drawImage(0, 0, image);
    return page;
}

} // namespace

class WebSetTest : public QObject {
    Q_OBJECT

private slots:
    void manifestInstallsTheApp_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(ManifestRows)); ++row)
            QTest::newRow(ManifestRows[row].what) << row;
    }
    void manifestInstallsTheApp() {
        QFETCH(int, row);
        const auto& [what, setName, appName, transparent, start, end, name, theme, background,
                     inHtml] = ManifestRows[row];
        IconDesign design;
        design.transparentBackground = transparent;
        design.gradientStartColor = FromHex(start);
        design.gradientEndColor = FromHex(end);
        const PlatformSetOptions options = MakePlatformSetOptions(design, setName, appName);
        const QJsonObject manifest = Manifest(Planned(options, "manifest.webmanifest").text);
        QCOMPARE(manifest.value("name").toString(), name);
        QCOMPARE(manifest.value("short_name").toString(), name);
        QCOMPARE(manifest.value("start_url").toString(), ".");
        QCOMPARE(manifest.value("display").toString(), "standalone");
        QCOMPARE(manifest.value("theme_color").toString(), theme);
        QCOMPARE(manifest.value("background_color").toString(), background);
        const QString head = QString::fromUtf8(Planned(options, "head.html").text);
        for (const QString& meta :
             {QStringLiteral("name=\"theme-color\" content=\"%1\">").arg(theme),
              QStringLiteral("name=\"apple-mobile-web-app-title\" content=\"%1\">")
                  .arg(QString::fromUtf8(inHtml ? inHtml : name))})
            QVERIFY2(head.contains(meta), qPrintable(head));
        // Every tag is one line; a bracket of the name would start or end another.
        const qsizetype lines = head.count(u'\n');
        QCOMPARE(head.count(u'<'), lines);
        QCOMPARE(head.count(u'>'), lines);
    }

    void manifestIconsArePlannedAtTheirSize() {
        const PlatformSetOptions options = MakePlatformSetOptions(IconDesign(), "S", "");
        QStringList listed;
        for (const QJsonValue& value :
             Manifest(Planned(options, "manifest.webmanifest").text).value("icons").toArray()) {
            const QJsonObject icon = value.toObject();
            const PlannedFile file = Planned(options, icon.value("src").toString());
            listed.append(icon.value("purpose").toString() + " " + icon.value("sizes").toString());
            if (file.kind == PlannedFile::Kind::Generated) {
                QCOMPARE(icon.value("type").toString(), "image/svg+xml");
                continue;
            }
            QVERIFY2((file.kind == PlannedFile::Kind::Png ||
                      file.kind == PlannedFile::Kind::OpaquePng) &&
                         file.images.size() == 1,
                     qPrintable(icon.value("src").toString()));
            QCOMPARE(icon.value("type").toString(), "image/png");
            QCOMPARE(icon.value("sizes").toString(), QStringLiteral("%1x%2")
                                                         .arg(file.images.first().pixels)
                                                         .arg(file.images.first().Height()));
        }
        listed.sort();
        QCOMPARE(listed, (QStringList{"any 192x192", "any 512x512", "any any", "maskable 192x192",
                                      "maskable 512x512", "monochrome 512x512"}));
    }

    void headUsesTheSetsOwnFiles() {
        const PlatformSetOptions options = MakePlatformSetOptions(IconDesign(), "S", "");
        const QString head = QString::fromUtf8(Planned(options, "head.html").text);
        static const QRegularExpression link(
            QStringLiteral("<link rel=\"([^\"]+)\" href=\"([^\"]+)\""));
        QStringList rels;
        for (const QRegularExpressionMatch& match : link.globalMatch(head)) {
            const QString href = match.captured(2);
            QVERIFY2(!href.contains(u'/') && !Planned(options, href).path.isEmpty(),
                     qPrintable(href));
            rels.append(match.captured(1) + " " + href);
        }
        rels.sort();
        QCOMPARE(rels, (QStringList{"apple-touch-icon apple-touch-icon.png", "icon favicon.ico",
                                    "icon icon.svg", "manifest manifest.webmanifest"}));
        QVERIFY(head.contains("href=\"icon.svg\" type=\"image/svg+xml\""));
        QVERIFY(head.contains("href=\"favicon.ico\" sizes=\"32x32\""));
    }

    void darkLookKeepsGlyphsLegible_data() {
        QTest::addColumn<Change>("change");
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
        QTest::newRow("navy text with a dark red outline on white") << Change([](IconDesign& d) {
            d.gradientStartColor = d.gradientEndColor = {1.0, 1.0, 1.0, 1.0};
            d.textColor = {0.1, 0.12, 0.45, 1.0};
            d.textStroke = true;
            d.textStrokeSize = 14.0f;
            d.textStrokeColor = {0.55, 0.0, 0.05, 1.0};
        });
        QTest::newRow("dark grey symbol in its own colours") << Change([](IconDesign& d) {
            TestDesigns::UseSvgIcon(d, "adwaita-appearance-symbolic.svg");
            d.iconScale = 60.0f;
        });
        QTest::newRow("raster icon in its own colours on transparent") << Change([](IconDesign& d) {
            d.transparentBackground = true;
            d.text.clear();
            d.iconImage = TestDesigns::RasterIcon();
        });
        QTest::newRow("dark colours named every way, pale gradient") << Change([](IconDesign& d) {
            d.gradientStartColor = {1.0, 0.97, 0.85, 1.0};
            d.gradientEndColor = {0.98, 0.8, 0.6, 1.0};
            d.text.clear();
            d.iconVector = SvgImage::Read(kEveryColorSyntax);
            d.iconImage = d.iconVector->thumbnail();
        });
        QTest::newRow("dark-tinted SVG icon on a mid-grey gradient") << Change([](IconDesign& d) {
            d.gradientStartColor = d.gradientEndColor = {0.6, 0.6, 0.6, 1.0};
            d.text.clear();
            TestDesigns::UseSvgIcon(d, "tango-dialog-error.svg");
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
        QSet<QRgb> measured;
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
                measured.insert(drawn.rgb());
                if (ColorContrast::Ratio(drawn, ground) >= ColorContrast::LegibleRatio + 0.1) {
                    QVERIFY2(shown == drawn, qPrintable(where));
                    continue;
                }
                // Lightened just enough, its hue kept (in OKLCH, which HSV follows within 30
                // degrees).
                const double ratio = ColorContrast::Ratio(shown, ground);
                QVERIFY2(ratio >= ColorContrast::LegibleRatio - 0.02 &&
                             ratio <= ColorContrast::LegibleRatio + 0.25,
                         qPrintable(where));
                if (drawn.hsvSaturationF() > 0.3)
                    QVERIFY2(qAbs(std::remainder(shown.hsvHueF() - drawn.hsvHueF(), 1.0)) <
                                 30.0 / 360,
                             qPrintable(where));
            }
        QVERIFY(glyphPixels > 1000);
        // The text's colours among those measured, so its fill and its outline were both judged.
        if (!design.text.isEmpty())
            QVERIFY(measured.contains(design.textColor.toQColor().rgb()));
        if (!design.text.isEmpty() && design.textStroke)
            QVERIFY(measured.contains(design.textStrokeColor.toQColor().rgb()));
    }

    // A badge in the SVG favicon is vector, in its colour, and the dark rule darkens its plate
    // as the dark icons do; the design's own look is drawn as before around it.
    void faviconBadgeFollowsTheDarkRule() {
        const IconDesign design = BaseDesign();
        const QByteArray favicon = WrittenFavicon(design, Badge{.text = "BETA"});
        QVERIFY(!favicon.contains("<image"));
        const QImage light = Drawn(favicon);
        const QImage dark = Drawn(AsInDarkScheme(favicon));
        const QImage plain = Drawn(WrittenFavicon(design));
        QVERIFY(!light.isNull() && !dark.isNull());
        int plate = 0;
        int unchanged = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const QColor seen = PixelAt(light, x, y);
                unchanged += seen == PixelAt(plain, x, y);
                if (!TestImages::ColorsClose(seen, Badge::DefaultColor(), 2))
                    continue;
                ++plate;
                const QColor darker = PixelAt(dark, x, y);
                QVERIFY2(darker.alpha() == 255 && ColorContrast::RelativeLuminance(darker) <
                                                      ColorContrast::RelativeLuminance(seen),
                         qPrintable(darker.name()));
            }
        QVERIFY(plate > 1000);
        QVERIFY(unchanged > kSide * kSide * 3 / 4);
    }
};

QTEST_MAIN(WebSetTest)
#include "tst_WebSet.moc"
