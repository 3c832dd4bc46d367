#include "design/AlphaPlane.h"
#include "design/ShadowMask.h"

#include <QPainter>
#include <QtTest>
#include <vector>

namespace {

// An opaque square [left, left + side) on a transparent image.
QImage Square(int size, int left, int side) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(left, left, side, side, Qt::black);
    return image;
}

std::vector<std::uint8_t> Row(const ShadowMask& mask, int y, int x, int count) {
    std::vector<std::uint8_t> row(count);
    mask.SampleRow(y, x, count, row.data());
    return row;
}

} // namespace

class ShadowMaskTest : public QObject {
    Q_OBJECT

private slots:
    void blurKeepsTheEdgeWhereItWas_data();
    void blurKeepsTheEdgeWhereItWas();
    void blurIsSymmetricAndSpreadsWithSigma();
    void boundsCoverTheSpreadAndOutsideIsClear();
    void fractionalShiftMovesTheEdgeByPartOfAPixel();
    void planeBlurKeepsTheTotalCoverage();
};

void ShadowMaskTest::blurKeepsTheEdgeWhereItWas_data() {
    QTest::addColumn<double>("sigma");
    // Small sigmas blur at full resolution, larger ones on a reduced grid: neither may move
    // the shadow.
    QTest::newRow("no blur") << 0.0;
    QTest::newRow("full resolution") << 1.5;
    QTest::newRow("half resolution") << 4.3;
    QTest::newRow("third resolution") << 6.4;
    QTest::newRow("eighth resolution") << 20.0;
}

void ShadowMaskTest::blurKeepsTheEdgeWhereItWas() {
    QFETCH(double, sigma);
    const ShadowMask mask(Square(400, 100, 200), sigma, sigma, QPointF(), 2);
    const std::vector<std::uint8_t> row = Row(mask, 200, 0, 400);
    // Deep inside and far outside stay solid and clear.
    QCOMPARE(int(row[200]), 255);
    QCOMPARE(int(row[0]), 0);
    QCOMPARE(int(row[399]), 0);
    // Half coverage sits on the square's edges (x = 100 and x = 300) within a pixel.
    auto halfway = [&](int from, int step) {
        for (int x = from; x >= 0 && x < 400; x += step)
            if (row[x] >= 128)
                return x;
        return -1;
    };
    QVERIFY2(std::abs(halfway(0, 1) - 100) <= 1, qPrintable(QString::number(halfway(0, 1))));
    QVERIFY2(std::abs(halfway(399, -1) - 299) <= 1, qPrintable(QString::number(halfway(399, -1))));
}

void ShadowMaskTest::blurIsSymmetricAndSpreadsWithSigma() {
    const ShadowMask narrow(Square(300, 100, 100), 3.0, 3.0, QPointF(), 1);
    const ShadowMask wide(Square(300, 100, 100), 12.0, 12.0, QPointF(), 1);
    const std::vector<std::uint8_t> a = Row(narrow, 150, 0, 300);
    const std::vector<std::uint8_t> b = Row(wide, 150, 0, 300);
    for (int d = 0; d < 40; ++d) {
        // Mirror images on both sides of the square (edges at 100 and 200).
        QVERIFY2(std::abs(int(a[100 - 1 - d]) - int(a[200 + d])) <= 2,
                 qPrintable(QString::number(d)));
        QVERIFY2(std::abs(int(b[100 - 1 - d]) - int(b[200 + d])) <= 2,
                 qPrintable(QString::number(d)));
    }
    // Ten pixels out, only the wide blur still casts shadow.
    QCOMPARE(int(a[89]), 0);
    QVERIFY(b[89] > 40);
    // Separate sigmas: a blur along x only leaves the top edge sharp.
    const ShadowMask sideways(Square(300, 100, 100), 12.0, 0.0, QPointF(), 1);
    QCOMPARE(int(Row(sideways, 98, 150, 1)[0]), 0);
    QCOMPARE(int(Row(sideways, 101, 150, 1)[0]), 255);
    QVERIFY(Row(sideways, 150, 90, 1)[0] > 40);
}

void ShadowMaskTest::boundsCoverTheSpreadAndOutsideIsClear() {
    const QImage edgeToEdge = Square(100, 0, 100);
    const ShadowMask mask(edgeToEdge, 8.0, 8.0, QPointF(), 2);
    // The shadow of an image-filling square spreads past the image on every side.
    QVERIFY(mask.bounds().contains(QRect(-20, -20, 140, 140)));
    QVERIFY(Row(mask, 50, -10, 1)[0] > 0);
    // Outside the bounds everything reads clear, and asking for it is safe.
    const QRect b = mask.bounds();
    QCOMPARE(int(Row(mask, b.top() - 5, 50, 1)[0]), 0);
    QCOMPARE(int(Row(mask, 50, b.right() + 3, 1)[0]), 0);
    const std::vector<std::uint8_t> across = Row(mask, 50, b.left() - 50, b.width() + 100);
    QCOMPARE(int(across.front()), 0);
    QCOMPARE(int(across.back()), 0);
}

void ShadowMaskTest::fractionalShiftMovesTheEdgeByPartOfAPixel() {
    // Unblurred, the square's left edge at x = 100 is sharp; moved by half a pixel, the first
    // pixel of the square is half covered and the pixel before it still clear.
    const ShadowMask sharp(Square(300, 100, 100), 0.0, 0.0, QPointF(), 1);
    const ShadowMask moved(Square(300, 100, 100), 0.0, 0.0, QPointF(0.5, 0.25), 1);
    QCOMPARE(int(Row(sharp, 150, 100, 1)[0]), 255);
    QCOMPARE(int(Row(sharp, 150, 99, 1)[0]), 0);
    QVERIFY(std::abs(int(Row(moved, 150, 100, 1)[0]) - 128) <= 2);
    QCOMPARE(int(Row(moved, 150, 99, 1)[0]), 0);
    QCOMPARE(int(Row(moved, 150, 101, 1)[0]), 255);
    // The right edge now reaches a half pixel into x = 200, and the top a quarter into 100.
    QVERIFY(std::abs(int(Row(moved, 150, 200, 1)[0]) - 128) <= 2);
    QVERIFY(std::abs(int(Row(moved, 100, 150, 1)[0]) - 191) <= 2);
    // The same holds on a reduced grid: the whole blurred edge moves by the fraction.
    const ShadowMask wide(Square(300, 100, 100), 8.0, 8.0, QPointF(), 1);
    const ShadowMask wideMoved(Square(300, 100, 100), 8.0, 8.0, QPointF(0.5, 0.0), 1);
    const int before = Row(wide, 150, 95, 1)[0];
    const int after = Row(wideMoved, 150, 95, 1)[0];
    QVERIFY2(after < before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
}

void ShadowMaskTest::planeBlurKeepsTheTotalCoverage() {
    AlphaPlane plane(200, 100);
    for (int y = 40; y < 60; ++y)
        for (int x = 90; x < 110; ++x)
            plane.row(y)[x] = 200;
    auto total = [&plane] {
        long long sum = 0;
        for (int y = 0; y < plane.height(); ++y)
            for (int x = 0; x < plane.width(); ++x)
                sum += plane.row(y)[x];
        return sum;
    };
    const long long before = total();
    plane.Blur(5.0, 2.0, 2);
    // Box averages neither create nor lose coverage, bar rounding of each pixel.
    QVERIFY2(std::abs(total() - before) < plane.width() * plane.height() / 4,
             qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(total())));
    QVERIFY(plane.row(50)[100] < 200);
    QVERIFY(plane.row(50)[80] > 0);
}

QTEST_GUILESS_MAIN(ShadowMaskTest)
#include "tst_ShadowMask.moc"
