#include "profiles/ProfileNumbers.h"

#include <QRandomGenerator>
#include <QtTest>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>

class TestProfileNumbers : public QObject {
    Q_OBJECT

private slots:
    void componentText_data();
    void componentText();
    void realText_data();
    void realText();
    void textsReadBackToTheSameBits();
    void parseReal_data();
    void parseReal();
    void parseRealNotANumber_data();
    void parseRealNotANumber();
    void parseRealRejects_data();
    void parseRealRejects();
    void parseStateOrIndex_data();
    void parseStateOrIndex();
    void parseStateOrIndexRejects_data();
    void parseStateOrIndexRejects();
    void readingIgnoresTheApplicationLocale();
};

namespace {

bool IsRealText(const QString& text) {
    return text.contains(u'.') || text.contains(u'e') || text.contains(u"inf") ||
           text.contains(u"nan");
}

} // namespace

void TestProfileNumbers::componentText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << 1.0 << "1.0";
    QTest::newRow("zero") << 0.0 << "0.0";
    QTest::newRow("negative zero") << -0.0 << "-0.0";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("whole above one") << 3.0 << "3.0";
    QTest::newRow("128/255") << 128.0 / 255.0 << "0.5019607843137255";
    QTest::newRow("64/255") << 64.0 / 255.0 << "0.25098039215686274";
    QTest::newRow("128/255 at 32 bits") << double(float(128.0 / 255.0)) << "0.501960813999176";
    QTest::newRow("a tenth") << 0.1 << "0.1";
    QTest::newRow("very small") << 1e-05 << "1e-05";
    QTest::newRow("very large") << 1e300 << "1e+300";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "inf";
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "-inf";
}

void TestProfileNumbers::componentText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(ProfileComponentText(value), text);
}

void TestProfileNumbers::realText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("curvature") << 0.2f << "0.2";
    QTest::newRow("stroke size") << 40.0f << "40.0";
    QTest::newRow("angle") << 315.0f << "315.0";
    QTest::newRow("zero") << 0.0f << "0.0";
    QTest::newRow("negative zero") << -0.0f << "-0.0";
    QTest::newRow("negative") << -12.5f << "-12.5";
    QTest::newRow("largest canvas") << 10000.0f << "10000.0";
    QTest::newRow("six digits") << 123456.0f << "123456.0";
    // Shortest at 32 bits, not the widened 64-bit value 0.10000000149011612.
    QTest::newRow("a tenth") << 0.1f << "0.1";
    QTest::newRow("128/255") << float(128.0 / 255.0) << "0.5019608";
    QTest::newRow("very small") << 1e-05f << "1e-05";
    QTest::newRow("very large") << 1e20f << "1e+20";
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "inf";
}

void TestProfileNumbers::realText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(ProfileRealText(value), text);
}

void TestProfileNumbers::textsReadBackToTheSameBits() {
    // Random bit patterns reach every exponent, subnormals and the edges of both ranges.
    QRandomGenerator random(20240611);
    for (int i = 0; i < 200000; ++i) {
        const float real = std::bit_cast<float>(random.generate());
        if (!std::isfinite(real))
            continue;
        const QString realText = ProfileRealText(real);
        QVERIFY2(IsRealText(realText), qPrintable(realText));
        const std::optional<float> realBack = ParseProfileReal(realText);
        QVERIFY2(realBack, qPrintable(realText));
        QCOMPARE(std::bit_cast<quint32>(*realBack), std::bit_cast<quint32>(real));

        const double component = std::bit_cast<double>(random.generate64());
        if (!std::isfinite(component))
            continue;
        const QByteArray componentText = ProfileComponentText(component).toLatin1();
        QVERIFY2(IsRealText(QString::fromLatin1(componentText)), componentText.constData());
        double componentBack = 0.0;
        const auto result =
            std::from_chars(componentText.constData(),
                            componentText.constData() + componentText.size(), componentBack);
        QVERIFY2(result.ptr == componentText.constData() + componentText.size(),
                 componentText.constData());
        QCOMPARE(std::bit_cast<quint64>(componentBack), std::bit_cast<quint64>(component));
    }
}

void TestProfileNumbers::parseReal_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<float>("value");
    QTest::newRow("fraction") << "0.2" << 0.2f;
    QTest::newRow("whole number") << "40" << 40.0f;
    QTest::newRow("plus sign") << "+2.5" << 2.5f;
    QTest::newRow("minus sign") << "-315.0" << -315.0f;
    QTest::newRow("no leading digit") << ".5" << 0.5f;
    QTest::newRow("exponent") << "1e-05" << 1e-05f;
    QTest::newRow("capital exponent") << "1E-5" << 1e-05f;
    QTest::newRow("hexadecimal") << "0x1p-3" << 0.125f;
    QTest::newRow("component at 64 bits") << "0.5019607843137255" << float(128.0 / 255.0);
    QTest::newRow("infinity") << "inf" << std::numeric_limits<float>::infinity();
    QTest::newRow("spelled infinity") << "-Infinity" << -std::numeric_limits<float>::infinity();
    QTest::newRow("beyond 32 bits") << "1e50" << std::numeric_limits<float>::infinity();
    QTest::newRow("below 32 bits") << "1e-50" << 0.0f;
}

void TestProfileNumbers::parseReal() {
    QFETCH(QString, line);
    QFETCH(float, value);
    const std::optional<float> parsed = ParseProfileReal(line);
    QVERIFY(parsed);
    QCOMPARE(std::bit_cast<quint32>(*parsed), std::bit_cast<quint32>(value));
}

void TestProfileNumbers::parseRealNotANumber_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("nan") << "nan";
    QTest::newRow("negative") << "-nan";
    QTest::newRow("capitals with payload") << "NAN(123)";
}

void TestProfileNumbers::parseRealNotANumber() {
    QFETCH(QString, line);
    const std::optional<float> parsed = ParseProfileReal(line);
    QVERIFY(parsed);
    QVERIFY(std::isnan(*parsed));
}

void TestProfileNumbers::parseRealRejects_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << "";
    QTest::newRow("leading blank") << " 1.0";
    QTest::newRow("leading tab") << "\t1.0";
    QTest::newRow("trailing blank") << "1.0 ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("number then letters") << "12abc";
    QTest::newRow("decimal comma") << "0,5";
    QTest::newRow("two points") << "1.0.0";
    QTest::newRow("exponent without digits") << "1e";
    QTest::newRow("sign only") << "-";
    QTest::newRow("no-break space") << QStringLiteral("\u00A01.0");
    QTest::newRow("full-width digit") << QStringLiteral("\uFF11");
    QTest::newRow("nul inside") << QString::fromUtf16(u"1\u00000", 3);
}

void TestProfileNumbers::parseRealRejects() {
    QFETCH(QString, line);
    QVERIFY(!ParseProfileReal(line));
}

void TestProfileNumbers::parseStateOrIndex_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("value");
    QTest::newRow("off") << "0" << 0;
    QTest::newRow("on") << "1" << 1;
    QTest::newRow("mixed") << "-1" << -1;
    QTest::newRow("plus sign") << "+1" << 1;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("largest int") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("smallest int") << "-2147483648" << std::numeric_limits<int>::min();
    QTest::newRow("above int") << "2147483648" << -1;
    QTest::newRow("below int") << "-2147483649" << -1;
    QTest::newRow("largest 64-bit") << "9223372036854775807" << -1;
    QTest::newRow("smallest 64-bit") << "-9223372036854775808" << -1;
}

void TestProfileNumbers::parseStateOrIndex() {
    QFETCH(QString, line);
    QFETCH(int, value);
    const std::optional<int> parsed = ParseProfileStateOrIndex(line);
    QVERIFY(parsed);
    QCOMPARE(*parsed, value);
}

void TestProfileNumbers::parseStateOrIndexRejects_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << "";
    QTest::newRow("sign only") << "+";
    QTest::newRow("fraction") << "1.0";
    QTest::newRow("exponent") << "1e2";
    QTest::newRow("leading blank") << " 1";
    QTest::newRow("trailing blank") << "1 ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("hexadecimal") << "0x10";
    QTest::newRow("two signs") << "+-1";
    QTest::newRow("above 64 bits") << "99999999999999999999";
    QTest::newRow("below 64 bits") << "-9223372036854775809";
    QTest::newRow("full-width digit") << QStringLiteral("\uFF11");
}

void TestProfileNumbers::parseStateOrIndexRejects() {
    QFETCH(QString, line);
    QVERIFY(!ParseProfileStateOrIndex(line));
}

void TestProfileNumbers::readingIgnoresTheApplicationLocale() {
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = name;
            break;
        }
    }
    if (!commaLocale)
        QSKIP("no locale with a decimal comma is installed");
    const std::optional<float> point = ParseProfileReal(u"0.5");
    const std::optional<float> comma = ParseProfileReal(u"0,5");
    std::setlocale(LC_NUMERIC, previous.constData());
    QVERIFY(point);
    QCOMPARE(*point, 0.5f);
    QVERIFY(!comma);
}

QTEST_APPLESS_MAIN(TestProfileNumbers)
#include "tst_ProfileNumbers.moc"
