// The output settings' rules: the format list, the numbers read from the fields' texts, and the
// list of files that the size-set choices give.

#include "design/DesignSettings.h"
#include "design/IconDesign.h"
#include "export/ExportOptions.h"
#include "export/OutputFormat.h"
#include "export/SizeSets.h"
#include "export/ValidatedNumber.h"

#include <QtTest>

Q_DECLARE_METATYPE(DesignSettings)

namespace {

const QList<int> Ios{20, 29, 40, 58, 60, 76, 80, 87, 120, 152, 167, 180, 512, 1024};
const QList<int> Watch{32, 36, 40, 48, 55, 58, 87, 88, 172, 196};
const QList<int> Mac{16, 32, 64, 128, 256, 512, 1024};

DesignSettings Chosen(int ios, int watch, int mac, int custom) {
    DesignSettings settings;
    settings.iosIconSet = ios;
    settings.watchIconSet = watch;
    settings.macIconSet = mac;
    settings.customSize = custom;
    return settings;
}

DesignSettings AllOff(DesignSettings settings) {
    settings.iosSizes.fill(0);
    settings.watchSizes.fill(0);
    settings.macSizes.fill(0);
    return settings;
}

} // namespace

class OutputSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void formatList() {
        QStringList titles;
        for (const OutputFormat& format : OutputFormat::List())
            titles.append(format.title);
        QCOMPARE(titles, (QStringList{"PNG", "JPG", "JPEG", "JPE", "JP2", "JPX", "TIFF", "TIF",
                                      "GIF", "BMP"}));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(GetFileExtension(i), titles[i].toLower());
    }

    // The common fallbacks and limits are typed into the fields in tst_InspectorFields; these
    // are the spellings only the field check sees.
    void typedNumbers_data() {
        QTest::addColumn<bool>("quality"); // else a custom size
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("quality space") << true << " 55" << 1 << "1";
        QTest::newRow("quality beyond 64 bits") << true << "99999999999999999999" << 1 << "1";
        QTest::newRow("quality largest 64-bit") << true << "9223372036854775807" << 100 << "100";
        QTest::newRow("quality sign kept") << true << "+55" << 55 << "+55";
        QTest::newRow("size too large") << false << "20000" << 10000 << "10000";
        QTest::newRow("size leading zeros kept") << false << "0300" << 300 << "0300";
    }

    void typedNumbers() {
        QFETCH(bool, quality);
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QCOMPARE(quality ? ValidateQuality(text) : ValidateCustomSize(text),
                 (ValidatedNumber{shown, value}));
    }

    void numbersReadFromFieldTexts_data() {
        // A profile sets these texts as written, without the fields' own check; every reader
        // takes the longest leading decimal number. The canvas keeps its side within 1 to 10000.
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("canvasSide");
        const double infinity = std::numeric_limits<double>::infinity();
        QTest::newRow("whole") << "300" << 300.0 << 300.0f;
        QTest::newRow("letters after") << "12abc" << 12.0 << 12.0f;
        QTest::newRow("fraction and exponent") << "7.5e1px" << 75.0 << 75.0f;
        QTest::newRow("exponent without digits") << "64e" << 64.0 << 64.0f;
        QTest::newRow("exponent sign without digits") << "64E+" << 64.0 << 64.0f;
        QTest::newRow("leading white space") << " \t\n32" << 32.0 << 32.0f;
        QTest::newRow("decimal comma") << "12,5" << 12.0 << 12.0f;
        QTest::newRow("no leading digit") << "-.5" << -0.5 << 1.0f;
        QTest::newRow("point only") << "." << 0.0 << 1.0f;
        QTest::newRow("beyond a double") << "1e400" << infinity << 10000.0f;
        // Spellings strtod takes that are not decimal numbers.
        QTest::newRow("hexadecimal") << "0x20" << 0.0 << 1.0f;
        QTest::newRow("hexadecimal real") << "0x1p12" << 0.0 << 1.0f;
        QTest::newRow("inf") << "inf" << 0.0 << 1.0f;
        QTest::newRow("signed infinity") << "+Infinity" << 0.0 << 1.0f;
        QTest::newRow("nan") << "nan" << 0.0 << 1.0f;
        QTest::newRow("nan with payload") << "-NAN(12)" << 0.0 << 1.0f;
        QTest::newRow("full-width digits") << QStringLiteral("\uFF13\uFF12") << 0.0 << 1.0f;
    }

    void numbersReadFromFieldTexts() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(float, canvasSide);
        DesignSettings settings = Chosen(0, 0, 0, 1);
        settings.customWidthText = text;
        settings.customHeightText = text;
        settings.qualityText = text;
        settings.canvasWidthText = text;
        settings.canvasHeightText = text;
        settings.textShadow = -1; // a flag counts as on in any state but off, mixed included
        QCOMPARE(SizeSets::SizeList(settings), (QList<OutputSize>{{value, value, text}}));
        QCOMPARE(ExportOptions::FromSettings(settings).quality, float(value));
        const IconDesign design = MakeIconDesign(settings, QImage());
        QCOMPARE(design.canvasWidth, canvasSide);
        QCOMPARE(design.canvasHeight, canvasSide);
        QVERIFY(design.textShadow);
    }

    void sizeLists_data() {
        QTest::addColumn<DesignSettings>("settings");
        QTest::addColumn<QList<int>>("sides");
        QTest::newRow("default: macOS") << DesignSettings() << Mac;
        QTest::newRow("iOS") << Chosen(1, 0, 0, 0) << Ios;
        QTest::newRow("watchOS") << Chosen(0, 1, 0, 0) << Watch;
        QTest::newRow("iOS all off") << AllOff(Chosen(1, 0, 0, 0)) << QList<int>();
        QTest::newRow("no choice") << Chosen(0, 0, 0, 0) << QList<int>();
        QTest::newRow("iOS before the rest") << Chosen(1, 1, 1, 1) << Ios;
        QTest::newRow("watchOS before macOS") << Chosen(0, 1, 1, 1) << Watch;
        QTest::newRow("macOS before custom") << Chosen(0, 0, 1, 1) << Mac;
        DesignSettings some = AllOff(Chosen(0, 1, 0, 0));
        some.watchSizes[1] = 1;  // 36
        some.watchSizes[9] = -1; // 196: the mixed state counts as on
        some.iosSizes.fill(1);   // not chosen: no effect
        QTest::newRow("checked sizes only") << some << QList<int>{36, 196};
    }

    void sizeLists() {
        QFETCH(DesignSettings, settings);
        QFETCH(QList<int>, sides);
        QList<OutputSize> expected;
        for (int side : sides)
            expected.append({double(side), double(side), QString::number(side)});
        QCOMPARE(SizeSets::SizeList(settings), expected);
    }
};

QTEST_GUILESS_MAIN(OutputSettingsTest)
#include "tst_OutputSettings.moc"
