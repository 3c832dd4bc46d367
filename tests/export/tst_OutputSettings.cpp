// The output settings' rules: the format list, the quality and custom-size fields, and the
// list of files that the size-set choices give.

#include "design/DesignSettings.h"
#include "export/OutputFormat.h"
#include "export/SizeSets.h"
#include "export/ValidatedNumber.h"

#include <QtTest>

class OutputSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void formatList() {
        const QStringList titles{"PNG", "JPG",  "JPEG", "JPE", "JP2",
                                 "JPX", "TIFF", "TIF",  "GIF", "BMP"};
        const QStringList extensions{"png", "jpg",  "jpeg", "jpe", "jp2",
                                     "jpx", "tiff", "tif",  "gif", "bmp"};
        QCOMPARE(int(OutputFormat::List().size()), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(OutputFormat::List()[i].title, titles[i]);
            QCOMPARE(GetFileExtension(i), extensions[i]);
        }
        QCOMPARE(GetFileExtension(-1), QString());
        QCOMPARE(GetFileExtension(10), QString());
        QVERIFY(OutputFormat::At(-1) == nullptr);
        QVERIFY(OutputFormat::At(10) == nullptr);
    }

    void sharedEncoders() {
        const auto encoder = [](int i) { return OutputFormat::At(i)->encoder; };
        QCOMPARE(encoder(1), encoder(2));
        QCOMPARE(encoder(2), encoder(3));
        QCOMPARE(encoder(4), encoder(5));
        QCOMPARE(encoder(6), encoder(7));
        QVERIFY(encoder(0) != encoder(1));
        QVERIFY(encoder(3) != encoder(4));
        QVERIFY(encoder(8) != encoder(9));
    }

    void qualityControlsFollowTheFormat() {
        for (int index = -1; index <= 10; ++index)
            QCOMPARE(OutputFormat::QualityControlsEnabled(index), index >= 1 && index <= 5);
    }

    void compressionFactorIsDividedInSinglePrecision() {
        QCOMPARE(CompressionFactor(80.0f), 0.800000011920929);
        QCOMPARE(CompressionFactor(1.0f), 0.009999999776482582);
        QCOMPARE(CompressionFactor(100.0f), 1.0);
        QVERIFY(CompressionFactor(80.0f) != 0.8);
    }

    void validateQuality_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedValue");
        QTest::newRow("empty") << ""
                               << "1" << 1;
        QTest::newRow("letters") << "abc"
                                 << "1" << 1;
        QTest::newRow("decimal point") << "12.5"
                                       << "1" << 1;
        QTest::newRow("space") << " 55"
                               << "1" << 1;
        QTest::newRow("beyond 64 bits") << "99999999999999999999"
                                        << "1" << 1;
        QTest::newRow("zero") << "0"
                              << "1" << 1;
        QTest::newRow("negative") << "-3"
                                  << "1" << 1;
        QTest::newRow("too large") << "150"
                                   << "100" << 100;
        QTest::newRow("largest 64-bit") << "9223372036854775807"
                                        << "100" << 100;
        QTest::newRow("in range") << "55"
                                  << "55" << 55;
        QTest::newRow("lowest") << "1"
                                << "1" << 1;
        QTest::newRow("highest") << "100"
                                 << "100" << 100;
        QTest::newRow("sign kept") << "+55"
                                   << "+55" << 55;
    }

    void validateQuality() {
        QFETCH(QString, text);
        QFETCH(QString, expectedText);
        QFETCH(int, expectedValue);
        const ValidatedNumber result = ValidateQuality(text);
        QCOMPARE(result.text, expectedText);
        QCOMPARE(result.value, expectedValue);
    }

    void validateCustomSize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedValue");
        QTest::newRow("too large") << "20000"
                                   << "10000" << 10000;
        QTest::newRow("letters") << "abc"
                                 << "1024" << 1024;
        QTest::newRow("decimal point") << "12.5"
                                       << "1024" << 1024;
        QTest::newRow("empty") << ""
                               << "1024" << 1024;
        QTest::newRow("zero") << "0"
                              << "1" << 1;
        QTest::newRow("negative") << "-5"
                                  << "1" << 1;
        QTest::newRow("in range") << "300"
                                  << "300" << 300;
        QTest::newRow("highest") << "10000"
                                 << "10000" << 10000;
        QTest::newRow("leading zeros kept") << "0300"
                                            << "0300" << 300;
    }

    void validateCustomSize() {
        QFETCH(QString, text);
        QFETCH(QString, expectedText);
        QFETCH(int, expectedValue);
        const ValidatedNumber result = ValidateCustomSize(text);
        QCOMPARE(result.text, expectedText);
        QCOMPARE(result.value, expectedValue);
    }

    void defaultSettingsGiveTheMacSet() {
        const QList<OutputSize> list = SizeSets::SizeList(DesignSettings());
        QCOMPARE(Sides(list), (QList<int>{16, 32, 64, 128, 256, 512, 1024}));
        for (const OutputSize& size : list) {
            QCOMPARE(size.height, size.width);
            QCOMPARE(size.nameText, QString::number(int(size.width)));
        }
    }

    void eachSetInTableOrder() {
        DesignSettings ios = OnlyChoice();
        ios.iosIconSet = 1;
        QCOMPARE(Sides(SizeSets::SizeList(ios)),
                 (QList<int>{20, 29, 40, 58, 60, 76, 80, 87, 120, 152, 167, 180, 512, 1024}));
        DesignSettings watch = OnlyChoice();
        watch.watchIconSet = 1;
        QCOMPARE(Sides(SizeSets::SizeList(watch)),
                 (QList<int>{32, 36, 40, 48, 55, 58, 87, 88, 172, 196}));
    }

    void onlyCheckedSizesOfTheChosenSetCount() {
        DesignSettings settings = OnlyChoice();
        settings.watchIconSet = 1;
        settings.watchSizes.fill(0);
        settings.watchSizes[1] = 1;  // 36
        settings.watchSizes[9] = -1; // 196, mixed state counts as on
        settings.iosSizes.fill(0);   // not chosen: no effect
        settings.macSizes.fill(0);
        QCOMPARE(Sides(SizeSets::SizeList(settings)), (QList<int>{36, 196}));
    }

    void allBoxesOffGiveAnEmptyList() {
        DesignSettings settings;
        settings.macSizes.fill(0);
        QVERIFY(SizeSets::SizeList(settings).isEmpty());
    }

    void noChoiceGivesAnEmptyList() { QVERIFY(SizeSets::SizeList(OnlyChoice()).isEmpty()); }

    void firstChosenSetWins() {
        DesignSettings settings; // macOS on
        settings.customSize = 1;
        settings.iosIconSet = 1;
        QCOMPARE(SizeSets::SizeList(settings).size(), 14);
        settings.iosIconSet = 0;
        settings.watchIconSet = 1;
        QCOMPARE(SizeSets::SizeList(settings).size(), 10);
        settings.watchIconSet = 0;
        QCOMPARE(SizeSets::SizeList(settings).size(), 7);
        settings.macIconSet = 0;
        QCOMPARE(SizeSets::SizeList(settings).size(), 1);
    }

    void customSizeIsNamedByTheWidthText() {
        DesignSettings settings = OnlyChoice();
        settings.customSize = 1;
        settings.customWidthText = QStringLiteral("300");
        settings.customHeightText = QStringLiteral("200");
        QCOMPARE(SizeSets::SizeList(settings), (QList<OutputSize>{{300.0, 200.0, "300"}}));
        settings.customWidthText = QStringLiteral("+0300");
        const OutputSize size = SizeSets::SizeList(settings).constFirst();
        QCOMPARE(size.width, 300.0);
        QCOMPARE(size.nameText, QStringLiteral("+0300"));
    }

private:
    static DesignSettings OnlyChoice() {
        DesignSettings settings;
        settings.macIconSet = 0;
        return settings;
    }

    static QList<int> Sides(const QList<OutputSize>& list) {
        QList<int> sides;
        for (const OutputSize& size : list)
            sides.append(int(size.width));
        return sides;
    }
};

QTEST_GUILESS_MAIN(OutputSettingsTest)
#include "tst_OutputSettings.moc"
