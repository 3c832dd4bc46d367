// Every file that every platform target plans, checked against one table of the rules the
// platforms document for it; then the same files read as the consuming tools read them: the
// launcher XML through Qt's parser, the containers through the test's own readers.

#include "design/ColorContrast.h"
#include "helpers/PlatformRun.h"
#include "helpers/TestImages.h"
#include "platforms/AndroidDensities.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/IconContainerReader.h"
#include "render/ImageTools.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <functional>

using TestImages::PixelAt;

namespace {

enum Look : unsigned {
    Opaque = 1,          // no transparent pixel anywhere
    NoAlpha = 2,         // a PNG without alpha channel, as the stores demand
    Round = 4,           // a full-bleed circle: clear corners, opaque at the middle of each edge
    GlyphsOnly = 8,      // icon and text on transparent: clear corners
    AdaptiveZone = 16,   // glyphs only inside the central 66 of 108 units
    MaskableZone = 32,   // the design inside the central 80 % circle, the backdrop outside it
    MacBody = 64,        // the macOS grid's body: 824 of 1024 centred, rounded, with a shadow below
    DarkLegible = 128,   // every opaque pixel at least 4.5:1 against the dark home screen
    TintedGray = 256,    // gray glyphs, brightest white, none under 35 % gray
    WideGlyph = 512,     // the glyphs as high as in the square tile of that height, not stretched
    Container = 1024,    // an icns or ico container: checked by its own reader
    Text = 2048,         // JSON or XML (SVG too: its own test reads it)
    White = 4096,        // a silhouette: white wherever drawn, as a theme takes only its coverage
    DesignGround = 8192, // around the glyphs, the design's full-bleed background at that size
    Layer = 16384,       // an asset of a layered document, checked with the document
    DarkTaskbar = 32768, // every opaque pixel at least 4.5:1 against the dark taskbar
    LightTaskbar = 65536,      // every opaque pixel at least 4.5:1 against the light taskbar
    HomeScreenGround = 131072, // the dark home screen's colour around glyphs placed as the light
                               // picture of the same name without "-dark" places them
    SplashCircle = 262144,     // glyphs only inside the central circle of 192 of 288 units
    GlyphSilhouette = 524288,  // the glyphs' coverage without the shadows they cast
};

struct Rule {
    const char* pattern; // the file's path, as a regular expression
    int width;           // in units, times the scale the pattern's first capture gives
    int height;
    const char* scaling; // "x": capture 1 is a pixel size; "%": a percentage; "@": capture 1
                         // points at capture 2's scale; "dpi": a density bucket; "": none
    unsigned looks;
};

// The rules as the platforms document them. A scaled size is units x scale, rounded.
const Rule Rules[] = {
    // Xcode asset catalog
    {R"(AppIcon\.appiconset/icon-ios-1024\.png)", 1024, 1024, "", Opaque | NoAlpha},
    {R"(AppIcon\.appiconset/icon-ios-1024-dark\.png)", 1024, 1024, "", GlyphsOnly | DarkLegible},
    {R"(AppIcon\.appiconset/icon-ios-1024-tinted\.png)", 1024, 1024, "", GlyphsOnly | TintedGray},
    {R"(AppIcon\.appiconset/icon-watchos-1024\.png)", 1024, 1024, "", Opaque | NoAlpha},
    {R"(AppIcon\.appiconset/icon-mac-(\d+)\.png)", 1, 1, "x", MacBody},
    {R"(AppIcon\.appiconset/icon-mac-(\d+)@2x\.png)", 2, 2, "x", MacBody},
    {R"(AppIcon\.appiconset/Contents\.json)", 0, 0, "", Text},
    {R"(AppIcon\.icns)", 0, 0, "", Container},
    {R"(AppIcon\.ico)", 0, 0, "", Container},
    // Android launcher
    {R"(android/res/mipmap-(\w+)/ic_launcher\.png)", 48, 48, "dpi", 0},
    {R"(android/res/mipmap-(\w+)/ic_launcher_round\.png)", 48, 48, "dpi", Round},
    {R"(android/res/mipmap-(\w+)/ic_launcher_background\.png)", 108, 108, "dpi", Opaque},
    {R"(android/res/mipmap-(\w+)/ic_launcher_foreground\.png)", 108, 108, "dpi",
     GlyphsOnly | AdaptiveZone},
    {R"(android/res/mipmap-(\w+)/ic_launcher_monochrome\.png)", 108, 108, "dpi",
     GlyphsOnly | AdaptiveZone | White | GlyphSilhouette},
    {R"(android/res/mipmap-anydpi-v26/ic_launcher(_round)?\.xml)", 0, 0, "", Text},
    {R"(android/play-store-512\.png)", 512, 512, "", Opaque},
    {R"(android/res/drawable-(\w+)/splash_icon\.png)", 288, 288, "dpi", GlyphsOnly | SplashCircle},
    // Web
    {R"(web/favicon\.ico)", 0, 0, "", Container},
    {R"(web/apple-touch-icon\.png)", 180, 180, "", Opaque},
    {R"(web/icon-(\d+)\.png)", 1, 1, "x", 0},
    {R"(web/icon-maskable-(\d+)\.png)", 1, 1, "x", Opaque | MaskableZone},
    {R"(web/icon-monochrome-512\.png)", 512, 512, "",
     GlyphsOnly | AdaptiveZone | White | GlyphSilhouette},
    {R"(web/manifest\.webmanifest)", 0, 0, "", Text},
    {R"(web/head\.html)", 0, 0, "", Text},
    {R"(web/icon\.svg)", 0, 0, "", Text},
    // Linux
    {R"(linux/hicolor/(\d+)x\d+/apps/AppIcon\.png)", 1, 1, "x", 0},
    // Windows Store tiles
    {R"(msix/Assets/Square44x44Logo\.scale-(\d+)\.png)", 44, 44, "%", Opaque},
    {R"(msix/Assets/Square44x44Logo\.targetsize-(\d+)\.png)", 1, 1, "x", Opaque},
    {R"(msix/Assets/Square44x44Logo\.targetsize-(\d+)_altform-unplated\.png)", 1, 1, "x",
     GlyphsOnly | DarkTaskbar},
    {R"(msix/Assets/Square44x44Logo\.targetsize-(\d+)_altform-lightunplated\.png)", 1, 1, "x",
     GlyphsOnly | LightTaskbar},
    {R"(msix/Assets/Square71x71Logo\.scale-(\d+)\.png)", 71, 71, "%", Opaque},
    {R"(msix/Assets/Square150x150Logo\.scale-(\d+)\.png)", 150, 150, "%", Opaque},
    {R"(msix/Assets/Square310x310Logo\.scale-(\d+)\.png)", 310, 310, "%", Opaque},
    {R"(msix/Assets/StoreLogo\.scale-(\d+)\.png)", 50, 50, "%", Opaque},
    {R"(msix/Assets/Wide310x150Logo\.scale-(\d+)\.png)", 310, 150, "%",
     Opaque | WideGlyph | DesignGround},
    {R"(msix/Assets/SplashScreen\.scale-(\d+)\.png)", 620, 300, "%",
     Opaque | WideGlyph | DesignGround},
    // Splash screens
    {R"(splash/splash-2732x2732\.png)", 2732, 2732, "", Opaque | NoAlpha | DesignGround},
    {R"(splash/splash-2732x2732-dark\.png)", 2732, 2732, "", Opaque | NoAlpha | HomeScreenGround},
    // Tauri
    {R"(tauri/(\d+)x\d+\.png)", 1, 1, "x", 0},
    {R"(tauri/128x128@2x\.png)", 256, 256, "", 0},
    {R"(tauri/icon\.png)", 512, 512, "", 0},
    {R"(tauri/icon\.(icns|ico))", 0, 0, "", Container},
    {R"(tauri/Square(\d+)x\d+Logo\.png)", 1, 1, "x", Opaque},
    {R"(tauri/StoreLogo\.png)", 50, 50, "", Opaque},
    {R"(tauri/ios/AppIcon-(\d+(?:\.5)?)x\1@(\d)x(-1)?\.png)", 1, 1, "@", Opaque | NoAlpha},
    {R"(tauri/ios/AppIcon-512@2x\.png)", 1024, 1024, "", Opaque | NoAlpha},
    {R"(tauri/android/mipmap-(\w+)/ic_launcher\.png)", 48, 48, "dpi", 0},
    {R"(tauri/android/mipmap-(\w+)/ic_launcher_round\.png)", 48, 48, "dpi", Round},
    {R"(tauri/android/mipmap-(\w+)/ic_launcher_foreground\.png)", 108, 108, "dpi",
     GlyphsOnly | AdaptiveZone},
    {R"(tauri/android/mipmap-anydpi-v26/ic_launcher\.xml)", 0, 0, "", Text},
    {R"(tauri/android/values/ic_launcher_background\.xml)", 0, 0, "", Text},
    // Icon Composer
    {R"(AppIcon\.icon/icon\.json)", 0, 0, "", Text},
    {R"(AppIcon\.icon/Assets/(text|icon)(-dark)?\.(svg|png))", 0, 0, "", Layer},
};

// The rule's size scaled as the file's path says: by a pixel size, a percentage, points at a
// scale or one of Android's density buckets.
QSize PlannedSize(const Rule& rule, const QRegularExpressionMatch& match) {
    auto density = [](const QString& name) {
        for (const AndroidDensity& density : AndroidDensities)
            if (name == QLatin1String(density.name))
                return density.quarterPixels / 4.0;
        return 0.0;
    };
    const QString scaling = QString::fromLatin1(rule.scaling);
    const double scale = scaling == "x"   ? match.captured(1).toDouble()
                         : scaling == "%" ? match.captured(1).toDouble() / 100.0
                         : scaling == "@" ? match.captured(1).toDouble() * match.captured(2).toInt()
                         : scaling == "dpi" ? density(match.captured(1))
                                            : 1.0;
    return {int(std::lround(rule.width * scale)), int(std::lround(rule.height * scale))};
}

// A square design whose glyphs keep to the middle of the canvas (within the adaptive safe
// zone once inset): a navy text too dark for the dark home screen and a red and blue icon.
IconDesign RulesDesign() {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = 1024.0f;
    design.iconImage = TestImages::AsymmetricImage(200, 160);
    design.text = QStringLiteral("Ab");
    design.fontSize = 200.0f;
    design.textVerticalOffset = -320.0f; // from the top, downwards: about the middle
    design.textColor = {0.1, 0.12, 0.45, 1.0};
    return design;
}

// The rules design, or the "spilling" one: an icon image over most of the canvas (a raster is
// drawn at its own pixel size) whose corners reach past every round safe zone, so the sets that
// have one fit the glyphs into it.
IconDesign DesignNamed(const QString& name) {
    IconDesign design = RulesDesign();
    if (name == u"spilling") {
        design.iconImage = TestImages::AsymmetricImage(1024, 1024);
        design.iconScale = 85.0f;
    }
    return design;
}

// The bounding box of the pixels that differ from their row's first pixel: the glyphs on a
// vertical gradient.
QRect GlyphBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const QColor edge = PixelAt(image, 0, y);
        for (int x = 0; x < image.width(); ++x)
            if (!TestImages::ColorsClose(PixelAt(image, x, y), edge, 24))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

// The design's sets of those targets, under that name, written into the folder.
PlatformExport::Result ExportSets(const IconDesign& design, const QList<PlatformTarget>& targets,
                                  const QString& folder, const QString& name = "S") {
    return PlatformExport::Run(
        design, PlatformPlan::Files(targets, MakePlatformSetOptions(design, name, {})), folder,
        false);
}

QImage ReadImage(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

QImage Composed(const QImage& bottom, const QImage& top) {
    QImage result = bottom.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.drawImage(0, 0, top);
    return result;
}

} // namespace

class PlannedFileRulesTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_folder;
    QList<PlannedFile> m_plan;

    // Each design's sets are written into a folder of the design's name.
    QString PathOf(const QString& design, const QString& relative) const {
        return m_folder.filePath(design + u'/' + relative);
    }
    QString Path(const QString& relative) const { return PathOf("rules", relative); }

    // The value of the colour `name` among the resources in `root`values/, read as Android
    // reads them; empty when no well-formed file there defines it.
    QString ColorResource(const QString& root, const QString& name) const {
        const QDir values(Path(root + "values"));
        for (const QString& file : values.entryList({"*.xml"}, QDir::Files)) {
            QXmlStreamReader xml(TestImages::ReadFile(values.filePath(file)));
            if (!xml.readNextStartElement() || xml.name() != u"resources")
                continue;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"color" && xml.attributes().value("name") == name)
                    return xml.readElementText();
                xml.skipCurrentElement();
            }
        }
        return {};
    }

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        m_plan = PlatformPlan::Files(PlatformTargets::AllPlatformSets(),
                                     MakePlatformSetOptions(RulesDesign(), "AppIcon", {}));
        for (const QString name : {"rules", "spilling"}) {
            const PlatformExport::Result result = ExportSets(
                DesignNamed(name), PlatformTargets::AllPlatformSets(), PathOf(name, ""), "AppIcon");
            QVERIFY(result.AllWritten());
            const QString notes = result.notes.join(u'\n');
            if (name == u"rules") {
                // A design inside every safe zone keeps its placement: no note but that the
                // largest files are enlarged.
                QVERIFY2(result.notes.size() == 1 && notes.contains("enlarged"), qPrintable(notes));
                continue;
            }
            // The spilling glyphs are fitted, and the user is told where and how much: an image
            // of 85 % of the canvas reaches 1.2 times the canvas's inscribed circle.
            for (const char* zone : {"adaptive", "maskable", "splash"}) {
                const QRegularExpression told(QStringLiteral("scaled to (\\d+) % to fit [^\n]*") +
                                              QLatin1String(zone));
                const QRegularExpressionMatch match = told.match(notes);
                QVERIFY2(match.hasMatch(), qPrintable(notes));
                QVERIFY2(match.captured(1).toInt() < 85, qPrintable(notes));
            }
        }
    }

    // Every rule describes at least one planned file: a target that stops writing a file is
    // caught as surely as one that writes a file no rule knows.
    void everyRuleIsPlanned() {
        for (const Rule& rule : Rules) {
            const QRegularExpression pattern(QRegularExpression::anchoredPattern(rule.pattern));
            QVERIFY2(
                std::any_of(m_plan.begin(), m_plan.end(),
                            [&](const PlannedFile& f) { return pattern.match(f.path).hasMatch(); }),
                rule.pattern);
        }
    }

    // The files the platforms' own guides name, each planned: the taskbar's exact sizes for a
    // Windows Store app, and what a Tauri project's iOS and Android folders take.
    void platformNamedFilesArePlanned_data() {
        QTest::addColumn<QStringList>("paths");
        QStringList msix;
        for (int pixels : {16, 20, 24, 30, 32, 36, 40, 48, 60, 64, 72, 80, 96, 256})
            for (const char* form : {"", "_altform-unplated", "_altform-lightunplated"})
                msix << QStringLiteral("msix/Assets/Square44x44Logo.targetsize-%1%2.png")
                            .arg(pixels)
                            .arg(form);
        QTest::newRow("msix target sizes") << msix;
        QStringList ios{"tauri/ios/AppIcon-512@2x.png"};
        for (const char* points : {"20x20", "29x29", "40x40"})
            for (const char* scale : {"1x", "2x", "2x-1", "3x"})
                ios << QStringLiteral("tauri/ios/AppIcon-%1@%2.png").arg(points, scale);
        for (const char* name : {"60x60@2x", "60x60@3x", "76x76@1x", "76x76@2x", "83.5x83.5@2x"})
            ios << QStringLiteral("tauri/ios/AppIcon-%1.png").arg(name);
        QTest::newRow("tauri ios") << ios;
        QStringList android{"tauri/android/mipmap-anydpi-v26/ic_launcher.xml",
                            "tauri/android/values/ic_launcher_background.xml"};
        for (const AndroidDensity& density : AndroidDensities)
            for (const char* name : {"ic_launcher", "ic_launcher_round", "ic_launcher_foreground"})
                android << QStringLiteral("tauri/android/mipmap-%1/%2.png").arg(density.name, name);
        QTest::newRow("tauri android") << android;
    }
    void platformNamedFilesArePlanned() {
        QFETCH(QStringList, paths);
        QSet<QString> planned;
        for (const PlannedFile& file : m_plan)
            planned.insert(file.path);
        for (const QString& path : paths)
            QVERIFY2(planned.contains(path), qPrintable(path));
    }

    void plannedFileFollowsItsRule_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("path");
        for (const QString name : {"rules", "spilling"})
            for (const PlannedFile& file : m_plan)
                QTest::newRow(qPrintable(name + u' ' + file.path)) << name << file.path;
    }
    void plannedFileFollowsItsRule() {
        QFETCH(QString, design);
        QFETCH(QString, path);
        QRegularExpressionMatch match;
        const Rule* rule = std::find_if(std::begin(Rules), std::end(Rules), [&](const Rule& r) {
            match = QRegularExpression(QRegularExpression::anchoredPattern(r.pattern)).match(path);
            return match.hasMatch();
        });
        QVERIFY2(rule != std::end(Rules), "no rule for this file");
        const QString file = PathOf(design, path);
        QVERIFY(QFileInfo(file).isFile());
        if (rule->looks & (Text | Container | Layer))
            return;

        const QImage image = ReadImage(file);
        QCOMPARE(image.size(), PlannedSize(*rule, match));
        const int w = image.width();
        const int h = image.height();
        // At a fraction of the width and the height, clamped to the picture.
        auto alpha = [&](QPointF at) {
            return PixelAt(image, std::clamp(int(at.x() * w), 0, w - 1),
                           std::clamp(int(at.y() * h), 0, h - 1))
                .alpha();
        };
        auto firstPixel = [&](const std::function<bool(int, int, QColor)>& bad) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (const QColor c = PixelAt(image, x, y); bad(x, y, c))
                        return QString::asprintf("(%d, %d) is %s", x, y,
                                                 qPrintable(c.name(QColor::HexArgb)));
            return QString();
        };

        // What no pixel may be, for each look that forbids something anywhere in the picture.
        const auto fromCentre = [&](int x, int y) {
            return std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0);
        };
        int brightest = 0; // of the opaque pixels, for a tinted icon
        const auto illegibleOn = [](QColor ground) {
            return [ground](int, int, QColor c) {
                return c.alpha() == 255 &&
                       ColorContrast::Ratio(c, ground) < ColorContrast::LegibleRatio;
            };
        };
        const std::pair<Look, std::function<bool(int, int, QColor)>> bans[] = {
            {Opaque, [](int, int, QColor c) { return c.alpha() != 255; }},
            // The launcher keeps whole only the central circle of 66 of 108 units; a shadow's
            // last few percent are not content.
            {AdaptiveZone,
             [&](int x, int y, QColor c) {
                 return c.alpha() >= 16 && fromCentre(x, y) > w * 33.0 / 108.0 + 1.0;
             }},
            // Outside the central 80 % circle only the backdrop, a vertical gradient.
            {MaskableZone,
             [&](int x, int y, QColor c) {
                 return fromCentre(x, y) > w * 0.4 + 1.0 &&
                        !TestImages::ColorsClose(c, PixelAt(image, 0, y), 3);
             }},
            {DarkLegible, illegibleOn(ColorContrast::DarkHomeScreen())},
            {DarkTaskbar, illegibleOn(ColorContrast::DarkTaskbar())},
            {LightTaskbar, illegibleOn(ColorContrast::LightTaskbar())},
            // The splash screen shows only the central circle of 192 of 288 units.
            {SplashCircle,
             [&](int x, int y, QColor c) {
                 return c.alpha() >= 16 && fromCentre(x, y) > w * 96.0 / 288.0 + 1.0;
             }},
            {White,
             [](int, int, QColor c) { return c.alpha() > 0 && c.rgb() != qRgb(255, 255, 255); }},
            {TintedGray,
             [&](int, int, QColor c) {
                 if (c.alpha() == 255)
                     brightest = std::max(brightest, c.red());
                 return c.alpha() > 0 && (c.red() != c.green() || c.green() != c.blue() ||
                                          (c.alpha() == 255 && c.red() < 89));
             }},
        };
        for (const auto& [look, bad] : bans)
            if (rule->looks & look)
                QCOMPARE(firstPixel(bad), QString());
        if (rule->looks & TintedGray)
            QCOMPARE(brightest, 255);
        if (rule->looks & NoAlpha)
            QCOMPARE(IconContainerReader::PngColorType(TestImages::ReadFile(file)), 2);
        if (rule->looks & (Round | GlyphsOnly)) {
            for (const QPointF corner :
                 {QPointF(0, 0), QPointF(1, 0), QPointF(0, 1), QPointF(1, 1)})
                QCOMPARE(alpha(corner), 0);
        }
        if (rule->looks & Round) {
            // Full bleed up to the circle: its middle at each edge is covered.
            for (const QPointF at :
                 {QPointF(0.5, 0.02), QPointF(0.02, 0.5), QPointF(0.98, 0.5), QPointF(0.5, 0.98)})
                QVERIFY(alpha(at) > 200);
        }
        if (rule->looks & MacBody) {
            // 100 of 1024 units of margin on every side; the body's edges opaque at their
            // middles, its corners rounded off, its shadow below it only.
            const double margin = 100.0 / 1024.0;
            const double inside = margin + 2.0 / w;
            const double outside = margin - 2.0 / w;
            for (const QPointF at : {QPointF(0.5, inside), QPointF(inside, 0.5),
                                     QPointF(1 - inside, 0.5), QPointF(0.5, 1 - inside)})
                QCOMPARE(alpha(at), 255);
            if (w >= 64) {
                for (const QPointF at : {QPointF(0.5, outside), QPointF(outside, 0.5),
                                         QPointF(1 - outside, 0.5), QPointF(inside, inside)})
                    QVERIFY(alpha(at) < 80);
                // The shadow falls below the body.
                QVERIFY(alpha(QPointF(0.5, 1 - outside)) > alpha(QPointF(0.5, outside)));
            }
            QCOMPARE(alpha(QPointF(0.01, 0.01)), 0);
        }
        if (rule->looks & WideGlyph) {
            // The glyphs' box has the same shape and the same share of the height as in the
            // largest square tile, and sits in the middle: each measure in heights.
            const auto measures = [](const QImage& picture) {
                const QRect box = GlyphBox(picture);
                const double height = picture.height();
                return QList<double>{box.height() / height, box.width() / height,
                                     (box.center().x() - picture.width() / 2.0) / height};
            };
            const QList<double> wide = measures(image);
            const QList<double> square =
                measures(ReadImage(PathOf(design, "msix/Assets/Square310x310Logo.scale-400.png")));
            QVERIFY(wide[0] > 0 && square[0] > 0);
            for (int i = 0; i < 3; ++i)
                QVERIFY2(std::abs(wide[i] - square[i]) < 3.0 / h,
                         qPrintable(QStringLiteral("%1 against %2").arg(wide[i]).arg(square[i])));
        }
        if (rule->looks & DesignGround) {
            RenderOptions options;
            options.layers = RenderOptions::Layers::Background;
            options.fullBleed = true;
            options.outputSize = image.size();
            const QImage ground = ImageTools::RenderIcon(DesignNamed(design), options)
                                      .convertToFormat(QImage::Format_ARGB32);
            // The glyphs and their soft shadows keep to the central square of the height's
            // side, and never reach the top or bottom row.
            const QRect glyphs((w - h) / 2, 1, h, h - 2);
            QCOMPARE(firstPixel([&](int x, int y, QColor c) {
                         return !glyphs.contains(x, y) &&
                                !TestImages::ColorsClose(c, PixelAt(ground, x, y), 1);
                     }),
                     QString());
        }
        if (rule->looks & HomeScreenGround) {
            // The edges are the dark home screen; the glyphs stand where the light picture has
            // them.
            const QColor ground = ColorContrast::DarkHomeScreen();
            for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1),
                                        QPoint(w - 1, h - 1), QPoint(w / 2, 0)})
                QCOMPARE(PixelAt(image, corner.x(), corner.y()), ground);
            const QRect dark = GlyphBox(image);
            const QRect light = GlyphBox(ReadImage(QString(file).replace("-dark.png", ".png")));
            QVERIFY(!dark.isEmpty());
            for (const auto& [a, b] : {std::pair{dark.left(), light.left()},
                                       {dark.top(), light.top()},
                                       {dark.right(), light.right()},
                                       {dark.bottom(), light.bottom()}})
                QVERIFY2(std::abs(a - b) <= 3,
                         qPrintable(QStringLiteral("%1 against %2").arg(a).arg(b)));
        }
        if ((rule->looks & GlyphSilhouette) && design == u"rules") {
            // The glyphs' coverage as drawn without any shadow: the rules design keeps inside
            // the safe zone, so its glyphs are not scaled.
            IconDesign unshaded = RulesDesign();
            unshaded.iconShadow = unshaded.textShadow = false;
            RenderOptions options;
            options.layers = RenderOptions::Layers::Glyphs;
            options.insetFraction = 72.0 / 108.0;
            options.outputSize = image.size();
            const QImage glyphs =
                ImageTools::RenderIcon(unshaded, options).convertToFormat(QImage::Format_ARGB32);
            // Drawn at its own size rather than scaled from the largest, the edges differ a
            // little; a shadow would add a quarter to the coverage.
            double coverage = 0.0;
            double glyphCoverage = 0.0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    coverage += PixelAt(image, x, y).alpha();
                    glyphCoverage += PixelAt(glyphs, x, y).alpha();
                }
            QVERIFY2(std::abs(coverage / glyphCoverage - 1.0) < 0.02,
                     qPrintable(QString::number(coverage / glyphCoverage)));
        }
    }

    // Each entry of the catalog names a written square picture of its size and carries the
    // keys its idiom needs (a scaled idiom names its scale even at 1x); together they are
    // every idiom, platform and appearance the catalog should hold.
    void catalogNamesItsPictures() {
        const QString folder = Path("AppIcon.appiconset/");
        const QJsonObject contents =
            QJsonDocument::fromJson(TestImages::ReadFile(folder + "Contents.json")).object();
        QCOMPARE(contents.value("info")["version"].toInt(), 1);
        QStringList kinds;
        for (const QJsonValue& value : contents.value("images").toArray()) {
            const QJsonObject entry = value.toObject();
            const QString scale = entry.value("scale").toString();
            if (entry.value("idiom") == "mac")
                QVERIFY2(QRegularExpression("^[12]x$").match(scale).hasMatch(), qPrintable(scale));
            else
                QVERIFY(entry.contains("platform"));
            const QString size = entry.value("size").toString();
            const int pixels =
                size.section(u'x', 0, 0).toInt() * (scale.isEmpty() ? 1 : scale.chopped(1).toInt());
            QCOMPARE(size, QStringLiteral("%1x%1").arg(size.section(u'x', 0, 0)));
            QCOMPARE(QImage(folder + entry.value("filename").toString()).size(),
                     QSize(pixels, pixels));
            kinds.append(QStringLiteral("%1 %2 %3 %4")
                             .arg(entry.value("idiom").toString(),
                                  entry.value("platform").toString(),
                                  entry.value("appearances")[0]["value"].toString())
                             .arg(pixels));
        }
        kinds.sort();
        QCOMPARE(kinds, (QStringList{"mac   1024", "mac   128", "mac   16", "mac   256",
                                     "mac   256", "mac   32", "mac   32", "mac   512", "mac   512",
                                     "mac   64", "universal ios  1024", "universal ios dark 1024",
                                     "universal ios tinted 1024", "universal watchos  1024"}));
    }

    // Legibility and gray levels are checked with every planned file's rules above; here, that the
    // dark and tinted icons keep only the glyphs, dark ones along their own hues.
    void darkAndTintedKeepTheGlyphsHues() {
        const QImage dark = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-tinted.png"));
        // Left of the centre only the background; below the text the icon is red left of x 512,
        // blue right of it.
        const QPoint background(150, 512), red(450, 570), blue(570, 570);
        QCOMPARE(dark.pixelColor(background).alpha(), 0);
        QCOMPARE(tinted.pixelColor(background).alpha(), 0);
        const int redHue = dark.pixelColor(red).hsvHue();
        QVERIFY2(redHue <= 10 || redHue >= 350, qPrintable(QString::number(redHue)));
        QVERIFY(qAbs(dark.pixelColor(blue).hsvHue() - 240) <= 25);
        QVERIFY(tinted.pixelColor(red).red() > tinted.pixelColor(blue).red());
    }

    // Without icon or text every picture that shows the glyphs alone shows the background's
    // shape instead: white in the dark icon, the launcher's foreground and the monochrome
    // layers, gray in the tinted icon, always inside the launcher's safe zone; the user is told.
    void designWithoutGlyphsGivesSilhouettes() {
        IconDesign design = PlatformRun::SmallDesign();
        design.text.clear();
        TestImages::ScratchFolder folder;
        const PlatformExport::Result result = ExportSets(
            design, {PlatformTarget::Xcode, PlatformTarget::Android, PlatformTarget::Web},
            folder.filePath(""));
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes.size(), 2); // the silhouettes, the enlargement past the canvas
        QVERIFY2(result.notes[0].contains("silhouette"), qPrintable(result.notes[0]));
        const QImage dark = ReadImage(folder.filePath("S.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(folder.filePath("S.appiconset/icon-ios-1024-tinted.png"));
        QCOMPARE(PixelAt(dark, 512, 512), QColor(Qt::white));
        QCOMPARE(PixelAt(dark, 0, 0).alpha(), 0);
        QCOMPARE(PixelAt(tinted, 512, 512), QColor(128, 128, 128));
        QCOMPARE(PixelAt(tinted, 0, 0).alpha(), 0);
        for (const char* layer : {"android/res/mipmap-xxxhdpi/ic_launcher_foreground.png",
                                  "android/res/mipmap-xxxhdpi/ic_launcher_monochrome.png",
                                  "web/icon-monochrome-512.png"}) {
            const QImage picture = ReadImage(folder.filePath(layer));
            const int w = picture.width();
            QCOMPARE(PixelAt(picture, w / 2, w / 2), QColor(Qt::white));
            const int outside = TestImages::Count(picture, [&](int x, int y) {
                return PixelAt(picture, x, y).alpha() >= 16 &&
                       std::hypot(x + 0.5 - w / 2.0, y + 0.5 - w / 2.0) > w * 33.0 / 108.0 + 1.0;
            });
            QVERIFY2(outside == 0, layer);
        }
    }

    // A transparent design's opaque pictures stand on the plate its glyphs read best on, and
    // the web manifest names the same colour, so the splash screen continues the icon.
    void transparentDesignStandsOnAReadablePlate_data() {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("plate");
        QTest::newRow("white text") << QColor(Qt::white) << ColorContrast::DarkHomeScreen();
        QTest::newRow("navy text") << QColor(26, 31, 115) << QColor(Qt::white);
    }
    void transparentDesignStandsOnAReadablePlate() {
        QFETCH(QColor, text);
        QFETCH(QColor, plate);
        IconDesign design = PlatformRun::SmallDesign();
        design.transparentBackground = true;
        design.textColor = {text.redF(), text.greenF(), text.blueF(), 1.0};
        design.textShadow = false;
        TestImages::ScratchFolder folder;
        const PlatformExport::Result result = ExportSets(
            design, {PlatformTarget::Xcode, PlatformTarget::Android, PlatformTarget::Web},
            folder.filePath(""));
        QVERIFY(result.AllWritten());
        for (const char* opaque : {"S.appiconset/icon-ios-1024.png", "web/apple-touch-icon.png",
                                   "web/icon-maskable-512.png", "android/play-store-512.png"})
            QCOMPARE(PixelAt(ReadImage(folder.filePath(opaque)), 1, 1), plate);
        const QJsonObject manifest =
            QJsonDocument::fromJson(
                TestImages::ReadFile(folder.filePath("web/manifest.webmanifest")))
                .object();
        QCOMPARE(manifest.value("background_color").toString(), plate.name());
        const QString notes = result.notes.join(u'\n');
        QVERIFY2(notes.contains(plate == QColor(Qt::white) ? QStringLiteral("opaque white")
                                                           : plate.name()),
                 qPrintable(notes));
    }

    // The tinted icon's grays run from 35 % gray for the darkest part of the glyphs to white for
    // the brightest, read on the glyphs themselves rather than on their antialiased edges; a
    // glyph of one colour is all white.
    void tintedIconSpansItsGlyphsGrays_data() {
        QTest::addColumn<bool>("withImage");
        QTest::newRow("navy text alone") << false;
        QTest::newRow("navy text over a light gray image") << true;
    }
    void tintedIconSpansItsGlyphsGrays() {
        QFETCH(bool, withImage);
        IconDesign design = RulesDesign();
        design.textShadow = false;
        design.iconImage =
            withImage ? TestImages::Filled(200, 160, QColor(176, 176, 176)) : QImage();
        TestImages::ScratchFolder folder;
        QVERIFY(ExportSets(design, {PlatformTarget::Xcode}, folder.filePath("")).AllWritten());
        const QImage tinted = ReadImage(folder.filePath("S.appiconset/icon-ios-1024-tinted.png"));
        // The grays of the glyphs' opaque pixels, most common first: the flat parts.
        QMap<int, int> counts;
        for (int y = 0; y < tinted.height(); ++y)
            for (int x = 0; x < tinted.width(); ++x)
                if (const QColor c = PixelAt(tinted, x, y); c.alpha() == 255)
                    ++counts[c.red()];
        QList<QPair<int, int>> byCount;
        for (auto it = counts.begin(); it != counts.end(); ++it)
            byCount.append({it.value(), it.key()});
        std::sort(byCount.rbegin(), byCount.rend());
        QVERIFY(byCount.size() >= (withImage ? 2 : 1));
        if (!withImage) {
            QCOMPARE(byCount[0].second, 255);
            return;
        }
        const QList<int> flat = {std::min(byCount[0].second, byCount[1].second),
                                 std::max(byCount[0].second, byCount[1].second)};
        QCOMPARE(flat, (QList<int>{89, 255}));
    }

    // Every standard type code at the pixel size the system gives it, each the picture drawn
    // for that size.
    void icnsHoldsEveryEntryOnTheMacGrid() {
        QList<IconContainerReader::Entry> entries;
        QCOMPARE(IconContainerReader::ReadIcns(TestImages::ReadFile(Path("AppIcon.icns")), entries),
                 QString());
        const QList<QPair<QByteArray, int>> codes{
            {"icp4", 16},   {"icp5", 32}, {"icp6", 64}, {"ic07", 128}, {"ic08", 256}, {"ic09", 512},
            {"ic10", 1024}, {"ic11", 32}, {"ic12", 64}, {"ic13", 256}, {"ic14", 512}};
        QCOMPARE(entries.size(), codes.size());
        for (qsizetype i = 0; i < codes.size(); ++i) {
            const int pixels = codes[i].second;
            QCOMPARE(entries[i].type, codes[i].first);
            // The catalog's macOS entry of the same pixels: the same grid picture.
            const QString twin = QStringLiteral("AppIcon.appiconset/icon-mac-%1.png")
                                     .arg(pixels == 64     ? QStringLiteral("32@2x")
                                          : pixels == 1024 ? QStringLiteral("512@2x")
                                                           : QString::number(pixels));
            QCOMPARE(TestImages::FirstDifference(entries[i].image, ReadImage(Path(twin)), 0),
                     QString());
        }
    }

    void icoFilesHoldEveryEntryAsDrawn_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("windows") << "AppIcon.ico" << QList<int>{16, 20, 24, 32, 40, 48, 64, 256};
        QTest::newRow("favicon") << "web/favicon.ico" << QList<int>{16, 32, 48};
    }
    void icoFilesHoldEveryEntryAsDrawn() {
        QFETCH(QString, file);
        QFETCH(QList<int>, sizes);
        QList<IconContainerReader::Entry> entries;
        QCOMPARE(IconContainerReader::ReadIco(TestImages::ReadFile(Path(file)), entries),
                 QString());
        QCOMPARE(entries.size(), sizes.size());
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QCOMPARE(entries[i].image.size(), QSize(sizes[i], sizes[i]));
            QCOMPARE(entries[i].type, QByteArray(sizes[i] == 256 ? "png" : "bmp"));
            // The same picture as the Linux file of that size, where there is one.
            const QString twin =
                Path(QStringLiteral("linux/hicolor/%1x%1/apps/AppIcon.png").arg(sizes[i]));
            if (QFile::exists(twin))
                QCOMPARE(TestImages::FirstDifference(entries[i].image, ReadImage(twin), 1),
                         QString());
        }
    }

    // Each layer names a picture written for every density or a colour of the resources' own
    // values; the Tauri project's background is the design's gradient start colour.
    void adaptiveIconXmlNamesExistingLayers_data() {
        QTest::addColumn<QString>("root"); // the resource folder
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("layers");
        const QStringList three{"background", "foreground", "monochrome"};
        QTest::newRow("square") << "android/res/"
                                << "ic_launcher.xml" << three;
        QTest::newRow("round") << "android/res/"
                               << "ic_launcher_round.xml" << three;
        QTest::newRow("tauri") << "tauri/android/"
                               << "ic_launcher.xml" << QStringList{"background", "foreground"};
    }
    void adaptiveIconXmlNamesExistingLayers() {
        QFETCH(QString, root);
        QFETCH(QString, file);
        QFETCH(QStringList, layers);
        const QString android = QStringLiteral("http://schemas.android.com/apk/res/android");
        QXmlStreamReader xml(TestImages::ReadFile(Path(root + "mipmap-anydpi-v26/" + file)));
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), QStringLiteral("adaptive-icon"));
        QStringList named;
        while (xml.readNextStartElement()) {
            const QString drawable = xml.attributes().value(android, "drawable").toString();
            if (drawable.startsWith("@color/")) {
                QCOMPARE(ColorResource(root, drawable.mid(7)),
                         RulesDesign().gradientStartColor.toQColor().name().toUpper());
            } else {
                QVERIFY2(drawable.startsWith("@mipmap/"), qPrintable(drawable));
                for (const AndroidDensity& density : AndroidDensities)
                    QVERIFY2(QFile::exists(Path(QStringLiteral("%1mipmap-%2/%3.png")
                                                    .arg(root, density.name, drawable.mid(8)))),
                             qPrintable(drawable));
            }
            named.append(xml.name().toString());
            xml.skipCurrentElement();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(named, layers);
    }

    void adaptiveLayersComposeToTheDesignInTheSafeZone() {
        // Laid over each other, background and foreground are the full-bleed design shrunk
        // into the central 72/108, gradient and glyphs in the same place.
        const QString folder = Path("android/res/mipmap-xxxhdpi/");
        const QImage layers = Composed(ReadImage(folder + "ic_launcher_background.png"),
                                       ReadImage(folder + "ic_launcher_foreground.png"));
        RenderOptions whole;
        whole.fullBleed = true;
        whole.insetFraction = 72.0 / 108.0;
        whole.outputSize = QSize(432, 432);
        QCOMPARE(
            TestImages::FirstDifference(layers, ImageTools::RenderIcon(RulesDesign(), whole), 3),
            QString());
    }

    // What no container can hold (for an icns: no entry of a size with a type code); what
    // they hold is read back above.
    void containersRefuseWhatTheyCannotHold_data() {
        QTest::addColumn<QList<QImage>>("pictures");
        QTest::newRow("nothing") << QList<QImage>{};
        QTest::newRow("not square") << QList<QImage>{TestImages::AsymmetricImage(16, 15)};
        QTest::newRow("beyond 256") << QList<QImage>{TestImages::AsymmetricImage(257, 257)};
        QTest::newRow("a null picture")
            << QList<QImage>{TestImages::AsymmetricImage(16, 16), QImage()};
    }
    void containersRefuseWhatTheyCannotHold() {
        QFETCH(QList<QImage>, pictures);
        QVERIFY(IcoWriter::Write(pictures).isEmpty());
        QVERIFY(IcnsWriter::Write({}).isEmpty());
        QVERIFY(IcnsWriter::Write({{48, QByteArray("png")}}).isEmpty());
    }
};

QTEST_MAIN(PlannedFileRulesTest)
#include "tst_PlannedFileRules.moc"
