#include "profiles/ProfileNumbers.h"

#include <QRandomGenerator>
#include <QtTest>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// A finite value is written with a fractional part or an exponent.
bool IsRealText(const QString& text) {
    return text.contains(u'.') || text.contains(u'e');
}

} // namespace

class TestProfileNumbers : public QObject {
    Q_OBJECT

private slots:
    void numberTexts_data() {
        // Components are written at 64 bits, slider and stepper values at 32.
        QTest::addColumn<QString>("componentText");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("realText");
        QTest::newRow("negative zero") << "-0.0" << -0.0 << "-0.0";
        QTest::newRow("curvature") << "0.2" << 0.2 << "0.2";
        QTest::newRow("largest canvas") << "10000.0" << 10000.0 << "10000.0";
        QTest::newRow("128/255") << "0.5019607843137255" << 128.0 / 255.0 << "0.5019608";
        QTest::newRow("very small") << "1e-05" << 1e-05 << "1e-05";
        QTest::newRow("very large") << "1e+20" << 1e20 << "1e+20";
        QTest::newRow("minus infinity") << "-inf" << -Infinity << "-inf";
        QTest::newRow("not a number") << "nan" << std::numeric_limits<double>::quiet_NaN() << "nan";
    }
    void numberTexts() {
        QFETCH(QString, componentText);
        QFETCH(double, value);
        QFETCH(QString, realText);
        QCOMPARE(ProfileComponentText(value), componentText);
        QCOMPARE(ProfileRealText(float(value)), realText);
    }

    void textsReadBackToTheSameBits() {
        // Random bit patterns reach every exponent, subnormals and the edges of both ranges.
        QRandomGenerator random(20240611);
        for (int i = 0; i < 200000; ++i) {
            const float real = std::bit_cast<float>(random.generate());
            const double component = std::bit_cast<double>(random.generate64());
            if (!std::isfinite(real) || !std::isfinite(component))
                continue;
            const QString realText = ProfileRealText(real);
            QVERIFY2(IsRealText(realText), qPrintable(realText));
            const std::optional<float> realBack = ParseProfileReal(realText);
            QVERIFY2(realBack, qPrintable(realText));
            QCOMPARE(std::bit_cast<quint32>(*realBack), std::bit_cast<quint32>(real));

            const QByteArray text = ProfileComponentText(component).toLatin1();
            QVERIFY2(IsRealText(QString::fromLatin1(text)), text.constData());
            double back = 0.0;
            const auto result = std::from_chars(text.constData(), text.constEnd(), back);
            QVERIFY2(result.ptr == text.constEnd(), text.constData());
            QCOMPARE(std::bit_cast<quint64>(back), std::bit_cast<quint64>(component));
        }
    }

    // Each line read as a real line and as a state or index line; an invalid value: refused.
    void parsedLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QVariant>("real");
        QTest::addColumn<QVariant>("stateOrIndex");
        const QVariant no;
        const auto real = [](double value) { return QVariant(float(value)); };
        QTest::newRow("whole number") << "40" << real(40) << QVariant(40);
        QTest::newRow("mixed state") << "-1" << real(-1) << QVariant(-1);
        QTest::newRow("plus sign") << "+1" << real(1) << QVariant(1);
        QTest::newRow("leading zeros") << "007" << real(7) << QVariant(7);
        QTest::newRow("largest int") << "2147483647" << real(2147483647.0) << QVariant(INT_MAX);
        QTest::newRow("smallest int") << "-2147483648" << real(-2147483648.0) << QVariant(INT_MIN);
        // Whole numbers beyond int select nothing, or show the mixed state; beyond 64 bits they
        // are no whole numbers at all.
        QTest::newRow("above int") << "2147483648" << real(2147483648.0) << QVariant(-1);
        QTest::newRow("below int") << "-2147483649" << real(-2147483649.0) << QVariant(-1);
        QTest::newRow("largest 64-bit")
            << "9223372036854775807" << real(9.223372036854775807e18) << QVariant(-1);
        QTest::newRow("smallest 64-bit")
            << "-9223372036854775808" << real(-9.223372036854775808e18) << QVariant(-1);
        QTest::newRow("above 64 bits") << "99999999999999999999" << real(1e20) << no;
        QTest::newRow("below 64 bits")
            << "-9223372036854775809" << real(-9.223372036854775809e18) << no;
        QTest::newRow("fraction with sign") << "+2.5" << real(2.5) << no;
        QTest::newRow("no leading digit") << ".5" << real(0.5) << no;
        QTest::newRow("capital exponent") << "1E-5" << real(1e-5) << no;
        QTest::newRow("hexadecimal") << "0x1p-3" << real(0.125) << no;
        QTest::newRow("hexadecimal whole") << "0x10" << real(16) << no;
        QTest::newRow("component at 64 bits") << "0.5019607843137255" << real(128.0 / 255.0) << no;
        QTest::newRow("infinity") << "inf" << real(Infinity) << no;
        QTest::newRow("beyond 32 bits") << "1e50" << real(Infinity) << no;
        QTest::newRow("below 32 bits") << "1e-50" << real(0) << no;
        QTest::newRow("nan") << "nan" << real(qQNaN()) << no;
        QTest::newRow("nan in capitals with payload") << "NAN(123)" << real(qQNaN()) << no;
        QTest::newRow("empty") << "" << no << no;
        QTest::newRow("sign only") << "+" << no << no;
        QTest::newRow("two signs") << "+-1" << no << no;
        QTest::newRow("leading blank") << " 1" << no << no;
        QTest::newRow("trailing blank") << "1.0 " << no << no;
        QTest::newRow("no-break space") << QStringLiteral("\u00A01") << no << no;
        QTest::newRow("full-width digit") << QStringLiteral("\uFF11") << no << no;
        QTest::newRow("nul inside") << QString::fromUtf16(u"1\u00000", 3) << no << no;
        QTest::newRow("number then letters") << "12abc" << no << no;
        QTest::newRow("decimal comma") << "0,5" << no << no;
        QTest::newRow("exponent without digits") << "1e" << no << no;
    }
    void parsedLines() {
        QFETCH(QString, line);
        QFETCH(QVariant, real);
        QFETCH(QVariant, stateOrIndex);
        const std::optional<float> parsed = ParseProfileReal(line);
        QCOMPARE(parsed.has_value(), real.isValid());
        if (parsed) // NaN by its kind, every other value by its bits
            QVERIFY(std::isnan(real.toFloat()) ? std::isnan(*parsed)
                                               : std::bit_cast<quint32>(*parsed) ==
                                                     std::bit_cast<quint32>(real.toFloat()));
        QCOMPARE(ParseProfileStateOrIndex(line),
                 stateOrIndex.isValid() ? std::optional<int>(stateOrIndex.toInt()) : std::nullopt);
    }

    void readingIgnoresTheApplicationLocale() {
        const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") &&
            !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
            QSKIP("no locale with a decimal comma is installed");
        const std::optional<float> withPoint = ParseProfileReal(u"0.5");
        const std::optional<float> withComma = ParseProfileReal(u"0,5");
        std::setlocale(LC_NUMERIC, previous.constData());
        QCOMPARE(withPoint.value_or(0.0f), 0.5f);
        QVERIFY(!withComma);
    }
};

QTEST_APPLESS_MAIN(TestProfileNumbers)
#include "tst_ProfileNumbers.moc"
