// `--set NAME=VALUE`: which profile lines an override changes, and which values it refuses.

#include "cli/DesignOverrides.h"
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QtTest>
#include <map>
#include <set>

namespace {

// The 1-based numbers of the lines where two profile texts differ.
std::set<int> ChangedLines(const QString& before, const QString& after) {
    const QStringList a = before.split(u'\n');
    const QStringList b = after.split(u'\n');
    std::set<int> changed;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) != b.value(i))
            changed.insert(int(i) + 1);
    }
    return changed;
}

QString WithOverrides(const QStringList& assignments) {
    DesignOverrides overrides;
    for (const QString& assignment : assignments) {
        const QString problem = overrides.Add(assignment);
        if (!problem.isEmpty())
            return problem;
    }
    DesignSettings settings;
    overrides.ApplyTo(settings);
    return MakeProfileText(settings);
}

} // namespace

class DesignOverridesTest : public QObject {
    Q_OBJECT

private slots:
    // Line numbers as the profile format documents them (1-based), not as our table orders them.
    void overrideChangesOnlyItsLines_data() {
        QTest::addColumn<QString>("assignment"); // several separated by tabs
        QTest::addColumn<int>("firstLine");      // of as many lines as there are texts
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("flag on") << "transparentBackground=on" << 1 << QStringList{"1"};
        QTest::newRow("flag off") << "backgroundShadow=off" << 14 << QStringList{"0"};
        QTest::newRow("one colour component")
            << "gradientStartColor=#FF80FF" << 2 << QStringList{"1.0"};
        QTest::newRow("whole colour")
            << "textColor=#00337F" << 44 << QStringList{"0.0", "0.2", "0.4980392156862745"};
        QTest::newRow("real") << "cornerCurvature=0.5" << 8 << QStringList{"0.5"};
        QTest::newRow("negative real") << "iconRotation=-45" << 31 << QStringList{"-45.0"};
        QTest::newRow("stepper value, not its text")
            << "fontSize=300" << 48 << QStringList{"300.0"};
        QTest::newRow("field text, not its value")
            << "fontSizeText=300" << 49 << QStringList{"300"};
        QTest::newRow("text") << "text=BETA build" << 39 << QStringList{"BETA build"};
        QTest::newRow("empty text") << "namePattern=" << 93 << QStringList{""};
        QTest::newRow("text holding =") << "namePattern=a=b" << 93 << QStringList{"a=b"};
        QTest::newRow("font index") << "fontIndex=0" << 47 << QStringList{"0"};
        QTest::newRow("canvas height at its largest")
            << "canvasHeight=10000" << 88 << QStringList{"10000"};
        QTest::newRow("offset field at its smallest")
            << "iconVerticalOffsetText=-10000" << 22 << QStringList{"-10000"};
        QTest::newRow("real with an exponent")
            << "textStrokeSize=2.5e1" << 54 << QStringList{"25.0"};
        QTest::newRow("real without a leading digit")
            << "cornerCurvature=.5" << 8 << QStringList{"0.5"};
        QTest::newRow("iOS 20, a line added later") << "iosSize20=off" << 89 << QStringList{"0"};
        QTest::newRow("iOS 1024") << "iosSize1024=off" << 74 << QStringList{"0"};
        QTest::newRow("macOS 16") << "macSize16=off" << 76 << QStringList{"0"};
        QTest::newRow("the later of two wins")
            << "text=ALPHA\ttext=BETA" << 39 << QStringList{"BETA"};
        QTest::newRow("watchOS 196") << "watchSize196=off" << 104 << QStringList{"0"};
    }
    void overrideChangesOnlyItsLines() {
        QFETCH(QString, assignment);
        QFETCH(int, firstLine);
        QFETCH(QStringList, texts);
        const QString before = MakeProfileText(DesignSettings{});
        const QString after = WithOverrides(assignment.split(u'\t'));
        QCOMPARE(after.count(u'\n'), 104);
        const std::set<int> changed = ChangedLines(before, after);
        // As many lines as texts from the first to the last: exactly those lines.
        QCOMPARE(qsizetype(changed.size()), texts.size());
        QCOMPARE(*changed.begin(), firstLine);
        QCOMPARE(*changed.rbegin(), firstLine + int(texts.size()) - 1);
        QCOMPARE(after.split(u'\n').mid(firstLine - 1, texts.size()), texts);
    }

    // Every name reaches a value of its own, and together the names reach every profile line.
    void namesCoverEveryProfileLineOnce() {
        const QString before = MakeProfileText(DesignSettings{});
        std::map<int, QString> owner;
        for (const QString& name : DesignOverrides::Names()) {
            std::set<int> changed;
            for (const char* value : {"#123456", "on", "off", "7", "3"}) {
                DesignOverrides overrides;
                if (!overrides.Add(name + u'=' + QLatin1String(value)).isEmpty())
                    continue;
                DesignSettings settings;
                overrides.ApplyTo(settings);
                changed = ChangedLines(before, MakeProfileText(settings));
                if (!changed.empty())
                    break;
            }
            QVERIFY2(!changed.empty(), qPrintable(name + " changes nothing"));
            for (int line : changed) {
                QVERIFY2(owner.emplace(line, name).second,
                         qPrintable(QStringLiteral("%1 and %2 both change line %3")
                                        .arg(owner[line], name)
                                        .arg(line)));
            }
        }
        QCOMPARE(int(owner.size()), 104);
    }

    void colourKeepsTheRecordsAlpha() {
        DesignOverrides overrides;
        QCOMPARE(overrides.Add("iconColor=#FF0000"), QString());
        DesignSettings settings;
        settings.iconColor.alpha = 0.25;
        overrides.ApplyTo(settings);
        QCOMPARE(settings.iconColor, (Rgba{1.0, 0.0, 0.0, 0.25}));
    }

    void refusalNamesTheFieldAndWhatItTakes_data() {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QStringList>("told"); // all of these appear in the message
        QTest::newRow("not a number") << "fontSize=big" << QStringList{"fontSize", "number"};
        QTest::newRow("number after a space")
            << "fontSize= 40" << QStringList{"fontSize", "number"};
        QTest::newRow("number with a unit")
            << "iconScale=40%" << QStringList{"iconScale", "number"};
        QTest::newRow("flag as yes") << "textStroke=yes" << QStringList{"textStroke", "on or off"};
        QTest::newRow("flag as 1") << "macSize32=1" << QStringList{"macSize32", "on or off"};
        QTest::newRow("short colour") << "textColor=#fff" << QStringList{"textColor", "#RRGGBB"};
        QTest::newRow("colour without #")
            << "textColor=FFFFFF" << QStringList{"textColor", "#RRGGBB"};
        QTest::newRow("colour not hex") << "textColor=#12345G" << QStringList{"#RRGGBB"};
        QTest::newRow("colour with a sign") << "textColor=#+12345" << QStringList{"#RRGGBB"};
        QTest::newRow("font beyond the list") << "fontIndex=20" << QStringList{"fontIndex", "19"};
        QTest::newRow("format below the list") << "iconFormat=-1" << QStringList{"0 to 9"};
        QTest::newRow("index not whole") << "iconFormat=1.5" << QStringList{"iconFormat"};
        // Whole-number fields are told with their range.
        for (const QString side : {"abc", "0", "-5", "1.5", "", "10001", "1e3", " 40"})
            QTest::addRow("canvas width \"%s\"", qPrintable(side))
                << "canvasWidth=" + side
                << QStringList{"canvasWidth: \"" + side + u'"', "whole number from 1 to 10000"};
        QTest::newRow("canvas height too large")
            << "canvasHeight=10001" << QStringList{"canvasHeight", "1 to 10000"};
        QTest::newRow("custom width too small") << "customWidth=0" << QStringList{"1 to 10000"};
        QTest::newRow("custom height too large")
            << "customHeight=20000" << QStringList{"1 to 10000"};
        QTest::newRow("font size field too small") << "fontSizeText=0" << QStringList{"1 to 10000"};
        QTest::newRow("scale field too large") << "iconScaleText=1000" << QStringList{"1 to 999"};
        QTest::newRow("quality field too large") << "qualityText=101" << QStringList{"1 to 100"};
        QTest::newRow("offset field too far")
            << "textVerticalOffsetText=-10001" << QStringList{"-10000 to 10000"};
        // A number is decimal and finite, also where the profile reader takes other spellings.
        for (const QString number : {"inf", "-infinity", "nan", "1e999", "1e39", "0x10", "0x1p3"})
            QTest::addRow("number %s", qPrintable(number))
                << "fontSize=" + number << QStringList{"fontSize: \"" + number + u'"', "number"};
        QTest::newRow("text over two lines") << "text=A\nB" << QStringList{"text", "one line"};
        QTest::newRow("carriage return") << "namePattern=A\rB" << QStringList{"one line"};
        QTest::newRow("unknown name") << "colour=#FFFFFF" << QStringList{"\"colour\""};
        QTest::newRow("name in the wrong case") << "fontsize=40" << QStringList{"fontSize?"};
        QTest::newRow("record's own name of a canvas side")
            << "canvasWidthText=10" << QStringList{"canvasWidthText"};
        QTest::newRow("size not in the set") << "iosSize16=on" << QStringList{"iosSize16"};
        QTest::newRow("no value") << "fontSize" << QStringList{"NAME=VALUE"};
        QTest::newRow("no name") << "=40" << QStringList{"NAME=VALUE"};
    }
    void refusalNamesTheFieldAndWhatItTakes() {
        QFETCH(QString, assignment);
        QFETCH(QStringList, told);
        DesignOverrides overrides;
        const QString message = overrides.Add(assignment);
        for (const QString& part : told)
            QVERIFY2(message.contains(part), qPrintable(message));
        // A refused assignment leaves nothing behind.
        DesignSettings settings;
        overrides.ApplyTo(settings);
        QCOMPARE(settings, DesignSettings{});
    }
};

QTEST_GUILESS_MAIN(DesignOverridesTest)
#include "tst_DesignOverrides.moc"
