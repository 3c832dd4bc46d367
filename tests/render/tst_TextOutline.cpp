// The fonts the design names, each drawn in a face its table names, and the text's outline:
// laid out only as far as it can show, its lines centred from the top of the box.

#include "design/FontFamilies.h"
#include "render/TextOutline.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

namespace {

const QString kFamily = QStringLiteral("DejaVu Sans");

// The outline's extent within a horizontal band of the box, to look at one line at a time.
QRectF BandBounds(const QPainterPath& outline, double top, double bottom) {
    QPainterPath band;
    band.addRect(QRectF(-1e6, top, 2e6, bottom - top));
    return outline.intersected(band).boundingRect();
}

// The family of the face that text laid out in this family name is actually drawn with.
QString FaceUsedForLayout(const QString& family) {
    QFont font(family);
    font.setPixelSize(40);
    QTextLayout layout(QStringLiteral("Rag"), font);
    layout.beginLayout();
    layout.createLine().setLineWidth(1000);
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : FamilyWithoutFoundry(runs.first().rawFont().familyName());
}

} // namespace

class TextOutlineTest : public QObject {
    Q_OBJECT

private slots:
    void everyIndexDrawsInAFaceItsTableNames_data() {
        QTest::addColumn<int>("index");
        for (int index = 0; index < FontFamilyList().size(); ++index)
            QTest::newRow(qPrintable(FontFamilyList()[index])) << index;
    }
    void everyIndexDrawsInAFaceItsTableNames() {
        // A stand-in that is not installed, or not found under the name it is listed by,
        // would silently fall back to some other face.
        QFETCH(int, index);
        const QStringList candidates = FontFamilyCandidates(index);
        QCOMPARE(candidates.size(), 2);
        QCOMPARE(candidates.first(), FontFamilyList()[index]);
        const QString face = FaceUsedForLayout(FontFamilyName(index));
        QVERIFY2(candidates.contains(face), qPrintable(face));
    }

    void familiesAreMatchedWhateverTheirFoundry_data() {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("family");
        QTest::newRow("plain") << QStringLiteral("C059") << QStringLiteral("C059");
        QTest::newRow("foundry") << QStringLiteral("C059 [urw]") << QStringLiteral("C059");
        QTest::newRow("foundry with a space")
            << QStringLiteral("Nimbus Sans [URW ]") << QStringLiteral("Nimbus Sans");
        QTest::newRow("brackets inside the name")
            << QStringLiteral("Odd [x] Sans") << QStringLiteral("Odd [x] Sans");
    }
    void familiesAreMatchedWhateverTheirFoundry() {
        QFETCH(QString, listed);
        QFETCH(QString, family);
        QCOMPARE(FamilyWithoutFoundry(listed), family);
    }

    void indexesOutsideTheListTakeTheFirstInstalledFamily() {
        const QString first = QFontDatabase::families().value(0, QStringLiteral("none"));
        for (int index : {-1, 20, 99})
            QCOMPARE(FontFamilyName(index), first);
        QVERIFY(FontFamilyCandidates(-1).isEmpty());
    }

    void textBeyondTheVisibleAreaIsNotLaidOut_data() {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<int>("visiblePrefix");
        QTest::addColumn<double>("boxTop");
        // One word longer than any line, broken anywhere.
        QTest::newRow("one long word") << "W" << 20000 << 600 << 0.0;
        // Words that wrap at their boundaries; the prefix ends inside a word.
        QTest::newRow("many words") << "Wide words " << 5000 << 1503 << 0.0;
        // The box moved far up: the lines above the area still decide where the rest go.
        QTest::newRow("box above the area") << "W" << 20000 << 6000 << -3000.0;
    }
    void textBeyondTheVisibleAreaIsNotLaidOut() {
        QFETCH(QString, piece);
        QFETCH(int, repeats);
        QFETCH(int, visiblePrefix);
        QFETCH(double, boxTop);
        const QRectF visible(0, 0, 1024, 1024);
        const QRectF box(0, boxTop, 1024, 1024);
        const QString text = piece.repeated(repeats);
        const QPainterPath whole = TextOutline(text, kFamily, 100, box, visible);
        // Everything that can show is there: the lines reach the bottom of the area...
        QVERIFY(whole.boundingRect().bottom() > visible.bottom() - 150);
        QVERIFY(whole.boundingRect().top() < visible.top() + 150);
        // ...and it is exactly what the visible part of the text alone gives, however much
        // text follows.
        QVERIFY(whole == TextOutline(text.left(visiblePrefix), kFamily, 100, box, visible));
    }

    void linesAreCentredAndStartAtTheTop() {
        // Two lines in an off-centre box: a wide word, then a narrow one under it.
        const QRectF box(37, 50, 500, 600);
        const QPainterPath outline = TextOutline(QStringLiteral("WWWWW I"), kFamily, 100, box,
                                                 QRectF(-1000, -1000, 3000, 3000));
        const QRectF first = BandBounds(outline, box.top(), box.top() + 100);
        const QRectF second = BandBounds(outline, box.top() + 110, box.top() + 250);
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        QVERIFY(first.width() > 3 * second.width());
        for (const QRectF& line : {first, second})
            QVERIFY2(std::abs(line.center().x() - box.center().x()) < 4,
                     qPrintable(QString::number(line.center().x())));
        QVERIFY(first.top() >= box.top() && first.top() < box.top() + 40);
    }
};

QTEST_MAIN(TextOutlineTest)
#include "tst_TextOutline.moc"
