// SVG both ways: a document as the icon layer, drawn as the library draws it and placed as a
// raster image would be; and the design written as a document that draws the same picture.

#include "helpers/ProgramRun.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "render/ImageTools.h"
#include "render/PreparedVectorIcon.h"
#include "render/SvgWriter.h"

#include <QPainter>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// librsvg's drawing of the document at canvas size.
QImage DrawnDocument(const QByteArray& document, QSize size) {
    const auto image = SvgImage::Read(document);
    return image ? image->Draw(size, QTransform()) : QImage();
}

// What keeps the document from standing on its own in a page beside others: malformed XML, a
// text element (drawn in whatever font the viewer has), a reference outside the document, or an
// id without the document's own prefix or given twice. Empty when there is nothing.
QString NotSelfContained(const QByteArray& document) {
    QXmlStreamReader reader(document);
    QStringList ids;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"text")
            return QStringLiteral("a text element");
        for (const QXmlStreamAttribute& attribute : reader.attributes()) {
            const QStringView value = attribute.value();
            if (attribute.name() == u"href" && !value.startsWith(u"#") &&
                !value.startsWith(u"data:"))
                return QStringLiteral("a reference to ") + value.toString();
            if (attribute.name() == u"id")
                ids << value.toString();
        }
    }
    if (reader.hasError())
        return reader.errorString();
    if (document.contains("url(http") || document.contains("url(file"))
        return QStringLiteral("a url outside the document");
    const QString prefix = ids.value(0).section(u'-', 0, 0) + u'-';
    for (const QString& id : ids)
        if (!id.startsWith(prefix) || ids.count(id) > 1)
            return QStringLiteral("the id ") + id;
    return {};
}

// The icon layer alone: nothing else drawn, on a transparent canvas.
IconDesign IconOnly(std::shared_ptr<const SvgImage> image, int width, int height) {
    IconDesign design = TestDesigns::Plain(width, height);
    design.iconImage = image->thumbnail();
    design.iconVector = std::move(image);
    return design;
}

} // namespace

class tst_SvgWriter : public QObject {
    Q_OBJECT

private slots:
    // Real logos with gradients, clip paths, masks, CSS classes and transforms: the icon layer
    // is the library's own drawing of the file, fitted inside the canvas.
    void matchesTheLibrarysOwnDrawing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("gradients") << "tango-dialog-error.svg" << 640 << 400;
        QTest::newRow("clip paths") << "gvim.svg" << 512 << 512;
        QTest::newRow("masks") << "adwaita-appearance-symbolic.svg" << 300 << 500;
        QTest::newRow("CSS classes") << "debian-logo-text.svg" << 800 << 800;
    }
    void matchesTheLibrarysOwnDrawing() {
        QFETCH(QString, file);
        QFETCH(int, width);
        QFETCH(int, height);
        const QString path = TestDesigns::DataFile(file);
        const auto image = SvgImage::Read(TestImages::ReadFile(path));
        QVERIFY(image);
        const QImage layer = ImageTools::RenderIcon(IconOnly(image, width, height));

        const QSizeF fitted =
            image->viewBox().size().scaled(QSizeF(width, height), Qt::KeepAspectRatio);
        const QSize size = fitted.toSize();
        TestImages::ScratchFolder scratch;
        const QString reference = scratch.filePath(QStringLiteral("reference.png"));
        const QString w = QString::number(size.width()), h = QString::number(size.height());
        const auto run = ProgramRun::Run("rsvg-convert", {"-w", w, "-h", h, "-o", reference, path});
        QCOMPARE(run.exitCode, 0);
        QImage expected = TestImages::Filled(width, height, Qt::transparent);
        {
            QPainter painter(&expected);
            painter.drawImage(QPointF(std::round((width - fitted.width()) / 2),
                                      std::round((height - fitted.height()) / 2)),
                              QImage(reference));
        }
        const double difference = TestImages::MeanAbsoluteDifference(layer, expected);
        QVERIFY2(difference <= 1.0, qPrintable(QString::number(difference)));
    }

    // A circle enlarged ten times is drawn at that size, not enlarged from a small drawing: its
    // edge stays one or two pixels wide.
    void enlargedImageKeepsSharpEdges() {
        const auto image =
            SvgImage::Read("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 "
                           "100\"><circle cx=\"50\" cy=\"50\" r=\"4\"/></svg>");
        QVERIFY(image);
        IconDesign design = IconOnly(image, 2000, 2000);
        design.iconScale = 999.0f;
        const QImage rendering = ImageTools::RenderIcon(design);
        const int row = 1000;
        const int soft = TestImages::Count(rendering, [&](int x, int y) {
            const int alpha = qAlpha(rendering.pixel(x, y));
            return y == row && alpha > 8 && alpha < 247;
        });
        QVERIFY2(soft <= 4, qPrintable(QString::number(soft)));
        QCOMPARE(qAlpha(rendering.pixel(1000, row)), 255);
        QCOMPARE(qAlpha(rendering.pixel(2, row)), 0);
    }

    // Turned, tinted and moved, the SVG image lands where the same picture as a raster lands.
    void placedLikeARasterImage() {
        const auto image =
            SvgImage::Read(TestImages::ReadFile(TestDesigns::DataFile("tango-dialog-error.svg")));
        QVERIFY(image);
        IconDesign vector = IconOnly(image, 480, 480);
        vector.iconRotation = 30.0f;
        vector.iconHorizontalOffset = 40.0f;
        vector.iconVerticalOffset = -25.0f;
        vector.iconScale = 60.0f;
        vector.useImageColors = false;
        vector.iconColor = Rgba{0.2, 0.8, 0.3, 1.0};
        IconDesign raster = vector;
        raster.iconVector.reset();
        raster.iconImage = image->Draw(QSize(480, 480), QTransform::fromScale(10, 10));
        QVERIFY(TestImages::MeanAbsoluteDifference(ImageTools::RenderIcon(vector),
                                                   ImageTools::RenderIcon(raster)) < 1.5);
    }

    // Another layer changing does not draw the document again, neither for the full rendering
    // nor for the interim preview drawn at view size between two of them.
    void editingTheTextKeepsTheDrawnIcon() {
        const auto image = SvgImage::Read(TestImages::ReadFile(TestDesigns::DataFile("gvim.svg")));
        QVERIFY(image);
        IconDesign design = IconOnly(image, 256, 256);
        const QRectF rect(28, 28, 200, 200);
        const QTransform toView = QTransform::fromScale(0.5, 0.5);
        const qint64 first =
            PreparedVectorIcon(design, rect, QTransform(), QRect(0, 0, 256, 256)).cacheKey();
        const qint64 interim =
            PreparedVectorIcon(design, rect, toView, QRect(0, 0, 128, 128)).cacheKey();
        design.text = QStringLiteral("Ab");
        QCOMPARE(PreparedVectorIcon(design, rect, toView, QRect(0, 0, 128, 128)).cacheKey(),
                 interim);
        QCOMPARE(PreparedVectorIcon(design, rect, QTransform(), QRect(0, 0, 256, 256)).cacheKey(),
                 first);
        design.iconRotation = 5.0f;
        QVERIFY(PreparedVectorIcon(design, rect, QTransform(), QRect(0, 0, 256, 256)).cacheKey() !=
                first);
    }

    // Together the designs use every layer option: the document draws the raster's picture.
    void documentDrawsTheRasterPicture_data() { TestDesigns::AddLayerRows(); }
    void documentDrawsTheRasterPicture() {
        QFETCH(TestDesigns::Change, change);
        IconDesign design;
        change(design);
        const QImage raster = ImageTools::RenderIcon(design);
        const QImage drawn = DrawnDocument(SvgDocument(design), raster.size());
        const double difference = TestImages::MeanAbsoluteDifference(raster, drawn);
        QVERIFY2(difference <= 1.5, qPrintable(QString::number(difference)));
    }

    // A document that stands on its own, the same bytes each time, and a small one for the
    // default design; with a dark look too.
    void documentIsSelfContainedAndRepeatable() {
        IconDesign design;
        design.text = QStringLiteral("Ab");
        const QByteArray document = SvgDocument(design);
        QVERIFY(document.size() < 64 * 1024);
        QCOMPARE(SvgDocument(design), document);
        TestDesigns::UseSvgIcon(design, "debian-logo-text.svg");
        const QByteArray withLogo = SvgDocument(design);
        design.iconImage = TestDesigns::RasterIcon();
        design.iconVector.reset();
        const QByteArray withDarkLook = SvgDocument(design, {.darkColorScheme = true});
        QVERIFY(withDarkLook.contains("<style>@media (prefers-color-scheme: dark){"));
        for (const QByteArray& bytes : {document, withLogo, SvgDocument(design), withDarkLook})
            QCOMPARE(NotSelfContained(bytes), QString());
        QVERIFY(withLogo.contains("class="));
    }

    // A dark look carries a second, lightened copy of an icon image in its own colours only when
    // one of its colours is under 4.5:1 on the darkened background: a favicon that needs none
    // stays as small as the design's document. Either way it stands on its own.
    void darkLookCopiesOnlyWhatIsTooDark_data() {
        QTest::addColumn<bool>("vector");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("tinted");
        QTest::addColumn<int>("copies");
        QTest::newRow("white SVG shape") << true << QColor(Qt::white) << false << 1;
        QTest::newRow("dark grey SVG shape") << true << QColor(0x2e3436) << false << 2;
        QTest::newRow("white raster") << false << QColor(Qt::white) << false << 1;
        QTest::newRow("dark grey raster") << false << QColor(0x2e3436) << false << 2;
        QTest::newRow("dark grey SVG shape, tinted") << true << QColor(0x2e3436) << true << 1;
    }
    void darkLookCopiesOnlyWhatIsTooDark() {
        QFETCH(bool, vector);
        QFETCH(QColor, color);
        QFETCH(bool, tinted);
        QFETCH(int, copies);
        IconDesign design;
        design.useImageColors = !tinted;
        const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
                               "<linearGradient id=\"g\"><stop stop-color=\"" +
                               color.name().toLatin1() +
                               "\"/></linearGradient><rect width=\"10\" height=\"10\" "
                               "fill=\"url(#g)\"/></svg>";
        if (vector) {
            design.iconVector = SvgImage::Read(svg);
            QVERIFY(design.iconVector);
            design.iconImage = design.iconVector->thumbnail();
        } else {
            design.iconImage = TestImages::Filled(40, 40, color);
        }
        const QByteArray document = SvgDocument(design, {.darkColorScheme = true});
        // The design's own layers are paths, so each <rect> is a copy of the icon's.
        QCOMPARE(int(document.count(vector ? "<rect " : "data:image/png")), copies);
        QCOMPARE(NotSelfContained(document), QString());
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
