// Every platform set written from one design, then read as the consuming tools read it:
// JSON and XML through Qt's parsers, the containers through the test's own readers, PNG
// headers byte by byte, and the pictures pixel by pixel.

#include "design/ImageTools.h"
#include "platforms/IconContainerReader.h"
#include "platforms/PlatformExport.h"
#include "platforms/PlatformPlan.h"
#include "support/TestImages.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <functional>

using TestImages::PixelAt;

namespace {

const QColor OutlineColour(255, 0, 255); // appears nowhere else in the design
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

// A square design with every layer: an outline of a colour found nowhere else, a shadowed
// asymmetric icon right of the centre and below it (red left half, blue right half) and
// shadowed text above it, all well inside the canvas.
IconDesign SetDesign(int side = 1024) {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = float(side);
    design.backgroundStrokeColor = {1.0, 0.0, 1.0, 1.0};
    design.iconImage = TestImages::AsymmetricImage(side / 4, side / 5);
    design.iconHorizontalOffset = float(side) / 8.0f;
    design.iconShadow = true;
    design.iconShadowOffset = float(side) / 100.0f;
    design.text = QStringLiteral("Ab");
    design.fontSize = float(side) / 4.0f;
    design.textVerticalOffset = 0.0f;
    return design;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
                    .arg(x)
                    .arg(y)
                    .arg(PixelAt(image, x, y).name(QColor::HexArgb));
    return {};
}

bool NearOutline(const QColor& colour) {
    return TestImages::ColorsClose(colour, OutlineColour, 60);
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
    PlatformExport::Result m_result;

    QString Path(const QString& relative) const { return m_folder.filePath(relative); }

private slots:
    void initTestCase() {
        QVERIFY(m_folder.isValid());
        m_result = PlatformExport::Run(SetDesign(), PlatformPlan::Files(AllTargets, "AppIcon"),
                                       m_folder.filePath(""), false);
    }

    void everyPlannedFileIsWrittenWithoutNotes() {
        QVERIFY(m_result.AllWritten());
        QCOMPARE(m_result.files.size(), PlatformPlan::Files(AllTargets, "AppIcon").size());
        for (const ExportRun::FileResult& file : m_result.files) {
            QCOMPARE(int(file.action), int(ExportRun::FileAction::Written));
            QVERIFY2(QFileInfo(file.path).isFile(), qPrintable(file.path));
        }
        QCOMPARE(m_result.notes, QStringList());
    }

    void assetCatalogNamesExistingPngsOfTheirSize() {
        const QString folder = Path("AppIcon.appiconset/");
        QJsonParseError error;
        const QJsonDocument contents =
            QJsonDocument::fromJson(ReadAll(folder + "Contents.json"), &error);
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

    void storeIconsHaveNoAlphaChannel_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("colourType");
        QTest::newRow("iOS light") << "AppIcon.appiconset/icon-ios-1024.png" << 2;
        QTest::newRow("watchOS") << "AppIcon.appiconset/icon-watchos-1024.png" << 2;
        QTest::newRow("iOS dark") << "AppIcon.appiconset/icon-ios-1024-dark.png" << 6;
        QTest::newRow("macOS") << "AppIcon.appiconset/icon-mac-512@2x.png" << 6;
    }
    void storeIconsHaveNoAlphaChannel() {
        QFETCH(QString, file);
        QFETCH(int, colourType);
        QCOMPARE(IconContainerReader::PngColourType(ReadAll(Path(file))), colourType);
    }

    void fullBleedFilesAreOpaqueWithoutOutline_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("iOS light") << "AppIcon.appiconset/icon-ios-1024.png";
        QTest::newRow("watchOS") << "AppIcon.appiconset/icon-watchos-1024.png";
        QTest::newRow("Play Store") << "android/play-store-512.png";
        QTest::newRow("touch icon") << "web/apple-touch-icon.png";
        QTest::newRow("maskable") << "web/icon-maskable-512.png";
        QTest::newRow("adaptive background")
            << "android/res/mipmap-xxxhdpi/ic_launcher_background.png";
    }
    void fullBleedFilesAreOpaqueWithoutOutline() {
        QFETCH(QString, file);
        const QImage image = ReadImage(Path(file));
        QVERIFY(!image.isNull());
        const int last = image.width() - 1;
        QCOMPARE(FirstPixel(image, [](int, int, QColor c) { return c.alpha() != 255; }), QString());
        QCOMPARE(FirstPixel(image,
                            [&](int x, int y, QColor c) {
                                const bool edge = x == 0 || y == 0 || x == last || y == last;
                                return edge && NearOutline(c);
                            }),
                 QString());
        // The design as drawn does carry the outline at its edge: the check above can fail.
        const QImage drawn = ReadImage(Path("AppIcon.appiconset/icon-mac-512@2x.png"));
        QVERIFY(!FirstPixel(drawn.copy(drawn.width() / 2, 0, 1, drawn.height() / 8), [](int, int,
                                                                                        QColor c) {
                     return NearOutline(c);
                 }).isEmpty());
    }

    void darkAndTintedKeepOnlyTheGlyphs() {
        const QImage plain = ReadImage(Path("AppIcon.appiconset/icon-mac-512@2x.png"));
        const QImage dark = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-tinted.png"));
        // Left of the centre only the background; the icon is red left of x 640, blue right.
        const QPoint background(150, 512), red(580, 580), blue(700, 580);
        QCOMPARE(PixelAt(plain, background.x(), background.y()).alpha(), 255);
        QCOMPARE(PixelAt(dark, background.x(), background.y()).alpha(), 0);
        QVERIFY(TestImages::ColorsClose(PixelAt(dark, red.x(), red.y()), Qt::red, 8));
        QVERIFY(TestImages::ColorsClose(PixelAt(dark, blue.x(), blue.y()), Qt::blue, 8));
        QCOMPARE(PixelAt(tinted, background.x(), background.y()).alpha(), 0);
        QCOMPARE(PixelAt(tinted, red.x(), red.y()).alpha(), 255);
        // Gray wherever anything is drawn, and red and blue keep distinct luminances.
        QCOMPARE(FirstPixel(tinted,
                            [](int, int, QColor c) {
                                return c.alpha() > 0 &&
                                       (c.red() != c.green() || c.green() != c.blue());
                            }),
                 QString());
        QVERIFY(PixelAt(tinted, red.x(), red.y()).red() >
                PixelAt(tinted, blue.x(), blue.y()).red());
    }

    void icnsHoldsEveryEntryAsDrawn() {
        QList<IconContainerReader::Entry> entries;
        const QString error = IconContainerReader::ReadIcns(ReadAll(Path("AppIcon.icns")), entries);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(entries.size(), 11);
        for (const IconContainerReader::Entry& entry : entries) {
            const int pixels = entry.image.width();
            QCOMPARE(entry.image.height(), pixels);
            const QString macFile =
                QStringLiteral("linux/hicolor/%1x%1/apps/AppIcon.png").arg(pixels);
            if (pixels <= 512 && QFile::exists(Path(macFile)))
                QCOMPARE(TestImages::FirstDifference(entry.image, ReadImage(Path(macFile)), 0),
                         QString());
        }
        QCOMPARE(
            TestImages::FirstDifference(
                entries[6].image, ReadImage(Path("AppIcon.appiconset/icon-mac-512@2x.png")), 0),
            QString());
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
        const QString error = IconContainerReader::ReadIco(ReadAll(Path(file)), entries);
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
        QXmlStreamReader xml(ReadAll(Path("android/res/mipmap-anydpi-v26/" + file)));
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

        // The glyphs fit the canvas, so nothing of them lies outside the safe zone.
        const double margin = density.layer * (1.0 - 72.0 / 108.0) / 2.0;
        for (const QString name : {"ic_launcher_foreground.png", "ic_launcher_monochrome.png"}) {
            const QImage layer = ReadImage(folder + name);
            QCOMPARE(layer.size(), QSize(density.layer, density.layer));
            QCOMPARE(FirstPixel(layer,
                                [&](int x, int y, QColor c) {
                                    const bool outside = x + 1 <= std::floor(margin) ||
                                                         y + 1 <= std::floor(margin) ||
                                                         x >= std::ceil(density.layer - margin) ||
                                                         y >= std::ceil(density.layer - margin);
                                    return outside && c.alpha() != 0;
                                }),
                     QString());
            QVERIFY(
                !FirstPixel(layer, [](int, int, QColor c) { return c.alpha() == 255; }).isEmpty());
        }
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

    void webManifestNamesExistingIconsOfTheirSize() {
        QJsonParseError error;
        const QJsonDocument manifest =
            QJsonDocument::fromJson(ReadAll(Path("web/manifest.webmanifest")), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QStringList purposes;
        for (const QJsonValue& value : manifest.object().value("icons").toArray()) {
            const QJsonObject icon = value.toObject();
            const QString file = Path("web/" + icon.value("src").toString());
            const QImage image(file);
            QVERIFY2(!image.isNull(), qPrintable(file));
            QCOMPARE(icon.value("sizes").toString(),
                     QStringLiteral("%1x%2").arg(image.width()).arg(image.height()));
            QCOMPARE(icon.value("type").toString(), QStringLiteral("image/png"));
            QCOMPARE(QImageReader(file).format(), QByteArray("png"));
            purposes.append(icon.value("purpose").toString() + " " +
                            icon.value("sizes").toString());
        }
        purposes.sort();
        QCOMPARE(purposes, (QStringList{"any 192x192", "any 512x512", "maskable 192x192",
                                        "maskable 512x512"}));
        QCOMPARE(QImage(Path("web/apple-touch-icon.png")).size(), QSize(180, 180));
    }

    void linuxThemeHoldsEverySize() {
        for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
            const QString file =
                Path(QStringLiteral("linux/hicolor/%1x%1/apps/AppIcon.png").arg(pixels));
            QCOMPARE(QImage(file).size(), QSize(pixels, pixels));
        }
    }

    void existingFilesAreKeptAndAFailureLeavesTheRestWritten() {
        TestImages::ScratchFolder folder;
        const QByteArray old("an icon from before");
        QVERIFY(QDir().mkpath(folder.filePath("web")));
        QVERIFY(!folder.Write("web/icon-192.png", old).isEmpty());
        // A file where the Android folder should go: none of its files can be written.
        QVERIFY(!folder.Write("android", old).isEmpty());
        const QList<PlannedFile> plan = PlatformPlan::Files(
            {PlatformTarget::Android, PlatformTarget::Web, PlatformTarget::Linux}, "Name");
        for (bool overwrite : {false, true}) {
            const PlatformExport::Result result =
                PlatformExport::Run(SetDesign(256), plan, folder.filePath(""), overwrite);
            QVERIFY(!result.AllWritten());
            for (const ExportRun::FileResult& file : result.files) {
                const QString relative = QDir(folder.filePath("")).relativeFilePath(file.path);
                auto expected = ExportRun::FileAction::Written;
                if (relative.startsWith("android/"))
                    expected = ExportRun::FileAction::Failed;
                else if (relative == "web/icon-192.png" && !overwrite)
                    expected = ExportRun::FileAction::Kept;
                QVERIFY2(file.action == expected, qPrintable(relative));
                QCOMPARE(file.failure.isEmpty(), expected != ExportRun::FileAction::Failed);
                if (expected != ExportRun::FileAction::Failed)
                    QVERIFY2(QFileInfo(file.path).size() > 0, qPrintable(relative));
            }
            QCOMPARE(ReadAll(folder.filePath("web/icon-192.png")) == old, !overwrite);
        }
        QCOMPARE(QImage(folder.filePath("web/icon-192.png")).size(), QSize(192, 192));
        QCOMPARE(ReadAll(folder.filePath("android")), old);
    }

    void notesSayWhatTheUserShouldKnow_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QStringList>("mentions"); // one entry per note
        QTest::newRow("plain") << 1024 << false << QStringList();
        QTest::newRow("transparent") << 1024 << true << QStringList{"white"};
        QTest::newRow("small canvas") << 200 << false << QStringList{"200 x 200"};
        QTest::newRow("both") << 200 << true << QStringList{"white", "200 x 200"};
    }
    void notesSayWhatTheUserShouldKnow() {
        QFETCH(int, side);
        QFETCH(bool, transparent);
        QFETCH(QStringList, mentions);
        IconDesign design = SetDesign(side);
        design.transparentBackground = transparent;
        TestImages::ScratchFolder folder;
        const QList<PlannedFile> plan =
            PlatformPlan::Files({PlatformTarget::Icns, PlatformTarget::Android}, "N");
        const PlatformExport::Result result =
            PlatformExport::Run(design, plan, folder.filePath(""), false);
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes.size(), mentions.size());
        for (qsizetype i = 0; i < mentions.size(); ++i)
            QVERIFY2(result.notes[i].contains(mentions[i]), qPrintable(result.notes[i]));
        // Enlarged or not, every picture has its own size; full bleed stays opaque.
        QList<IconContainerReader::Entry> entries;
        QCOMPARE(IconContainerReader::ReadIcns(ReadAll(folder.filePath("N.icns")), entries),
                 QString());
        QCOMPARE(entries[6].image.size(), QSize(1024, 1024));
        const QImage store = ReadImage(folder.filePath("android/play-store-512.png"));
        QCOMPARE(store.size(), QSize(512, 512));
        const QColor corner = PixelAt(store, 0, 0);
        QCOMPARE(corner.alpha(), 255);
        QCOMPARE(corner == QColor(Qt::white), transparent);
    }

    void onlySquareDesignsMakePlatformSets_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("problem");
        QTest::newRow("square") << 512.0f << 512.0f << QString();
        QTest::newRow("wide") << 1024.0f << 512.0f << "1024 x 512";
        QTest::newRow("tall") << 300.0f << 301.0f << "300 x 301";
    }
    void onlySquareDesignsMakePlatformSets() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(QString, problem);
        IconDesign design;
        design.canvasWidth = width;
        design.canvasHeight = height;
        const QString message = PlatformExport::DesignProblem(design);
        QCOMPARE(message.isEmpty(), problem.isEmpty());
        QVERIFY2(message.contains(problem), qPrintable(message));
    }
};

QTEST_MAIN(PlatformSetsTest)
#include "tst_PlatformSets.moc"
