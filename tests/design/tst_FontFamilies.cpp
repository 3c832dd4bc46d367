#include "design/FontFamilies.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

namespace {

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

class FontFamiliesTest : public QObject {
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
};

QTEST_MAIN(FontFamiliesTest)
#include "tst_FontFamilies.moc"
