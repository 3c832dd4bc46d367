// A profile's text: every value on its own line, the older layouts, the texts refused whole,
// each number as written and read back; and the file, read only when the path names an ordinary
// file of a plausible size.

#include "design/DesignSettings.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileNumbers.h"
#include "profiles/ProfileText.h"

#include <QRandomGenerator>
#include <QtTest>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <sys/stat.h>

namespace {

QString TextOf(const QStringList& lines) {
    return lines.join(u'\n') + u'\n';
}

// The lines of a text that ends in a line feed.
QStringList LinesOf(const QString& text) {
    QStringList lines = text.split(u'\n');
    lines.removeLast();
    return lines;
}

QString WithLine(QStringList lines, int lineNumber, const QString& value) {
    lines[lineNumber - 1] = value;
    return TextOf(lines);
}

// A record in which every value differs from its default and from every other value of its
// kind: whole numbers are 200 plus their line number, components are k/64 for k = 1 to 27 in
// line order, and reals and texts are exact in 32 bits, so the record survives a round trip.
DesignSettings DistinctSettings() {
    DesignSettings s;
    s.transparentBackground = 201;
    s.cornerCurvature = 0.75f;
    s.backgroundStroke = 209;
    s.backgroundStrokeSize = 41.5f;
    s.backgroundShadow = 214;
    s.backgroundShadowOffset = 6.25f;
    s.backgroundShadowAngle = 271.5f;
    s.backgroundShadowBlur = 16.5f;
    s.iconVerticalOffset = -3.5f;
    s.iconVerticalOffsetText = "-3";
    s.iconHorizontalOffset = 4.5f;
    s.iconHorizontalOffsetText = "4";
    s.useImageColors = 225;
    s.iconScale = 150.0f;
    s.iconScaleText = "150";
    s.iconRotation = 12.25f;
    s.iconShadow = 232;
    s.iconShadowOffset = 21.5f;
    s.iconShadowAngle = 316.5f;
    s.iconShadowBlur = 17.5f;
    s.text = QStringLiteral("  Grüße, ☀ icon  ");
    s.textVerticalOffset = 42.5f;
    s.textVerticalOffsetText = "42";
    s.textHorizontalOffset = -8.5f;
    s.textHorizontalOffsetText = "-8";
    s.fontIndex = 247;
    s.fontSize = 801.0f;
    s.fontSizeText = "801";
    s.textStroke = 250;
    s.textStrokeSize = 2.5f;
    s.textShadow = 255;
    s.textShadowOffset = 11.5f;
    s.textShadowAngle = 317.5f;
    s.textShadowBlur = 12.5f;
    s.canvasWidthText = "512";
    s.canvasHeightText = "640";
    s.iosIconSet = 262;
    // In size order: 20, 29, 40, 58, 60, 76, 80, 87, 120, 152, 167, 180, 512, 1024.
    s.iosSizes = {289, 263, 264, 265, 266, 267, 268, 269, 270, 271, 272, 273, 290, 274};
    s.watchIconSet = 294;
    s.watchSizes = {295, 296, 297, 298, 299, 300, 301, 302, 303, 304};
    s.macIconSet = 275;
    s.macSizes = {276, 277, 278, 279, 280, 281, 282};
    s.customSize = 283;
    s.customWidthText = "300";
    s.customHeightText = "200";
    s.iconFormat = 286;
    s.qualityText = "75";
    s.quality = 75.0f;
    s.namePattern = "App-[Size]";
    double k = 0;
    for (Rgba* color : {&s.gradientStartColor, &s.gradientEndColor, &s.backgroundStrokeColor,
                        &s.backgroundShadowColor, &s.iconColor, &s.iconShadowColor, &s.textColor,
                        &s.textStrokeColor, &s.textShadowColor}) {
        *color = {(k + 1) / 64, (k + 2) / 64, (k + 3) / 64, 1.0};
        k += 3;
    }
    return s;
}

QStringList DistinctLines() {
    return {// 1-20: background
            "201", "0.015625", "0.03125", "0.046875", "0.0625", "0.078125", "0.09375", "0.75",
            "209", "0.109375", "0.125", "0.140625", "41.5", "214", "0.15625", "0.171875", "0.1875",
            "6.25", "271.5", "16.5",
            // 21-38: icon image
            "-3.5", "-3", "4.5", "4", "225", "0.203125", "0.21875", "0.234375", "150.0", "150",
            "12.25", "232", "0.25", "0.265625", "0.28125", "21.5", "316.5", "17.5",
            // 39-61: text
            QStringLiteral("  Grüße, ☀ icon  "), "42.5", "42", "-8.5", "-8", "0.296875", "0.3125",
            "0.328125", "247", "801.0", "801", "250", "0.34375", "0.359375", "0.375", "2.5", "255",
            "0.390625", "0.40625", "0.421875", "11.5", "317.5", "12.5",
            // 62-74: iOS set and its sizes 29 to 180, then 1024
            "262", "263", "264", "265", "266", "267", "268", "269", "270", "271", "272", "273",
            "274",
            // 75-82: macOS set and its sizes
            "275", "276", "277", "278", "279", "280", "281", "282",
            // 83-93: custom size, format, canvas, iOS 20 and 512, quality, name pattern
            "283", "300", "200", "286", "512", "640", "289", "290", "75", "75.0", "App-[Size]",
            // 94-104: watchOS set and its sizes
            "294", "295", "296", "297", "298", "299", "300", "301", "302", "303", "304"};
}

// The first 85 lines of a current text followed by the four lines of the oldest layout.
QString OldestText(const QStringList& currentLines, const QString& format,
                   const QString& fraction) {
    return TextOf(currentLines.mid(0, 85) + QStringList{format, fraction, "777", "888"});
}

// Settings whose values that the older layouts lack differ from both the defaults and
// DistinctSettings, so that a reader touching them is caught.
const DesignSettings Marked = [] {
    DesignSettings s;
    s.iosSizes[0] = 0;
    s.iosSizes[12] = -1;
    s.namePattern = "Kept[Size]";
    s.watchIconSet = 1;
    s.watchSizes = {0, 1, 0, 1, 0, 1, 0, 1, 0, -1};
    return s;
}();

// DistinctSettings read from a 93-line text onto Marked: the watchOS values stay Marked's.
DesignSettings DistinctWithoutWatch() {
    DesignSettings s = DistinctSettings();
    s.watchIconSet = Marked.watchIconSet;
    s.watchSizes = Marked.watchSizes;
    return s;
}

constexpr double Infinity = std::numeric_limits<double>::infinity();

// A finite value is written with a fractional part or an exponent.
bool IsRealText(const QString& text) {
    return text.contains(u'.') || text.contains(u'e');
}

} // namespace

class TestProfileText : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_folder;

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

    // Defaults no other test pins (the export tests pin the name pattern, format and sizes).
    void defaultTextLines_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("transparent background") << 1 << "0";
        QTest::newRow("background stroke") << 9 << "1";
        QTest::newRow("empty text") << 39 << "";
        QTest::newRow("font") << 47 << "12";
    }
    void defaultTextLines() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QCOMPARE(LinesOf(MakeProfileText(DesignSettings{})).at(line - 1), text);
    }

    void everyValueHasItsOwnLine() {
        const QStringList distinct = DistinctLines();
        QCOMPARE(LinesOf(MakeProfileText(DistinctSettings())), distinct);
        // Read onto the defaults, a line the reader skipped or misplaced would show.
        const QStringList defaults = LinesOf(MakeProfileText(DesignSettings{}));
        for (qsizetype i = 0; i < defaults.size(); ++i)
            QVERIFY2(distinct[i] != defaults[i], qPrintable(QString::number(i + 1)));
        DesignSettings settings;
        QVERIFY(ApplyProfileText(settings, TextOf(distinct), false));
        QVERIFY(settings == DistinctSettings());
    }

    void savedAndLoadedAgainOnlyComponentsAndAlphaChange() {
        DesignSettings settings;
        settings.textColor.alpha = 0.25;
        const QString saved = MakeProfileText(settings);
        QVERIFY(ApplyProfileText(settings, saved, false));
        // Alpha is not stored: a colour is set whole and comes back opaque.
        QCOMPARE(settings.textColor, (Rgba{1.0, 1.0, 1.0, 1.0}));
        QCOMPARE(settings.gradientStartColor.green, double(float(128.0 / 255.0)));
        // Saved again, only the components that are not exact in 32 bits differ.
        const QStringList before = LinesOf(saved);
        const QStringList after = LinesOf(MakeProfileText(settings));
        QList<int> differing;
        for (qsizetype i = 0; i < before.size(); ++i)
            if (before[i] != after[i])
                differing.append(int(i + 1));
        QCOMPARE(differing, (QList<int>{3, 6, 7}));
        QCOMPARE(after[2], "0.501960813999176");
    }

    void everyLineBreakCharacterEndsALine_data() {
        QTest::addColumn<QChar>("lineBreak");
        QTest::newRow("line tabulation") << QChar(0x0B);
        QTest::newRow("form feed") << QChar(0x0C);
        QTest::newRow("carriage return") << QChar(0x0D);
        QTest::newRow("next line") << QChar(0x85);
        QTest::newRow("line separator") << QChar(0x2028);
        QTest::newRow("paragraph separator") << QChar(0x2029);
    }
    void everyLineBreakCharacterEndsALine() {
        QFETCH(QChar, lineBreak);
        // Every other line feed replaced; the piece after the last break is never read.
        QString text;
        const QStringList lines = DistinctLines();
        for (qsizetype i = 0; i < lines.size(); ++i)
            text += lines[i] + (i % 2 == 0 ? lineBreak : u'\n');
        DesignSettings settings;
        QVERIFY(ApplyProfileText(settings, text + "not a line", false));
        QVERIFY(settings == DistinctSettings());
    }

    void watchlessLayoutKeepsTheWatchValues() {
        DesignSettings settings = Marked;
        QVERIFY(ApplyProfileText(settings, TextOf(DistinctLines().mid(0, 93)), true));
        QVERIFY(settings == DistinctWithoutWatch());
    }

    void oldestLayout_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("fraction");
        QTest::addColumn<int>("iconFormat");
        QTest::addColumn<int>("quality");
        QTest::newRow("PNG") << 0 << "0.8" << 0 << 80;
        QTest::newRow("JPG") << 1 << "0.75" << 1 << 75;
        QTest::newRow("TIFF, half rounds up") << 2 << "0.125" << 6 << 13;
        // The 32-bit 0.005 lies just below 0.005, yet its 32-bit product with 100 is exactly 0.5.
        QTest::newRow("GIF, product in 32 bits") << 3 << "0.005" << 8 << 1;
        QTest::newRow("BMP, best") << 4 << "1.0" << 9 << 100;
        QTest::newRow("negative format, zero fraction") << -3 << "0.0" << -3 << 1;
        QTest::newRow("negative zero fraction") << 0 << "-0.0" << 0 << 1;
        QTest::newRow("format past int") << 2147483647 << "0.5" << -1 << 50;
        QTest::newRow("negative half rounds away from zero") << 1 << "-0.125" << 1 << -13;
        QTest::newRow("small negative rounds to zero") << 1 << "-0.004" << 1 << 0;
    }
    void oldestLayout() {
        QFETCH(int, format);
        QFETCH(QString, fraction);
        QFETCH(int, iconFormat);
        QFETCH(int, quality);
        DesignSettings settings = Marked;
        QVERIFY(ApplyProfileText(
            settings, OldestText(DistinctLines(), QString::number(format), fraction), true));
        // Also kept: the iOS sizes 20 and 512 and the name pattern.
        DesignSettings expected = DistinctWithoutWatch();
        expected.iosSizes[0] = Marked.iosSizes[0];
        expected.iosSizes[12] = Marked.iosSizes[12];
        expected.namePattern = Marked.namePattern;
        expected.canvasWidthText = "777";
        expected.canvasHeightText = "888";
        expected.iconFormat = iconFormat;
        expected.qualityText = QString::number(quality);
        expected.quality = float(quality);
        QCOMPARE(LinesOf(MakeProfileText(settings)), LinesOf(MakeProfileText(expected)));
        QVERIFY(settings == expected);
    }

    void rejectedTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("olderLayoutsAccepted");
        const QStringList lines = LinesOf(MakeProfileText(DesignSettings{}));
        const QString text = TextOf(lines);
        // Line counts: CR LF splits into 209 pieces, a missing last line feed leaves 104.
        QTest::newRow("CR LF line ends") << QString(text).replace("\n", "\r\n") << true;
        QTest::newRow("103 lines") << TextOf(lines.mid(0, 103)) << true;
        QTest::newRow("105 lines") << TextOf(lines + QStringList{"1"}) << true;
        QTest::newRow("no final line feed") << text.chopped(1) << true;
        QTest::newRow("line separator in the text") << WithLine(lines, 39, "one\u2028two") << true;
        QTest::newRow("93 lines in the history") << TextOf(lines.mid(0, 93)) << false;
        QTest::newRow("89 lines in the history") << OldestText(lines, "1", "0.5") << false;
        // A line that does not parse, after others that did.
        QTest::newRow("letters on a real line") << WithLine(lines, 8, "abc") << true;
        QTest::newRow("fraction on a state line") << WithLine(lines, 9, "1.0") << false;
        QTest::newRow("decimal comma in a component") << WithLine(lines, 11, "0,5") << false;
        QTest::newRow("bad last line") << WithLine(lines, 104, "on") << false;
        QTest::newRow("bad quality in 93 lines") << WithLine(lines.mid(0, 93), 92, "high") << true;
        QTest::newRow("empty fraction in 89 lines") << OldestText(lines, "1", "") << true;
    }
    void rejectedTexts() {
        QFETCH(QString, text);
        QFETCH(bool, olderLayoutsAccepted);
        // Any line applied before the rejection would show against these values.
        DesignSettings settings = DistinctSettings();
        QVERIFY(!ApplyProfileText(settings, text, olderLayoutsAccepted));
        QVERIFY(settings == DistinctSettings());
    }

    void writtenTextReadsBackUnchanged() {
        const QString text = QStringLiteral("0\nGrüße ✓\n0.5019607843137255\n");
        const QString path = m_folder.filePath(QStringLiteral("profile.sgp"));
        QVERIFY(WriteProfileFile(path, text));
        QCOMPARE(TestImages::ReadFile(path), text.toUtf8()); // no byte-order mark, nothing added
        QString read;
        QVERIFY(ReadProfileFile(path, read));
        QCOMPARE(read, text);
    }

    void onlyOrdinaryFilesOfAPlausibleSizeAreRead() {
        // A pipe would block the reader until something writes to it, a device such as
        // /dev/zero never ends, and a file of many megabytes was chosen by mistake.
        const QString pipe = m_folder.filePath(QStringLiteral("pipe.sgp"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QFile huge(m_folder.filePath(QStringLiteral("huge.sgp")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(64) << 20));
        huge.close();
        QString text;
        for (const QString& path :
             {pipe, m_folder.filePath(""), huge.fileName(), QStringLiteral("/dev/zero")})
            QVERIFY2(!ReadProfileFile(path, text), qPrintable(path));
    }
};

QTEST_GUILESS_MAIN(TestProfileText)
#include "tst_ProfileText.moc"
