// Every platform set written from one design, then read as the consuming tools read it:
// JSON and XML through Qt's parsers, the containers through the test's own readers, PNG
// headers byte by byte, and the pictures pixel by pixel; and what the containers refuse.

#include "design/ColorContrast.h"
#include "export/PngEncoder.h"
#include "helpers/TestImages.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/IconContainerReader.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "render/ImageTools.h"
#include "render/LegibleGlyphs.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

using TestImages::PixelAt;

namespace {

const QList<PlatformTarget> AllTargets{PlatformTarget::Xcode,   PlatformTarget::Icns,
                                       PlatformTarget::Windows, PlatformTarget::Android,
                                       PlatformTarget::Web,     PlatformTarget::Linux};

struct Density {
    QString folder;
    int icon;
    int layer;
};
const QList<Density> Densities{{"mipmap-mdpi", 48, 108},
                               {"mipmap-hdpi", 72, 162},
                               {"mipmap-xhdpi", 96, 216},
                               {"mipmap-xxhdpi", 144, 324},
                               {"mipmap-xxxhdpi", 192, 432}};

} // namespace

Q_DECLARE_METATYPE(Density)

namespace {

// A square design with every layer: an outline, a shadowed asymmetric icon right of the centre
// and below it (red left half, blue right half) and shadowed text above it, all well inside the
// canvas.
IconDesign SetDesign(int side = 1024) {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = float(side);
    design.iconImage = TestImages::AsymmetricImage(side / 4, side / 5);
    design.iconHorizontalOffset = float(side) / 8.0f;
    design.iconShadow = true;
    design.iconShadowOffset = float(side) / 100.0f;
    design.text = QStringLiteral("Ab");
    design.fontSize = float(side) / 4.0f;
    design.textVerticalOffset = 0.0f;
    return design;
}

QImage ReadImage(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

// The first pixel for which `bad` holds, described, or "" when there is none.
QString FirstPixel(const QImage& image, const std::function<bool(int x, int y, QColor)>& bad) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (bad(x, y, PixelAt(image, x, y)))
                return QStringLiteral("pixel (%1, %2) is %3")
                    .arg(QString::number(x), QString::number(y),
                         PixelAt(image, x, y).name(QColor::HexArgb));
    return {};
}

QImage Composed(const QImage& bottom, const QImage& top) {
    QImage result = bottom.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.drawImage(0, 0, top);
    return result;
}

} // namespace

class PlatformSetsTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_folder;

    QString Path(const QString& relative) const { return m_folder.filePath(relative); }

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        const PlatformExport::Result result = PlatformExport::Run(
            SetDesign(),
            PlatformPlan::Files(AllTargets,
                                MakePlatformSetOptions(IconDesign(), "AppIcon", QString())),
            m_folder.filePath(""), false);
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes, QStringList());
    }

    void assetCatalogNamesExistingPngsOfTheirSize() {
        const QString folder = Path("AppIcon.appiconset/");
        QJsonParseError error;
        const QJsonDocument contents =
            QJsonDocument::fromJson(TestImages::ReadFile(folder + "Contents.json"), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QStringList kinds;
        for (const QJsonValue& value : contents.object().value("images").toArray()) {
            const QJsonObject image = value.toObject();
            const QString size = image.value("size").toString();
            const int scale =
                image.contains("scale") ? image.value("scale").toString().chopped(1).toInt() : 1;
            const int pixels = size.section(u'x', 0, 0).toInt() * scale;
            QCOMPARE(size, QStringLiteral("%1x%1").arg(size.section(u'x', 0, 0)));
            const QString file = folder + image.value("filename").toString();
            QCOMPARE(QImage(file).size(), QSize(pixels, pixels));
            const QString appearance = image.value("appearances")[0]["value"].toString();
            kinds.append(QStringLiteral("%1 %2 %3 %4")
                             .arg(image.value("idiom").toString(),
                                  image.value("platform").toString(), appearance)
                             .arg(pixels));
        }
        kinds.sort();
        QCOMPARE(kinds, (QStringList{"mac   1024", "mac   128", "mac   16", "mac   256",
                                     "mac   256", "mac   32", "mac   32", "mac   512", "mac   512",
                                     "mac   64", "universal ios  1024", "universal ios dark 1024",
                                     "universal ios tinted 1024", "universal watchos  1024"}));
        QCOMPARE(contents.object().value("info")["version"].toInt(), 1);
    }

    // Full-bleed pictures are opaque to the corners; the store icons carry no alpha channel at
    // all.
    void fullBleedFilesAreOpaque_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("store");
        QTest::newRow("iOS light") << "AppIcon.appiconset/icon-ios-1024.png" << true;
        QTest::newRow("watchOS") << "AppIcon.appiconset/icon-watchos-1024.png" << true;
        QTest::newRow("Play Store") << "android/play-store-512.png" << false;
        QTest::newRow("touch icon") << "web/apple-touch-icon.png" << false;
        QTest::newRow("maskable") << "web/icon-maskable-512.png" << false;
        QTest::newRow("adaptive background")
            << "android/res/mipmap-xxxhdpi/ic_launcher_background.png" << false;
    }
    void fullBleedFilesAreOpaque() {
        QFETCH(QString, file);
        QFETCH(bool, store);
        if (store)
            QCOMPARE(IconContainerReader::PngColourType(TestImages::ReadFile(Path(file))), 2);
        const QImage image = ReadImage(Path(file));
        QVERIFY(!image.isNull());
        // Opaque to the very corners, which the rounded design as drawn leaves clear; what
        // the full-bleed picture holds is the renderer's concern.
        QCOMPARE(FirstPixel(image, [](int, int, QColor c) { return c.alpha() != 255; }), QString());
    }

    // Dark: only the glyphs, every visible colour legible on the dark home screen, hues kept.
    // Tinted: only the glyphs in gray, the brightest white and none under 35 % gray.
    void darkAndTintedKeepOnlyLegibleGlyphs() {
        const QImage plain = ReadImage(Path("AppIcon.appiconset/icon-mac-512@2x.png"));
        const QImage dark = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-tinted.png"));
        // Left of the centre only the background; the icon is red left of x 640, blue right.
        const QPoint background(150, 512), red(580, 580), blue(700, 580);
        QCOMPARE(PixelAt(plain, background.x(), background.y()).alpha(), 255);
        QCOMPARE(PixelAt(dark, background.x(), background.y()).alpha(), 0);
        QCOMPARE(PixelAt(tinted, background.x(), background.y()).alpha(), 0);
        QCOMPARE(FirstPixel(dark,
                            [](int, int, QColor c) {
                                return c.alpha() == 255 &&
                                       ColorContrast::Ratio(c, ColorContrast::DarkHomeScreen()) <
                                           ColorContrast::LegibleRatio;
                            }),
                 QString());
        // Lightened along their own hue: red stays red, blue stays blue.
        const int redHue = PixelAt(dark, red.x(), red.y()).hsvHue();
        QVERIFY2(redHue <= 10 || redHue >= 350, qPrintable(QString::number(redHue)));
        QVERIFY(qAbs(PixelAt(dark, blue.x(), blue.y()).hsvHue() - 240) <= 25);

        QCOMPARE(PixelAt(tinted, red.x(), red.y()).alpha(), 255);
        int brightest = 0;
        QCOMPARE(FirstPixel(tinted,
                            [&](int, int, QColor c) {
                                if (c.alpha() == 255)
                                    brightest = std::max(brightest, c.red());
                                return c.alpha() > 0 &&
                                       (c.red() != c.green() || c.green() != c.blue() ||
                                        (c.alpha() == 255 &&
                                         c.red() < LegibleGlyphs::MinimumTintedGray));
                            }),
                 QString());
        QCOMPARE(brightest, 255);
        QVERIFY(PixelAt(tinted, red.x(), red.y()).red() >
                PixelAt(tinted, blue.x(), blue.y()).red());
    }

    // Without icon or text the dark and tinted icons show the background's shape, white and
    // gray, and the user is told.
    void designWithoutGlyphsGivesSilhouettes() {
        IconDesign design = SetDesign(256);
        design.iconImage = QImage();
        design.text.clear();
        TestImages::ScratchFolder folder;
        const PlatformExport::Result result = PlatformExport::Run(
            design,
            PlatformPlan::Files({PlatformTarget::Xcode}, MakePlatformSetOptions(design, "S", {})),
            folder.filePath(""), false);
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes.size(), 2); // the silhouettes, the enlargement past the canvas
        QVERIFY2(result.notes[0].contains("silhouette"), qPrintable(result.notes[0]));
        const QImage dark = ReadImage(folder.filePath("S.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(folder.filePath("S.appiconset/icon-ios-1024-tinted.png"));
        QCOMPARE(PixelAt(dark, 512, 512), QColor(Qt::white));
        QCOMPARE(PixelAt(dark, 0, 0).alpha(), 0);
        QCOMPARE(PixelAt(tinted, 512, 512), QColor(128, 128, 128));
        QCOMPARE(PixelAt(tinted, 0, 0).alpha(), 0);
    }

    // Every standard type code at the pixel size the system gives it, each the picture drawn
    // for that size.
    void icnsHoldsEveryEntryOnTheMacGrid() {
        QList<IconContainerReader::Entry> entries;
        const QString error =
            IconContainerReader::ReadIcns(TestImages::ReadFile(Path("AppIcon.icns")), entries);
        QVERIFY2(error.isEmpty(), qPrintable(error));
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
        const QString error =
            IconContainerReader::ReadIco(TestImages::ReadFile(Path(file)), entries);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(entries.size(), sizes.size());
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QCOMPARE(entries[i].image.size(), QSize(sizes[i], sizes[i]));
            QCOMPARE(entries[i].type, QByteArray(sizes[i] == 256 ? "png" : "bmp"));
            // The same picture as the Linux file of that size, where there is one.
            const QString twin =
                Path(QStringLiteral("linux/hicolor/%1x%1/apps/AppIcon.png").arg(sizes[i]));
            if (QFile::exists(twin)) {
                const QString difference =
                    TestImages::FirstDifference(entries[i].image, ReadImage(twin), 1);
                QVERIFY2(difference.isEmpty(), qPrintable(difference));
            }
        }
    }

    void adaptiveIconXmlNamesExistingLayers_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("square") << "ic_launcher.xml";
        QTest::newRow("round") << "ic_launcher_round.xml";
    }
    void adaptiveIconXmlNamesExistingLayers() {
        QFETCH(QString, file);
        const QString android = QStringLiteral("http://schemas.android.com/apk/res/android");
        QXmlStreamReader xml(TestImages::ReadFile(Path("android/res/mipmap-anydpi-v26/" + file)));
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), QStringLiteral("adaptive-icon"));
        QStringList layers;
        while (xml.readNextStartElement()) {
            const QString drawable = xml.attributes().value(android, "drawable").toString();
            QVERIFY2(drawable.startsWith("@mipmap/"), qPrintable(drawable));
            for (const Density& density : Densities) {
                const QString png =
                    QStringLiteral("android/res/%1/%2.png").arg(density.folder, drawable.mid(8));
                QCOMPARE(QImage(Path(png)).size(), QSize(density.layer, density.layer));
            }
            layers.append(xml.name().toString());
            xml.skipCurrentElement();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(layers, (QStringList{"background", "foreground", "monochrome"}));
    }

    void androidPicturesPerDensity_data() {
        QTest::addColumn<Density>("density");
        for (const Density& density : Densities)
            QTest::newRow(qPrintable(density.folder)) << density;
    }
    void androidPicturesPerDensity() {
        QFETCH(Density, density);
        const QString folder = Path("android/res/" + density.folder + "/");
        QCOMPARE(QImage(folder + "ic_launcher.png").size(), QSize(density.icon, density.icon));

        const QImage round = ReadImage(folder + "ic_launcher_round.png");
        const int last = density.icon - 1;
        QCOMPARE(round.size(), QSize(density.icon, density.icon));
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            QCOMPARE(PixelAt(round, corner.x(), corner.y()).alpha(), 0);
        QCOMPARE(PixelAt(round, density.icon / 2, density.icon / 8).alpha(), 255);
        QCOMPARE(PixelAt(round, density.icon / 8, density.icon / 2).alpha(), 255);

        // Where the glyphs lie in the layers is checked where they are composed.
        for (const QString name : {"ic_launcher_foreground.png", "ic_launcher_monochrome.png"})
            QCOMPARE(QImage(folder + name).size(), QSize(density.layer, density.layer));
        const QImage monochrome = ReadImage(folder + "ic_launcher_monochrome.png");
        QCOMPARE(FirstPixel(monochrome,
                            [](int, int, QColor c) {
                                return c.alpha() > 0 && c.rgb() != qRgb(255, 255, 255);
                            }),
                 QString());
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
        const QImage design = ImageTools::RenderIcon(SetDesign(), whole);
        const QString difference = TestImages::FirstDifference(layers, design, 3);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void linuxThemeHoldsEverySize() {
        for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
            const QString file =
                Path(QStringLiteral("linux/hicolor/%1x%1/apps/AppIcon.png").arg(pixels));
            QCOMPARE(QImage(file).size(), QSize(pixels, pixels));
        }
    }

    // The plain design of the whole set gives no note; a transparent one on a small canvas
    // is told of the white behind the full-bleed icons and of the enlargement, and every
    // picture still has its own size.
    void notesSayWhatTheUserShouldKnow() {
        IconDesign design = SetDesign(200);
        design.transparentBackground = true;
        TestImages::ScratchFolder folder;
        const QList<PlannedFile> plan =
            PlatformPlan::Files({PlatformTarget::Icns, PlatformTarget::Android},
                                MakePlatformSetOptions(IconDesign(), "N", QString()));
        const PlatformExport::Result result =
            PlatformExport::Run(design, plan, folder.filePath(""), false);
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes.size(), 2);
        QVERIFY2(result.notes[0].contains("white"), qPrintable(result.notes[0]));
        QVERIFY2(result.notes[1].contains("200 x 200"), qPrintable(result.notes[1]));
        QList<IconContainerReader::Entry> entries;
        QCOMPARE(
            IconContainerReader::ReadIcns(TestImages::ReadFile(folder.filePath("N.icns")), entries),
            QString());
        QCOMPARE(entries[6].image.size(), QSize(1024, 1024));
        const QImage store = ReadImage(folder.filePath("android/play-store-512.png"));
        QCOMPARE(store.size(), QSize(512, 512));
        QCOMPARE(PixelAt(store, 0, 0), QColor(Qt::white));
    }

    // What no container can hold; what they hold is read back above.
    void icoRefusesWhatItCannotHold_data() {
        QTest::addColumn<QList<QImage>>("pictures");
        QTest::newRow("nothing") << QList<QImage>{};
        QTest::newRow("not square") << QList<QImage>{TestImages::AsymmetricImage(16, 15)};
        QTest::newRow("beyond 256") << QList<QImage>{TestImages::AsymmetricImage(257, 257)};
        QTest::newRow("a null picture")
            << QList<QImage>{TestImages::AsymmetricImage(16, 16), QImage()};
    }
    void icoRefusesWhatItCannotHold() {
        QFETCH(QList<QImage>, pictures);
        QVERIFY(IcoWriter::Write(pictures).isEmpty());
    }

    void icnsWithoutAnyFittingEntryIsEmpty() {
        QVERIFY(IcnsWriter::Write({}).isEmpty());
        QVERIFY(IcnsWriter::Write({{48, QByteArray("png")}}).isEmpty());
    }

    // The store icons' encoding without alpha, at an odd size that catches rows of three bytes
    // per pixel laid out with the wrong stride.
    void pngWithoutAlphaKeepsEveryPixel() {
        const QImage picture = TestImages::AsymmetricImage(7, 5);
        const QByteArray png = PngEncoder::Encode(picture, 0, PngEncoder::Channels::Rgb);
        QCOMPARE(IconContainerReader::PngColourType(png), 2);
        const QImage decoded = QImage::fromData(png, "PNG");
        QVERIFY(!decoded.hasAlphaChannel());
        QCOMPARE(TestImages::FirstDifference(decoded, picture, 0), QString());
    }
};

QTEST_MAIN(PlatformSetsTest)
#include "tst_PlatformSets.moc"
