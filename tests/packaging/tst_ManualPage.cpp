// The manual page says what the program does: the same commands, options and exit statuses
// as `sigilon --help`, every name --set accepts, and it renders without warnings.

#include "cli/DesignOverrides.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <set>

namespace {

// The manual's source with the escapes that matter here undone: "\-" is a dash, font changes
// vanish.
QString ManualText() {
    QString text = QString::fromUtf8(
        TestImages::ReadFile(QStringLiteral(SIGILON_SOURCE_DIR "/data/sigilon.1")));
    text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    text.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")));
    return text;
}

// The part of the manual from the heading to the next one.
QString ManualSection(const QString& manual, const QString& heading) {
    const qsizetype start = manual.indexOf(QStringLiteral(".SH ") + heading);
    const qsizetype end = manual.indexOf(QStringLiteral("\n.SH "), start + 1);
    return start < 0 ? QString() : manual.mid(start, end - start);
}

// Every capture of `pattern`'s first group in `text`.
std::set<QString> Captures(const QString& text, const QString& pattern) {
    std::set<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured(1));
    return found;
}

// Options are the words that start with a dash after white space, a bracket, a comma or a bar.
const QString OptionPattern = QStringLiteral("(?:^|[\\s\\[,|\"])(--?[a-z][a-z-]*)");

} // namespace

class ManualPageTest : public QObject {
    Q_OBJECT

    QString m_help;
    QString m_manual;

private slots:
    void initTestCase() {
        const ProgramRun::Result help = ProgramRun::Sigilon({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        m_help = help.out;
        m_manual = ManualText();
        QVERIFY(m_help.contains("Usage"));
        QVERIFY(m_manual.startsWith(".TH SIGILON 1"));
    }

    void manualAndHelpAgree_data() {
        QTest::addColumn<QString>("helpPattern");
        QTest::addColumn<QString>("manualSection");
        QTest::addColumn<QString>("manualPattern");
        QTest::newRow("options") << OptionPattern << "OPTIONS" << OptionPattern;
        QTest::newRow("commands") << "sigilon +([a-z]+)"
                                  << "SYNOPSIS"
                                  << "sigilon +([a-z]+)";
        QTest::newRow("exit statuses") << "[:,] ([0-9]) [a-z]"
                                       << "EXIT STATUS"
                                       << "\\.B ([0-9])\\n";
    }
    void manualAndHelpAgree() {
        QFETCH(QString, helpPattern);
        QFETCH(QString, manualSection);
        QFETCH(QString, manualPattern);
        const QString manual =
            manualSection.isEmpty() ? m_manual : ManualSection(m_manual, manualSection);
        const std::set<QString> inHelp = Captures(m_help, helpPattern);
        const std::set<QString> inManual = Captures(manual, manualPattern);
        QVERIFY(!inHelp.empty());
        QCOMPARE(QStringList(inManual.begin(), inManual.end()),
                 QStringList(inHelp.begin(), inHelp.end()));
    }

    void manualNamesEveryDesignValue() {
        const QString values = ManualSection(m_manual, QStringLiteral("DESIGN VALUES"));
        for (const QString& name : DesignOverrides::Names()) {
            const QRegularExpression word(QStringLiteral("(?<![A-Za-z0-9])%1(?![A-Za-z0-9])")
                                              .arg(QRegularExpression::escape(name)));
            QVERIFY2(values.contains(word), qPrintable(name));
        }
    }

    void manualCarriesTheProgramsVersion() {
        QVERIFY(m_manual.section(u'\n', 0, 0).contains("\"Sigilon " SIGILON_VERSION "\""));
    }

    void manualRendersWithoutWarnings() {
        if (QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
            QSKIP("man is missing (package man-db)");
        const ProgramRun::Result man =
            ProgramRun::Run("man", {"--warnings", "-l", SIGILON_SOURCE_DIR "/data/sigilon.1"},
                            ProgramRun::WithEnvironment({"MANWIDTH=80"}));
        QCOMPARE(man.exitCode, 0);
        QCOMPARE(man.err, QString());
        for (const char* heading : {"SYNOPSIS", "COMMANDS", "OPTIONS", "EXIT STATUS", "EXAMPLES"})
            QVERIFY2(man.out.contains(QLatin1String(heading)), heading);
    }
};

QTEST_GUILESS_MAIN(ManualPageTest)
#include "tst_ManualPage.moc"
