#include "design/AlphaPlane.h"
#include "design/ShadowMask.h"

#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// An opaque square [left, left + side) on a transparent image.
QImage Square(int size, int left, int side) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(left, left, side, side, Qt::black);
    return image;
}

std::vector<std::uint8_t> Row(const ShadowMask& mask, int y, int x, int count) {
    std::vector<std::uint8_t> row(count);
    mask.SampleRow(y, x, count, row.data());
    return row;
}

int At(const ShadowMask& mask, int x, int y) {
    return Row(mask, y, x, 1)[0];
}

} // namespace

class ShadowMaskTest : public QObject {
    Q_OBJECT

private slots:
    void blurKeepsTheEdgeWhereItWas_data() {
        QTest::addColumn<double>("sigma");
        // Small sigmas blur at full resolution, larger ones on a reduced grid: neither may move
        // the shadow.
        QTest::newRow("no blur") << 0.0;
        QTest::newRow("full resolution") << 1.5;
        QTest::newRow("half resolution") << 4.3;
        QTest::newRow("third resolution") << 6.4;
        QTest::newRow("eighth resolution") << 20.0;
    }
    void blurKeepsTheEdgeWhereItWas() {
        QFETCH(double, sigma);
        const ShadowMask mask(Square(400, 100, 200), sigma, sigma, QPointF(), 2);
        const std::vector<std::uint8_t> row = Row(mask, 200, 0, 400);
        // Deep inside and far outside stay solid and clear.
        QCOMPARE(int(row[200]), 255);
        QCOMPARE(int(row[0]), 0);
        QCOMPARE(int(row[399]), 0);
        // Half coverage sits on the square's edges (x = 100 and x = 300) within a pixel.
        const auto half = [](int a) { return a >= 128; };
        const int left = int(std::find_if(row.begin(), row.end(), half) - row.begin());
        const int right = int(row.rend() - std::find_if(row.rbegin(), row.rend(), half)) - 1;
        QVERIFY2(std::abs(left - 100) <= 1 && std::abs(right - 299) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
    }

    void blurIsSymmetricAndSpreadsWithSigma() {
        for (const double sigma : {3.0, 12.0}) {
            const std::vector<std::uint8_t> row =
                Row(ShadowMask(Square(300, 100, 100), sigma, sigma, QPointF(), 1), 150, 0, 300);
            // Mirror images on both sides of the square (edges at 100 and 200).
            for (int d = 0; d < 40; ++d)
                QVERIFY2(std::abs(int(row[100 - 1 - d]) - int(row[200 + d])) <= 2,
                         qPrintable(QStringLiteral("%1 %2").arg(sigma).arg(d)));
            // Ten pixels out, only the wide blur still casts shadow.
            QVERIFY(sigma < 10 ? row[89] == 0 : row[89] > 40);
        }
        // Separate sigmas: a blur along x only leaves the top edge sharp.
        const ShadowMask sideways(Square(300, 100, 100), 12.0, 0.0, QPointF(), 1);
        QVERIFY(At(sideways, 150, 98) == 0 && At(sideways, 150, 101) == 255);
        QVERIFY(At(sideways, 90, 150) > 40);
    }

    void boundsCoverTheSpreadAndOutsideIsClear() {
        const ShadowMask mask(Square(100, 0, 100), 8.0, 8.0, QPointF(), 2);
        // The shadow of an image-filling square spreads past the image on every side.
        QVERIFY(mask.bounds().contains(QRect(-20, -20, 140, 140)));
        QVERIFY(At(mask, -10, 50) > 0);
        // Outside the bounds everything reads clear, and asking for it is safe.
        const QRect b = mask.bounds();
        QVERIFY(At(mask, 50, b.top() - 5) == 0 && At(mask, b.right() + 3, 50) == 0);
        const std::vector<std::uint8_t> across = Row(mask, 50, b.left() - 50, b.width() + 100);
        QVERIFY(across.front() == 0 && across.back() == 0);
    }

    void fractionalShiftMovesTheEdgeByPartOfAPixel() {
        // Unblurred and moved by half a pixel, the square's first column (x = 100) is half
        // covered, the one before it still clear, the next one whole.
        const ShadowMask moved(Square(300, 100, 100), 0.0, 0.0, QPointF(0.5, 0.25), 1);
        QVERIFY(std::abs(At(moved, 100, 150) - 128) <= 2);
        QVERIFY(At(moved, 99, 150) == 0 && At(moved, 101, 150) == 255);
        // The right edge now reaches a half pixel into x = 200, and the top a quarter into 100.
        QVERIFY(std::abs(At(moved, 200, 150) - 128) <= 2);
        QVERIFY(std::abs(At(moved, 150, 100) - 191) <= 2);
        // The same holds on a reduced grid: the whole blurred edge moves by the fraction.
        const ShadowMask wide(Square(300, 100, 100), 8.0, 8.0, QPointF(), 1);
        const ShadowMask wideMoved(Square(300, 100, 100), 8.0, 8.0, QPointF(0.5, 0.0), 1);
        QVERIFY(At(wideMoved, 95, 150) < At(wide, 95, 150));
    }

    void planeBlurKeepsTheTotalCoverage() {
        AlphaPlane plane(200, 100);
        for (int y = 40; y < 60; ++y)
            std::fill_n(plane.row(y) + 90, 20, 200);
        auto total = [&plane] { // the rows lie one after another
            return std::accumulate(plane.row(0), plane.row(plane.height() - 1) + plane.width(),
                                   0LL);
        };
        const long long before = total();
        plane.Blur(5.0, 2.0, 2);
        // Box averages neither create nor lose coverage, bar rounding of each pixel.
        QVERIFY2(std::abs(total() - before) < plane.width() * plane.height() / 4,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(total())));
        QVERIFY(plane.row(50)[100] < 200 && plane.row(50)[80] > 0);
    }
};

QTEST_GUILESS_MAIN(ShadowMaskTest)
#include "tst_ShadowMask.moc"
