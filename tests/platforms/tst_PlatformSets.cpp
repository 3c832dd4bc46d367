// The platform sets written from one design, then read as the consuming tools read it: the
// launcher XML through Qt's parser, the containers through the test's own readers, and the
// pictures pixel by pixel; and what the containers refuse. What every planned file must be on
// its own is checked against the rules table of tst_PlannedFileRules.

#include "helpers/PlatformRun.h"
#include "helpers/TestImages.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IcoWriter.h"
#include "platforms/IconContainerReader.h"
#include "render/ImageTools.h"

#include <QPainter>
#include <QtTest>

using TestImages::PixelAt;

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
        const PlatformExport::Result result =
            PlatformExport::Run(SetDesign(),
                                PlatformRun::Plan({PlatformTarget::Xcode, PlatformTarget::Icns,
                                                   PlatformTarget::Windows, PlatformTarget::Android,
                                                   PlatformTarget::Web, PlatformTarget::Linux}),
                                m_folder.filePath(""), false);
        QVERIFY(result.AllWritten());
        QCOMPARE(result.notes, QStringList());
    }

    // Legibility and gray levels are checked with every planned file's rules; here, that the
    // dark and tinted icons keep only the glyphs, dark ones along their own hues.
    void darkAndTintedKeepTheGlyphsHues() {
        const QImage plain = ReadImage(Path("AppIcon.appiconset/icon-ios-1024.png"));
        const QImage dark = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-dark.png"));
        const QImage tinted = ReadImage(Path("AppIcon.appiconset/icon-ios-1024-tinted.png"));
        // Left of the centre only the background; the icon is red left of x 640, blue right.
        const QPoint background(150, 512), red(580, 580), blue(700, 580);
        QCOMPARE(plain.pixelColor(background).alpha(), 255);
        QCOMPARE(dark.pixelColor(background).alpha(), 0);
        QCOMPARE(tinted.pixelColor(background).alpha(), 0);
        const int redHue = dark.pixelColor(red).hsvHue();
        QVERIFY2(redHue <= 10 || redHue >= 350, qPrintable(QString::number(redHue)));
        QVERIFY(qAbs(dark.pixelColor(blue).hsvHue() - 240) <= 25);
        QVERIFY(tinted.pixelColor(red).red() > tinted.pixelColor(blue).red());
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
            QVERIFY2(QFile::exists(Path("android/res/mipmap-mdpi/" + drawable.mid(8) + ".png")),
                     qPrintable(drawable));
            layers.append(xml.name().toString());
            xml.skipCurrentElement();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(layers, (QStringList{"background", "foreground", "monochrome"}));
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

QTEST_MAIN(PlatformSetsTest)
#include "tst_PlatformSets.moc"
