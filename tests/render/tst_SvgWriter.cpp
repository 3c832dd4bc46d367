#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "render/ImageTools.h"
#include "render/SvgWriter.h"

#include <QPainter>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

namespace {

std::shared_ptr<const SvgImage> Logo(const char* name) {
    return SvgImage::Read(
        TestImages::ReadFile(QStringLiteral(SIGILON_SOURCE_DIR "/tests/data/") + name));
}

void UseSvgIcon(IconDesign& design, const char* name) {
    design.iconVector = Logo(name);
    design.iconImage = design.iconVector->thumbnail();
}

// A raster picture with hard edges and transparency, to be turned and tinted.
QImage RasterIcon() {
    QImage image = TestImages::Filled(300, 200, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 40, 90));
    painter.drawEllipse(QRectF(10, 10, 180, 180));
    painter.fillRect(QRectF(150, 60, 140, 80), QColor(20, 120, 220, 180));
    return image;
}

// librsvg's drawing of the document at canvas size.
QImage DrawnDocument(const QByteArray& document, QSize size) {
    const auto image = SvgImage::Read(document);
    return image ? image->Draw(size, QTransform()) : QImage();
}

using Change = std::function<void(IconDesign&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_SvgWriter : public QObject {
    Q_OBJECT

private slots:
    // Together the designs use every layer option: the document draws the raster's picture.
    void documentDrawsTheRasterPicture_data() {
        QTest::addColumn<Change>("change");
        QTest::newRow("default with text") << Change([](IconDesign& d) { d.text = "Ab"; });
        QTest::newRow("outlined text, SVG icon turned, shadows, wide canvas")
            << Change([](IconDesign& d) {
                   d.canvasWidth = 900;
                   d.canvasHeight = 560;
                   d.text = "Qy";
                   d.fontSize = 300;
                   d.textStroke = true;
                   d.textStrokeSize = 5;
                   d.textStrokeColor = {0.9, 0.2, 0.1, 1.0};
                   d.textShadowColor = {0.1, 0.1, 0.5, 0.7};
                   UseSvgIcon(d, "gvim.svg");
                   d.iconRotation = 25;
                   d.iconScale = 70;
                   d.iconHorizontalOffset = -120;
                   d.iconShadow = true;
                   d.backgroundShadowBlur = 30;
                   d.backgroundStrokeColor = {1.0, 0.9, 0.2, 0.8};
               });
        QTest::newRow("tinted SVG icon on a transparent background") << Change([](IconDesign& d) {
            d.transparentBackground = true;
            d.text.clear();
            UseSvgIcon(d, "tango-dialog-error.svg");
            d.useImageColors = false;
            d.iconColor = {0.2, 0.8, 0.3, 0.9};
            d.iconShadow = true;
            d.iconShadowBlur = 25;
        });
        QTest::newRow("raster icon turned and tinted, tall canvas") << Change([](IconDesign& d) {
            d.canvasWidth = 400;
            d.canvasHeight = 700;
            d.iconImage = RasterIcon();
            d.iconRotation = -40;
            d.useImageColors = false;
            d.iconColor = {1.0, 0.5, 0.0, 1.0};
            d.iconShadow = true;
            d.iconVerticalOffset = 80;
            d.text = "Z";
            d.fontSize = 240;
            d.cornerCurvature = 0.5f;
        });
        QTest::newRow("CSS logo, no shadows, wide outline") << Change([](IconDesign& d) {
            UseSvgIcon(d, "debian-logo-text.svg");
            d.textShadow = false;
            d.backgroundShadow = false;
            d.backgroundStrokeSize = 90;
            d.text = "x";
        });
    }
    void documentDrawsTheRasterPicture() {
        QFETCH(Change, change);
        IconDesign design;
        change(design);
        const QImage raster = ImageTools::RenderIcon(design);
        const QImage drawn = DrawnDocument(SvgDocument(design), raster.size());
        const double difference = TestImages::MeanAbsoluteDifference(raster, drawn);
        QVERIFY2(difference <= 1.5, qPrintable(QString::number(difference)));
    }

    // Valid XML without external references or text elements, the same bytes each time, and a
    // small document for the default design; with a dark look too.
    void documentIsSelfContainedAndRepeatable() {
        IconDesign design;
        design.text = QStringLiteral("Ab");
        const QByteArray document = SvgDocument(design);
        QVERIFY(document.size() < 64 * 1024);
        QCOMPARE(SvgDocument(design), document);
        UseSvgIcon(design, "debian-logo-text.svg");
        const QByteArray withLogo = SvgDocument(design);
        design.iconImage = RasterIcon();
        design.iconVector.reset();
        const QByteArray withDarkLook = SvgDocument(design, {.darkColourScheme = true});
        QVERIFY(withDarkLook.contains("<style>@media (prefers-color-scheme: dark){"));
        for (const QByteArray& bytes : {document, withLogo, SvgDocument(design), withDarkLook}) {
            QXmlStreamReader reader(bytes);
            QStringList ids;
            while (!reader.atEnd()) {
                if (reader.readNext() != QXmlStreamReader::StartElement)
                    continue;
                QVERIFY(reader.name() != u"text");
                for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                    const QStringView value = attribute.value();
                    if (attribute.name() == u"href")
                        QVERIFY(value.startsWith(u"#") || value.startsWith(u"data:"));
                    if (attribute.name() == u"id")
                        ids << value.toString();
                }
            }
            QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
            QVERIFY(!bytes.contains("url(http") && !bytes.contains("url(file"));
            // Every id carries the document's own prefix, so two documents inlined in one page
            // never share one.
            const QString prefix = ids.value(0).section(u'-', 0, 0) + u'-';
            for (const QString& id : ids)
                QVERIFY2(id.startsWith(prefix), qPrintable(id));
        }
        QVERIFY(withLogo.contains("class="));
    }

    // The command line writes the document when the output name ends in .svg.
    void renderCommandChoosesByExtension() {
        TestImages::ScratchFolder scratch;
        const QString path = scratch.filePath(QStringLiteral("design.SVG"));
        QCOMPARE(ProgramRun::Sigilon({"render", "--set", "text=Ab", "--output", path}).exitCode, 0);
        IconDesign design;
        design.text = QStringLiteral("Ab");
        QCOMPARE(TestImages::ReadFile(path), SvgDocument(design));
    }
};

QTEST_MAIN(tst_SvgWriter)
#include "tst_SvgWriter.moc"
