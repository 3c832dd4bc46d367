// `cmake --install` into a temporary prefix: every file a desktop needs is there, and the
// desktop's own tools accept the launcher entry, the AppStream data and the profile type. The
// manual page says what the program does: the same commands, options and exit statuses as
// `sigilon --help`, every name --set accepts, and it renders without warnings.

#include "cli/DesignOverrides.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "platforms/PlatformTargets.h"

#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString AppId = QStringLiteral("org.sigilon.Sigilon");
const QString ProfileType = QStringLiteral("application/x-sigilon-profile");
const QList<int> IconSizes{16, 24, 32, 48, 64, 128, 256, 512};

// Standard output and error together, as a tool's complaints may come on either.
ProgramRun::Result Tool(const QString& program, const QStringList& arguments) {
    return ProgramRun::Run(program, arguments, [](QProcess& process) {
        process.setProcessChannelMode(QProcess::MergedChannels);
    });
}

QString ReadText(const QString& path) {
    return QString::fromUtf8(TestImages::ReadFile(path));
}

// The value of `key` in the [Desktop Entry] group of a launcher entry.
QString EntryValue(const QString& entry, const QString& key) {
    for (const QString& line : entry.split(u'\n')) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return {};
}

// The manual's source with the escapes that matter here undone: "\-" is a dash, font changes
// vanish.
QString ManualText() {
    QString text = ReadText(QStringLiteral(SIGILON_SOURCE_DIR "/data/sigilon.1"));
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

// Every capture of `pattern`'s first group in `text`, in order; `^` starts each line.
QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    QRegularExpressionMatchIterator it =
        QRegularExpression(pattern, QRegularExpression::MultilineOption).globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured(1));
    return found;
}

QStringList Sorted(QStringList words) {
    words.sort();
    words.removeDuplicates();
    return words;
}

// Options are the words that start with a dash after white space, a bracket, a comma or a bar.
const QString OptionPattern = QStringLiteral("(?:^|[\\s\\[,|\"])(--?[a-z][a-z-]*)");

} // namespace

class InstallTreeTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;
    QString m_help;
    QString m_manual;

    QString Installed(const QString& relative) const { return m_prefix.filePath(relative); }

    // A missing desktop tool skips its check, visibly.
    static bool HaveTool(const QString& program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_prefix.isValid());
        const ProgramRun::Result install =
            Tool(QStringLiteral(SIGILON_CMAKE),
                 {"--install", SIGILON_BINARY_DIR, "--prefix", m_prefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.out));
        const ProgramRun::Result help = ProgramRun::Sigilon({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        m_help = help.out;
        m_manual = ManualText();
        QVERIFY(m_help.contains("Usage"));
        QVERIFY(m_manual.startsWith(".TH SIGILON 1"));
        QVERIFY(m_manual.section(u'\n', 0, 0).contains("\"Sigilon " SIGILON_VERSION "\""));
    }

    void everyFileIsInstalled_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("iconSize"); // 0 for files that are not icons
        for (const char* path :
             {"bin/sigilon", "share/applications/org.sigilon.Sigilon.desktop",
              "share/metainfo/org.sigilon.Sigilon.metainfo.xml",
              "share/mime/packages/org.sigilon.Sigilon.xml", "share/man/man1/sigilon.1.gz",
              "share/sigilon/help/index.html", "share/sigilon/help/mac-app-icons.html",
              "share/sigilon/help/ios-app-icon.html", "share/sigilon/help/logo.html",
              "share/sigilon/help/style.css", "share/sigilon/symbols/material.catalogue",
              "share/sigilon/symbols/material.LICENSE", "share/sigilon/symbols/noto.catalogue",
              "share/sigilon/symbols/noto.LICENSE"})
            QTest::newRow(path) << QString::fromLatin1(path) << 0;
        for (int size : IconSizes) {
            const QString folder = QStringLiteral("share/icons/hicolor/%1x%1/").arg(size);
            for (const QString& icon :
                 {QStringLiteral("apps/") + AppId,
                  QStringLiteral("mimetypes/application-x-sigilon-profile")}) {
                const QString path = folder + icon + QStringLiteral(".png");
                QTest::newRow(qPrintable(path)) << path << size;
            }
        }
    }
    void everyFileIsInstalled() {
        QFETCH(QString, path);
        QFETCH(int, iconSize);
        const QFileInfo info(Installed(path));
        QVERIFY2(info.isFile() && info.size() > 0, qPrintable(path));
        if (path.startsWith(u"bin/"))
            QVERIFY(info.isExecutable());
        if (iconSize > 0) {
            QImageReader reader(info.filePath());
            QCOMPARE(reader.format(), QByteArray("png"));
            QCOMPARE(reader.size(), QSize(iconSize, iconSize));
            // Drawn from the profile, not an empty picture: the corners are clear, the middle
            // is not.
            const QImage icon = reader.read();
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(icon.pixel(iconSize / 2, iconSize / 2)), 255);
        }
    }

    // The installed program finds its own library of symbols, away from the build.
    void installedProgramRuns() {
        const ProgramRun::Result version = Tool(Installed("bin/sigilon"), {"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out.trimmed(), QStringLiteral("sigilon " SIGILON_VERSION));
        const ProgramRun::Result symbols =
            Tool(Installed("bin/sigilon"), {"symbols", "sun", "--limit", "400"});
        QCOMPARE(symbols.exitCode, 0);
        QVERIFY(symbols.out.contains("noto/sun\temoji"));
    }

    // Everything the package installs, the library of symbols included, stays small.
    void installedSizeIsSmall() {
        qint64 bytes = 0;
        QDirIterator files(Installed(""), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            bytes += QFileInfo(files.next()).size();
        QVERIFY2(bytes < 25 * 1024 * 1024, qPrintable(QString::number(bytes)));
    }

    void launcherEntryOpensProfiles() {
        const QString path = Installed("share/applications/" + AppId + ".desktop");
        const QString entry = ReadText(path);
        QCOMPARE(EntryValue(entry, "Exec"), "sigilon %f");
        QCOMPARE(EntryValue(entry, "Icon"), AppId);
        QVERIFY(EntryValue(entry, "Categories").split(u';').contains("Graphics"));
        QVERIFY(EntryValue(entry, "MimeType").split(u';').contains(ProfileType));
        if (!HaveTool("desktop-file-validate"))
            QSKIP("desktop-file-validate is missing (package desktop-file-utils)");
        const ProgramRun::Result check = Tool("desktop-file-validate", {path});
        QVERIFY2(check.exitCode == 0 && check.out.isEmpty(), qPrintable(check.out));
    }

    void appStreamDataValidates() {
        const QString path = Installed("share/metainfo/" + AppId + ".metainfo.xml");
        const QString data = ReadText(path);
        for (const QString& names :
             {"<id>" + AppId + "</id>", ">" + AppId + ".desktop</launchable>",
              QStringLiteral("<release version=\"" SIGILON_VERSION "\"")})
            QVERIFY2(data.contains(names), qPrintable(names));
        if (!HaveTool("appstreamcli"))
            QSKIP("appstreamcli is missing (package appstream)");
        const ProgramRun::Result check = Tool("appstreamcli", {"validate", "--no-net", path});
        QVERIFY2(check.exitCode == 0, qPrintable(check.out));
    }

    // shared-mime-info itself reads the package: the glob, the parent type and the icon.
    void profileTypeIsDeclared() {
        if (!HaveTool("update-mime-database"))
            QSKIP("update-mime-database is missing (package shared-mime-info)");
        const ProgramRun::Result update = Tool("update-mime-database", {Installed("share/mime")});
        QVERIFY2(update.exitCode == 0, qPrintable(update.out));
        QVERIFY(ReadText(Installed("share/mime/globs2")).contains(ProfileType + ":*.sgp\n"));
        QVERIFY(
            ReadText(Installed("share/mime/subclasses")).contains(ProfileType + " text/plain\n"));
        const QString icon = ReadText(Installed("share/mime/icons"))
                                 .section(ProfileType + u':', 1)
                                 .section(u'\n', 0, 0);
        QVERIFY(
            QFileInfo::exists(Installed("share/icons/hicolor/48x48/mimetypes/" + icon + ".png")));
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
        const QStringList inHelp = Sorted(Captures(m_help, helpPattern));
        QVERIFY(!inHelp.isEmpty());
        QCOMPARE(Sorted(Captures(ManualSection(m_manual, manualSection), manualPattern)), inHelp);
    }

    void manualNamesEveryDesignValue() {
        const QString values = ManualSection(m_manual, QStringLiteral("DESIGN VALUES"));
        for (const QString& name : DesignOverrides::Names()) {
            const QRegularExpression word(QStringLiteral("(?<![A-Za-z0-9])%1(?![A-Za-z0-9])")
                                              .arg(QRegularExpression::escape(name)));
            QVERIFY2(values.contains(word), qPrintable(name));
        }
    }

    // Every target the program knows is listed, in running order, wherever people read of them:
    // the usage text, the manual's --target entry and the README's table of platform sets.
    void everyTargetIsListed() {
        const QStringList names = PlatformTargets::Names();
        QCOMPARE(Captures(m_help, QStringLiteral("^ {25}([a-z]+) ")), names);
        const QString options = ManualSection(m_manual, QStringLiteral("OPTIONS"));
        const qsizetype target = options.indexOf(QStringLiteral(".BI --target"));
        QVERIFY(target >= 0);
        const QString entry =
            options.mid(target, options.indexOf(QStringLiteral(".TP"), target) - target);
        QCOMPARE(Captures(entry, QStringLiteral("^\\.BR? ([a-z]+)")), names);
        const QString readme = ReadText(QStringLiteral(SIGILON_SOURCE_DIR "/README.md"));
        QCOMPARE(Captures(readme, QStringLiteral("^\\| `([a-z]+)` \\|")), names.mid(1));
    }

    void manualRendersWithoutWarnings() {
        if (!HaveTool("man"))
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

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "tst_InstallTree.moc"
