#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QtTest>
#include <cmath>
#include <limits>

class TestProfileText : public QObject {
    Q_OBJECT

private slots:
    void defaultTextHasOneLinePerValue();
    void defaultTextLines_data();
    void defaultTextLines();
    void everyValueIsWrittenToItsLine();
    void everyLineIsReadIntoItsValue();
    void roundTripKeepsEveryValue();
    void componentsComeBackAt32BitPrecision();
    void alphaComesBackOpaque();
    void unusualNumbersSurvive();
    void numberSpellings_data();
    void numberSpellings();
    void everyLineBreakCharacterEndsALine_data();
    void everyLineBreakCharacterEndsALine();
    void lastPieceIsNeverRead();
    void watchlessLayout();
    void oldestLayout_data();
    void oldestLayout();
    void rejectedTexts_data();
    void rejectedTexts();
};

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

QStringList DefaultLines() {
    return LinesOf(MakeProfileText(DesignSettings{}));
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
    s.gradientStartColor = {1 / 64.0, 2 / 64.0, 3 / 64.0, 1.0};
    s.gradientEndColor = {4 / 64.0, 5 / 64.0, 6 / 64.0, 1.0};
    s.cornerCurvature = 0.75f;
    s.backgroundStroke = 209;
    s.backgroundStrokeColor = {7 / 64.0, 8 / 64.0, 9 / 64.0, 1.0};
    s.backgroundStrokeSize = 41.5f;
    s.backgroundShadow = 214;
    s.backgroundShadowColor = {10 / 64.0, 11 / 64.0, 12 / 64.0, 1.0};
    s.backgroundShadowOffset = 6.25f;
    s.backgroundShadowAngle = 271.5f;
    s.backgroundShadowBlur = 16.5f;
    s.iconVerticalOffset = -3.5f;
    s.iconVerticalOffsetText = "-3";
    s.iconHorizontalOffset = 4.5f;
    s.iconHorizontalOffsetText = "4";
    s.useImageColors = 225;
    s.iconColor = {13 / 64.0, 14 / 64.0, 15 / 64.0, 1.0};
    s.iconScale = 150.0f;
    s.iconScaleText = "150";
    s.iconRotation = 12.25f;
    s.iconShadow = 232;
    s.iconShadowColor = {16 / 64.0, 17 / 64.0, 18 / 64.0, 1.0};
    s.iconShadowOffset = 21.5f;
    s.iconShadowAngle = 316.5f;
    s.iconShadowBlur = 17.5f;
    s.text = QStringLiteral("  Grüße, ☀ icon  ");
    s.textVerticalOffset = 42.5f;
    s.textVerticalOffsetText = "42";
    s.textHorizontalOffset = -8.5f;
    s.textHorizontalOffsetText = "-8";
    s.textColor = {19 / 64.0, 20 / 64.0, 21 / 64.0, 1.0};
    s.fontIndex = 247;
    s.fontSize = 801.0f;
    s.fontSizeText = "801";
    s.textStroke = 250;
    s.textStrokeColor = {22 / 64.0, 23 / 64.0, 24 / 64.0, 1.0};
    s.textStrokeSize = 2.5f;
    s.textShadow = 255;
    s.textShadowColor = {25 / 64.0, 26 / 64.0, 27 / 64.0, 1.0};
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
    return s;
}

// The text of DistinctSettings, line by line.
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
QStringList OldestLines(const QStringList& currentLines, const QString& format,
                        const QString& fraction) {
    return currentLines.mid(0, 85) + QStringList{format, fraction, "777", "888"};
}

// A record whose values that older layouts do not store differ from both the defaults and
// DistinctSettings, so that a reader touching them is caught.
DesignSettings WithLateValuesMarked(DesignSettings s) {
    s.iosSizes[0] = 0;
    s.iosSizes[12] = -1;
    s.namePattern = "Kept[Size]";
    s.watchIconSet = 1;
    s.watchSizes = {0, 1, 0, 1, 0, 1, 0, 1, 0, -1};
    return s;
}

void CopyWatchValues(DesignSettings& to, const DesignSettings& from) {
    to.watchIconSet = from.watchIconSet;
    to.watchSizes = from.watchSizes;
}

} // namespace

void TestProfileText::defaultTextHasOneLinePerValue() {
    const QString text = MakeProfileText(DesignSettings{});
    QCOMPARE(text.count(u'\n'), 104);
    QVERIFY(text.endsWith(u'\n'));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        QVERIFY(code == u'\n' || !((code >= 0x0B && code <= 0x0D) || code == 0x85 ||
                                   code == 0x2028 || code == 0x2029));
    }
}

void TestProfileText::defaultTextLines_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("transparent background") << 1 << "0";
    QTest::newRow("gradient start red") << 2 << "0.0";
    QTest::newRow("gradient start green") << 3 << "0.5019607843137255";
    QTest::newRow("gradient start blue") << 4 << "1.0";
    QTest::newRow("gradient end green") << 6 << "0.25098039215686274";
    QTest::newRow("gradient end blue") << 7 << "0.5019607843137255";
    QTest::newRow("corner curvature") << 8 << "0.2";
    QTest::newRow("background stroke") << 9 << "1";
    QTest::newRow("background stroke size") << 13 << "40.0";
    QTest::newRow("background shadow offset") << 18 << "5.0";
    QTest::newRow("background shadow angle") << 19 << "270.0";
    QTest::newRow("icon vertical offset") << 21 << "0.0";
    QTest::newRow("icon vertical offset text") << 22 << "0";
    QTest::newRow("icon scale") << 29 << "100.0";
    QTest::newRow("icon scale text") << 30 << "100";
    QTest::newRow("icon shadow angle") << 37 << "315.0";
    QTest::newRow("text") << 39 << "";
    QTest::newRow("text vertical offset") << 40 << "40.0";
    QTest::newRow("font") << 47 << "12";
    QTest::newRow("font size") << 48 << "800.0";
    QTest::newRow("text stroke size") << 54 << "1.0";
    QTest::newRow("text shadow blur") << 61 << "10.0";
    QTest::newRow("iOS set") << 62 << "0";
    QTest::newRow("macOS set") << 75 << "1";
    QTest::newRow("custom width") << 84 << "1024";
    QTest::newRow("output format") << 86 << "0";
    QTest::newRow("canvas height") << 88 << "1024";
    QTest::newRow("iOS 20") << 89 << "1";
    QTest::newRow("quality text") << 91 << "80";
    QTest::newRow("quality") << 92 << "80.0";
    QTest::newRow("name pattern") << 93 << "Icon[Size]";
    QTest::newRow("watchOS set") << 94 << "0";
    QTest::newRow("watchOS 196") << 104 << "1";
}

void TestProfileText::defaultTextLines() {
    QFETCH(int, line);
    QFETCH(QString, text);
    QCOMPARE(DefaultLines().at(line - 1), text);
}

void TestProfileText::everyValueIsWrittenToItsLine() {
    QCOMPARE(LinesOf(MakeProfileText(DistinctSettings())), DistinctLines());
}

void TestProfileText::everyLineIsReadIntoItsValue() {
    DesignSettings settings;
    QVERIFY(ApplyProfileText(settings, TextOf(DistinctLines()), false));
    QCOMPARE(LinesOf(MakeProfileText(settings)), DistinctLines());
    QVERIFY(settings == DistinctSettings());
}

void TestProfileText::roundTripKeepsEveryValue() {
    const DesignSettings distinct = DistinctSettings();
    const QStringList defaultLines = DefaultLines();
    const QStringList distinctLines = LinesOf(MakeProfileText(distinct));
    QCOMPARE(distinctLines.size(), defaultLines.size());
    for (qsizetype i = 0; i < defaultLines.size(); ++i)
        QVERIFY2(distinctLines[i] != defaultLines[i], qPrintable(QString::number(i + 1)));

    DesignSettings settings;
    QVERIFY(ApplyProfileText(settings, MakeProfileText(distinct), true));
    QVERIFY(settings == distinct);
}

void TestProfileText::componentsComeBackAt32BitPrecision() {
    const QString saved = MakeProfileText(DesignSettings{});
    DesignSettings loaded;
    QVERIFY(ApplyProfileText(loaded, saved, false));
    QCOMPARE(loaded.gradientStartColor.green, double(float(128.0 / 255.0)));
    QCOMPARE(loaded.gradientEndColor.green, double(float(64.0 / 255.0)));

    // Saved again, only the components that are not exact in 32 bits differ.
    const QStringList before = LinesOf(saved);
    const QStringList after = LinesOf(MakeProfileText(loaded));
    QList<int> differing;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            differing.append(int(i + 1));
    }
    QCOMPARE(differing, (QList<int>{3, 6, 7}));
    QCOMPARE(after[2], "0.501960813999176");
}

void TestProfileText::alphaComesBackOpaque() {
    // Applied onto the translucent colours themselves: alpha is set, not merely kept.
    DesignSettings settings;
    settings.textColor = {0.25, 0.5, 0.75, 0.25};
    settings.iconShadowColor = {0.5, 0.0, 1.0, 0.0};
    QVERIFY(ApplyProfileText(settings, MakeProfileText(settings), false));
    QCOMPARE(settings.textColor, (Rgba{0.25, 0.5, 0.75, 1.0}));
    QCOMPARE(settings.iconShadowColor, (Rgba{0.5, 0.0, 1.0, 1.0}));
}

void TestProfileText::unusualNumbersSurvive() {
    DesignSettings settings;
    settings.gradientStartColor.red = -0.0;
    settings.cornerCurvature = -0.0f;
    settings.backgroundStrokeSize = std::numeric_limits<float>::infinity();
    settings.iconRotation = std::numeric_limits<float>::quiet_NaN();
    settings.textStrokeSize = 1e-05f;
    const QStringList lines = LinesOf(MakeProfileText(settings));
    QCOMPARE(lines[1], "-0.0");
    QCOMPARE(lines[7], "-0.0");
    QCOMPARE(lines[12], "inf");
    QCOMPARE(lines[30], "nan");
    QCOMPARE(lines[53], "1e-05");

    DesignSettings loaded;
    QVERIFY(ApplyProfileText(loaded, TextOf(lines), false));
    QVERIFY(loaded.gradientStartColor.red == 0.0 && std::signbit(loaded.gradientStartColor.red));
    QVERIFY(loaded.cornerCurvature == 0.0f && std::signbit(loaded.cornerCurvature));
    QCOMPARE(loaded.backgroundStrokeSize, std::numeric_limits<float>::infinity());
    QVERIFY(std::isnan(loaded.iconRotation));
    QCOMPARE(loaded.textStrokeSize, 1e-05f);
}

void TestProfileText::numberSpellings_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<QString>("writtenBack");
    QTest::newRow("plus sign on a state") << 1 << "+1"
                                          << "1";
    QTest::newRow("mixed state") << 9 << "-1"
                                 << "-1";
    QTest::newRow("leading zeros on an index") << 47 << "007"
                                               << "7";
    QTest::newRow("index above int") << 47 << "2147483648"
                                     << "-1";
    QTest::newRow("state below int") << 1 << "-2147483649"
                                     << "-1";
    QTest::newRow("whole number on a real line") << 13 << "40"
                                                 << "40.0";
    QTest::newRow("hexadecimal real") << 8 << "0x1p-3"
                                      << "0.125";
    QTest::newRow("capital exponent") << 8 << "1E-5"
                                      << "1e-05";
    QTest::newRow("plus sign on a real") << 8 << "+2.5"
                                         << "2.5";
    QTest::newRow("real beyond 32 bits") << 8 << "1e50"
                                         << "inf";
    QTest::newRow("infinity spelled out") << 19 << "-Infinity"
                                          << "-inf";
    QTest::newRow("whole component") << 2 << "1"
                                     << "1.0";
    // A component is read at 32 bits and written at 64.
    QTest::newRow("component read at 32 bits") << 3 << "0.1"
                                               << "0.10000000149011612";
}

void TestProfileText::numberSpellings() {
    QFETCH(int, line);
    QFETCH(QString, spelling);
    QFETCH(QString, writtenBack);
    DesignSettings settings;
    QVERIFY(ApplyProfileText(settings, WithLine(DefaultLines(), line, spelling), false));
    QCOMPARE(LinesOf(MakeProfileText(settings)).at(line - 1), writtenBack);
}

void TestProfileText::everyLineBreakCharacterEndsALine_data() {
    QTest::addColumn<QString>("lineBreak");
    QTest::newRow("line tabulation") << QString(QChar(0x0B));
    QTest::newRow("form feed") << QString(QChar(0x0C));
    QTest::newRow("carriage return") << QString(QChar(0x0D));
    QTest::newRow("next line") << QString(QChar(0x85));
    QTest::newRow("line separator") << QString(QChar(0x2028));
    QTest::newRow("paragraph separator") << QString(QChar(0x2029));
}

void TestProfileText::everyLineBreakCharacterEndsALine() {
    QFETCH(QString, lineBreak);
    // Every other line feed replaced: each break character ends one line on its own.
    QString text;
    const QStringList lines = DistinctLines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += lines[i] + (i % 2 == 0 ? lineBreak : QStringLiteral("\n"));
    DesignSettings settings;
    QVERIFY(ApplyProfileText(settings, text, false));
    QVERIFY(settings == DistinctSettings());
}

void TestProfileText::lastPieceIsNeverRead() {
    DesignSettings settings;
    QVERIFY(ApplyProfileText(settings, TextOf(DistinctLines()) + "not a line", false));
    QVERIFY(settings == DistinctSettings());
}

void TestProfileText::watchlessLayout() {
    const DesignSettings before = WithLateValuesMarked(DesignSettings{});
    DesignSettings settings = before;
    QVERIFY(ApplyProfileText(settings, TextOf(DistinctLines().mid(0, 93)), true));

    DesignSettings expected = DistinctSettings();
    CopyWatchValues(expected, before);
    QCOMPARE(LinesOf(MakeProfileText(settings)), LinesOf(MakeProfileText(expected)));
    QVERIFY(settings == expected);
}

void TestProfileText::oldestLayout_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<int>("iconFormat");
    QTest::addColumn<QString>("qualityText");
    QTest::newRow("PNG") << "0"
                         << "0.8" << 0 << "80";
    QTest::newRow("JPG") << "1"
                         << "0.75" << 1 << "75";
    QTest::newRow("TIFF, half rounds up") << "2"
                                          << "0.125" << 6 << "13";
    // The 32-bit 0.005 lies just below 0.005, yet its 32-bit product with 100 is exactly 0.5.
    QTest::newRow("GIF, product in 32 bits") << "3"
                                             << "0.005" << 8 << "1";
    QTest::newRow("BMP, best") << "4"
                               << "1.0" << 9 << "100";
    QTest::newRow("past the list") << "7"
                                   << "0.5" << 12 << "50";
    QTest::newRow("negative format, zero fraction") << "-3"
                                                    << "0.0" << -3 << "1";
    QTest::newRow("negative zero fraction") << "0"
                                            << "-0.0" << 0 << "1";
    QTest::newRow("format past int") << "2147483647"
                                     << "0.5" << -1 << "50";
    QTest::newRow("negative half rounds down") << "1"
                                               << "-0.125" << 1 << "-13";
    QTest::newRow("small negative rounds to zero") << "1"
                                                   << "-0.004" << 1 << "0";
    QTest::newRow("above best") << "1"
                                << "2.5" << 1 << "250";
}

void TestProfileText::oldestLayout() {
    QFETCH(QString, format);
    QFETCH(QString, fraction);
    QFETCH(int, iconFormat);
    QFETCH(QString, qualityText);
    const DesignSettings before = WithLateValuesMarked(DesignSettings{});
    DesignSettings settings = before;
    QVERIFY(
        ApplyProfileText(settings, TextOf(OldestLines(DistinctLines(), format, fraction)), true));

    DesignSettings expected = DistinctSettings();
    CopyWatchValues(expected, before);
    expected.iosSizes[0] = before.iosSizes[0];
    expected.iosSizes[12] = before.iosSizes[12];
    expected.namePattern = before.namePattern;
    expected.canvasWidthText = "777";
    expected.canvasHeightText = "888";
    expected.iconFormat = iconFormat;
    expected.qualityText = qualityText;
    expected.quality = qualityText.toFloat();
    QCOMPARE(LinesOf(MakeProfileText(settings)), LinesOf(MakeProfileText(expected)));
    QVERIFY(settings == expected);
}

void TestProfileText::rejectedTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("olderLayoutsAccepted");
    const QStringList lines = DefaultLines();
    const QString text = TextOf(lines);

    // A CR LF text splits into 209 pieces.
    QTest::newRow("CR LF line ends") << QString(text).replace("\n", "\r\n") << true;
    QTest::newRow("103 lines") << TextOf(lines.mid(0, 103)) << true;
    QTest::newRow("105 lines") << TextOf(lines + QStringList{"1"}) << true;
    QTest::newRow("no final line feed") << text.chopped(1) << true;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("line separator in the text line")
        << WithLine(lines, 39, QStringLiteral("one\u2028two")) << true;
    QTest::newRow("93 lines in the history") << TextOf(lines.mid(0, 93)) << false;
    QTest::newRow("89 lines in the history") << TextOf(OldestLines(lines, "1", "0.5")) << false;

    QTest::newRow("empty real line") << WithLine(lines, 8, "") << true;
    QTest::newRow("letters on a real line") << WithLine(lines, 8, "abc") << true;
    QTest::newRow("blank before a real") << WithLine(lines, 8, " 1.0") << true;
    QTest::newRow("tab before a real") << WithLine(lines, 8, "\t1.0") << true;
    QTest::newRow("blank after a real") << WithLine(lines, 8, "1.0 ") << true;
    QTest::newRow("empty state line") << WithLine(lines, 1, "") << false;
    QTest::newRow("fraction on a state line") << WithLine(lines, 1, "1.0") << false;
    QTest::newRow("state beyond 64 bits") << WithLine(lines, 1, "99999999999999999999") << false;
    QTest::newRow("decimal comma in a component") << WithLine(lines, 2, "0,5") << false;
    QTest::newRow("font name on the index line") << WithLine(lines, 47, "Marker Felt") << false;
    QTest::newRow("bad last line") << WithLine(lines, 104, "on") << false;
    QTest::newRow("bad quality in 93 lines") << WithLine(lines.mid(0, 93), 92, "high") << true;
    QTest::newRow("empty fraction in 89 lines") << TextOf(OldestLines(lines, "1", "")) << true;
    QTest::newRow("format name in 89 lines") << TextOf(OldestLines(lines, "PNG", "0.5")) << true;
}

void TestProfileText::rejectedTexts() {
    QFETCH(QString, text);
    QFETCH(bool, olderLayoutsAccepted);
    // Any line applied before the rejection would show against these values.
    DesignSettings settings = DistinctSettings();
    QVERIFY(!ApplyProfileText(settings, text, olderLayoutsAccepted));
    QVERIFY(settings == DistinctSettings());
}

QTEST_APPLESS_MAIN(TestProfileText)
#include "tst_ProfileText.moc"
