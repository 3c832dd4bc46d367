#include "helpers/TestImages.h"
#include "render/ShadowMask.h"

#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <vector>

namespace {

// An opaque square [left, left + side) on a transparent image.
QImage Square(int size, int left, int side) {
    QImage image = TestImages::Filled(size, size, Qt::transparent);
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

// Pictures that cast a shadow beneath themselves.
QImage Picture(const QString& kind) {
    QImage image = TestImages::Filled(263, 211, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (kind == QLatin1String("rounded")) {
        painter.drawRoundedRect(QRectF(20.5, 17.3, 221.2, 180.4), 40, 40);
    } else if (kind == QLatin1String("two islands")) {
        painter.drawRect(10, 30, 60, 150);
        painter.drawRect(100, 20, 150, 100);
    } else if (kind == QLatin1String("holed")) {
        painter.drawRect(15, 15, 230, 180);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.drawEllipse(QRectF(90.5, 70.5, 40, 50));
    } else if (kind == QLatin1String("whole")) {
        painter.drawRect(image.rect());
    } else { // "nearly opaque": nothing is wholly opaque
        painter.setBrush(QColor(0, 0, 0, 254));
        painter.drawRect(20, 20, 200, 170);
    }
    return image;
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
        QCOMPARE(int(row[200]), 255);
        QCOMPARE(int(row[0]), 0);
        QCOMPARE(int(row[399]), 0);
        // Half coverage sits on the square's edges (x = 100 and x = 300) within a pixel.
        const auto half = [](int a) { return a >= 128; };
        const int left = int(std::find_if(row.begin(), row.end(), half) - row.begin());
        const int right = int(row.rend() - std::find_if(row.rbegin(), row.rend(), half)) - 1;
        QVERIFY2(std::abs(left - 100) <= 1 && std::abs(right - 299) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
        // Mirror images on both sides, and eleven pixels out only a wide blur still casts shadow.
        for (int d = 0; d < 40; ++d)
            QVERIFY2(std::abs(int(row[100 - 1 - d]) - int(row[300 + d])) <= 2,
                     qPrintable(QString::number(d)));
        QVERIFY(sigma > 2 || row[89] == 0);
        QVERIFY(sigma < 20 || row[89] > 40);
    }

    void separateSigmasBlurEachAxisAlone() {
        // A blur along x only leaves the top edge sharp.
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

    void beneathMaskMatchesTheWholeMaskWhereItShows_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QPointF>("sigma"); // along x and along y
        QTest::addColumn<QPointF>("shift");
        QTest::addColumn<QPoint>("offset");
        const auto row = [](const char* name, const char* kind, QPointF sigma, QPointF shift,
                            QPoint offset) {
            QTest::newRow(name) << QString(kind) << sigma << shift << offset;
        };
        row("rounded, reduced, moved down", "rounded", {7, 7}, {0.3, 0.6}, {0, 5});
        row("rounded, full resolution, moved up-left", "rounded", {1.5, 1.5}, {}, {-9, -4});
        row("rounded, unblurred", "rounded", {}, {0.5, 0.5}, {3, 3});
        row("rounded, moved past its own edge", "rounded", {4.3, 4.3}, {}, {60, -45});
        row("rounded, wide along x only", "rounded", {12, 0}, {0.25, 0}, {7, 2});
        row("two islands in a row", "two islands", {6.4, 6.4}, {0.1, 0.9}, {4, 8});
        row("hole inside", "holed", {6.4, 6.4}, {}, {-3, 6});
        row("wholly opaque", "whole", {5, 5}, {}, {10, 10});
        row("nearly opaque", "nearly opaque", {6, 6}, {}, {0, 4});
    }
    void beneathMaskMatchesTheWholeMaskWhereItShows() {
        QFETCH(QString, kind);
        QFETCH(QPointF, sigma);
        const double sigmaX = sigma.x(), sigmaY = sigma.y();
        QFETCH(QPointF, shift);
        QFETCH(QPoint, offset);
        const QImage image = Picture(kind);
        const ShadowMask whole(image, sigmaX, sigmaY, shift, 1);
        const ShadowMask beneath = ShadowMask::Beneath(image, sigmaX, sigmaY, shift, offset, 3);
        int skipped = 0;
        for (int y = 0; y < image.height(); ++y) {
            const ColumnSpan opaque = beneath.KnownOpaque(y);
            const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = opaque.begin; x < opaque.end; ++x)
                QVERIFY2(qAlpha(pixels[x]) == 255,
                         qPrintable(QStringLiteral("%1 %2").arg(x).arg(y)));
            skipped += std::max(0, opaque.end - opaque.begin);
            // Everywhere else the shadow reads exactly what the whole mask holds.
            const std::vector<std::uint8_t> expected =
                Row(whole, y - offset.y(), -offset.x(), image.width());
            const std::vector<std::uint8_t> actual =
                Row(beneath, y - offset.y(), -offset.x(), image.width());
            for (int x = 0; x < image.width(); ++x) {
                if (x >= opaque.begin && x < opaque.end)
                    continue;
                QVERIFY2(expected[x] == actual[x],
                         qPrintable(QString::asprintf("(%d, %d): %d, not %d", x, y, actual[x],
                                                      expected[x])));
            }
        }
        // The opaque runs are found where they exist, and none where nothing is wholly opaque.
        const int area = image.width() * image.height();
        if (kind == QLatin1String("nearly opaque"))
            QCOMPARE(skipped, 0);
        else
            QVERIFY2(skipped > area / 4, qPrintable(QString::number(skipped)));
    }
};

QTEST_GUILESS_MAIN(ShadowMaskTest)
#include "tst_ShadowMask.moc"
