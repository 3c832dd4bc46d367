// `--set NAME=VALUE`: which profile lines an override changes, and which values it refuses.

#include "cli/DesignOverrides.h"
#include "design/DesignSettings.h"
#include "design/DesignValues.h"
#include "helpers/EveryValueChanged.h"
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

// The assignment that sets a row to its value in `settings`, spelt as a person would type it.
QString Assignment(const DesignValues::Row& row, DesignSettings& settings) {
    using DesignValues::Kind;
    const DesignValues::Reference value = row.in(settings);
    QString text;
    switch (row.kind) {
    case Kind::Flag:
        text = *std::get<int*>(value) ? QStringLiteral("on") : QStringLiteral("off");
        break;
    case Kind::Index:
        text = QString::number(*std::get<int*>(value));
        break;
    case Kind::Real:
        text = QString::number(*std::get<float*>(value), 'g', 9);
        break;
    case Kind::Color:
        text = std::get<Rgba*>(value)->toQColor().name(QColor::HexRgb);
        break;
    case Kind::NumberText:
    case Kind::Text:
        text = *std::get<QString*>(value);
        break;
    }
    return QLatin1String(row.name) + u'=' + text;
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
        const auto row = [](const char* name, const QString& assignment, int line,
                            const QStringList& texts) {
            QTest::newRow(name) << assignment << line << texts;
        };
        row("flag on", "transparentBackground=on", 1, {"1"});
        row("flag off", "backgroundShadow=off", 14, {"0"});
        row("one colour component", "gradientStartColor=#FF80FF", 2, {"1.0"});
        row("whole colour", "textColor=#00337F", 44, {"0.0", "0.2", "0.4980392156862745"});
        row("real", "cornerCurvature=0.5", 8, {"0.5"});
        row("negative real", "iconRotation=-45", 31, {"-45.0"});
        row("stepper value, not its text", "fontSize=300", 48, {"300.0"});
        row("field text, not its value", "fontSizeText=300", 49, {"300"});
        row("text", "text=BETA build", 39, {"BETA build"});
        row("empty text", "namePattern=", 93, {""});
        row("text holding =", "namePattern=a=b", 93, {"a=b"});
        row("font index", "fontIndex=0", 47, {"0"});
        row("canvas height at its largest", "canvasHeight=10000", 88, {"10000"});
        row("offset field at its smallest", "iconVerticalOffsetText=-10000", 22, {"-10000"});
        row("real with an exponent", "textStrokeSize=2.5e1", 54, {"25.0"});
        row("real without a leading digit", "cornerCurvature=.5", 8, {"0.5"});
        row("iOS 20, a line added later", "iosSize20=off", 89, {"0"});
        row("iOS 1024", "iosSize1024=off", 74, {"0"});
        row("macOS 16", "macSize16=off", 76, {"0"});
        row("the later of two wins", "text=ALPHA\ttext=BETA", 39, {"BETA"});
        row("watchOS 196", "watchSize196=off", 104, {"0"});
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
                // A refused value gives its message, not a profile.
                const QString after = WithOverrides({name + u'=' + QLatin1String(value)});
                if (after.count(u'\n') == before.count(u'\n') &&
                    !(changed = ChangedLines(before, after)).empty())
                    break;
            }
            QVERIFY2(!changed.empty(), qPrintable(name + " changes nothing"));
            for (int line : changed) {
                QVERIFY2(owner.emplace(line, name).second,
                         qPrintable(owner[line] + " and " + name + " change one line"));
            }
        }
        QCOMPARE(int(owner.size()), 104);
    }

    // Every value of the table set by name gives the design that has it, also a slider's value
    // beyond its ends (the window's controls keep those too).
    void everyValueGoesThroughItsNameUnchanged_data() {
        QTest::addColumn<bool>("beyondSliders");
        QTest::newRow("within the controls' ranges") << false;
        QTest::newRow("beyond the sliders' ends") << true;
    }
    void everyValueGoesThroughItsNameUnchanged() {
        QFETCH(bool, beyondSliders);
        DesignSettings changed = EveryValueChanged();
        // A name takes on or off and a colour's eight bits a channel, so the mixed flags are
        // on here and the colours are distinct whole steps.
        int step = 0;
        float beyond = -20000.5f;
        for (const DesignValues::Row& row : DesignValues::Table()) {
            const DesignValues::Reference value = row.in(changed);
            if (row.kind == DesignValues::Kind::Flag && *std::get<int*>(value) < 0)
                *std::get<int*>(value) = 1;
            if (row.kind == DesignValues::Kind::Color) {
                Rgba& color = *std::get<Rgba*>(value);
                color.red = ++step / 255.0;
                color.green = (step += 7) / 255.0;
                color.blue = (step += 7) / 255.0;
            }
            if (beyondSliders && row.kind == DesignValues::Kind::Real && row.maximum == row.minimum)
                *std::get<float*>(value) = (beyond = -beyond + 1.0f);
        }
        DesignOverrides overrides;
        for (const DesignValues::Row& row : DesignValues::Table()) {
            const QString assignment = Assignment(row, changed);
            QVERIFY2(overrides.Add(assignment).isEmpty(), qPrintable(assignment.left(80)));
        }
        DesignSettings set;
        overrides.ApplyTo(set);
        QCOMPARE(MakeProfileText(set), MakeProfileText(changed));
        QVERIFY(set == changed);
    }

    void colorKeepsTheRecordsAlpha() {
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
        const auto row = [](const QString& name, const QString& assignment,
                            const QStringList& told) {
            QTest::newRow(qPrintable(name)) << assignment << told;
        };
        row("not a number", "fontSize=big", {"fontSize", "number"});
        row("number after a space", "fontSize= 40", {"fontSize", "number"});
        row("number with a unit", "iconScale=40%", {"iconScale", "number"});
        row("flag as yes", "textStroke=yes", {"textStroke", "on or off"});
        row("flag as 1", "macSize32=1", {"macSize32", "on or off"});
        row("short colour", "textColor=#fff", {"textColor", "#RRGGBB"});
        row("colour without #", "textColor=FFFFFF", {"textColor", "#RRGGBB"});
        row("colour not hex", "textColor=#12345G", {"#RRGGBB"});
        row("colour with a sign", "textColor=#+12345", {"#RRGGBB"});
        row("font beyond the list", "fontIndex=20", {"fontIndex", "19"});
        row("format below the list", "iconFormat=-1", {"0 to 9"});
        row("index not whole", "iconFormat=1.5", {"iconFormat"});
        // Whole-number fields are told with their range.
        for (const QString side : {"abc", "0", "-5", "1.5", "", "10001", "1e3", " 40"})
            row("canvas width \"" + side + u'"', "canvasWidth=" + side,
                {"canvasWidth: \"" + side + u'"', "whole number from 1 to 10000"});
        row("canvas height too large", "canvasHeight=10001", {"canvasHeight", "1 to 10000"});
        row("custom width too small", "customWidth=0", {"1 to 10000"});
        row("custom height too large", "customHeight=20000", {"1 to 10000"});
        row("font size field too small", "fontSizeText=0", {"1 to 10000"});
        row("scale field too large", "iconScaleText=1000", {"1 to 999"});
        row("quality field too large", "qualityText=101", {"1 to 100"});
        row("offset field too far", "textVerticalOffsetText=-10001", {"-10000 to 10000"});
        // A number is decimal and finite, also where the profile reader takes other spellings.
        for (const QString number : {"inf", "-infinity", "nan", "1e999", "1e39", "0x10", "0x1p3"})
            row("number " + number, "fontSize=" + number,
                {"fontSize: \"" + number + u'"', "number"});
        row("text over two lines", "text=A\nB", {"text", "one line"});
        row("carriage return", "namePattern=A\rB", {"one line"});
        row("unknown name", "colour=#FFFFFF", {"\"colour\""});
        row("name in the wrong case", "fontsize=40", {"fontSize?"});
        row("record's own name of a canvas side", "canvasWidthText=10", {"canvasWidthText"});
        row("size not in the set", "iosSize16=on", {"iosSize16"});
        row("no value", "fontSize", {"NAME=VALUE"});
        row("no name", "=40", {"NAME=VALUE"});
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
