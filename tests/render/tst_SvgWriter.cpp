#include "helpers/ProgramRun.h"
#include "helpers/TestDesigns.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "render/ImageTools.h"
#include "render/SvgWriter.h"

#include <QXmlStreamReader>
#include <QtTest>

namespace {

// librsvg's drawing of the document at canvas size.
QImage DrawnDocument(const QByteArray& document, QSize size) {
    const auto image = SvgImage::Read(document);
    return image ? image->Draw(size, QTransform()) : QImage();
}

} // namespace

class tst_SvgWriter : public QObject {
    Q_OBJECT

private slots:
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

    // Valid XML without external references or text elements, the same bytes each time, and a
    // small document for the default design; with a dark look too.
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
