// `sigilon export` as a function: what it writes, keeps and prints, and how it fails.

#include "cli/ExportCommand.h"
#include "support/TestImages.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

Q_DECLARE_METATYPE(DesignSettings)

namespace {

const QByteArray OldContent("an icon from an earlier export");
const QString Saved = QStringLiteral("Icon(s) saved successfully.");
const QStringList MacNames{"Icon16.png",  "Icon32.png",  "Icon64.png",  "Icon128.png",
                           "Icon256.png", "Icon512.png", "Icon1024.png"};

QStringList Prefixed(const QString& prefix, const QStringList& names) {
    QStringList lines;
    for (const QString& name : names)
        lines.append(prefix + name);
    return lines;
}

struct Printed {
    int status = -1;
    QStringList out; // one entry per line
    QStringList err;
};

// Runs the export with standard output and error sent to files, and reads them back.
Printed Run(const DesignSettings& settings, const QString& folder, bool overwrite = false,
            bool quiet = false) {
    QTemporaryFile files[2];
    int saved[2];
    std::fflush(nullptr);
    for (int i : {0, 1}) {
        if (!files[i].open())
            qFatal("cannot create capture files");
        saved[i] = dup(STDOUT_FILENO + i);
        dup2(files[i].handle(), STDOUT_FILENO + i);
    }
    Printed printed;
    printed.status = RunExportCommand(settings, TestImages::AsymmetricImage(1024, 1024), folder,
                                      overwrite, quiet);
    std::fflush(nullptr);
    for (int i : {0, 1}) {
        dup2(saved[i], STDOUT_FILENO + i);
        close(saved[i]);
        files[i].seek(0);
        (i == 0 ? printed.out : printed.err) =
            QString::fromLocal8Bit(files[i].readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    return printed;
}

} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void writtenAndKeptFiles_data() {
        QTest::addColumn<DesignSettings>("settings");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QString>("subfolder"); // missing folders below the temporary one
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QStringList>("written");
        const QStringList ends{"Icon16.png", "Icon1024.png"};
        const DesignSettings plain;
        QTest::newRow("fresh folder") << plain << false << false << "" << QStringList() << MacNames;
        QTest::newRow("missing folder and parents")
            << plain << false << false << "a/b/c" << QStringList() << MacNames;
        QTest::newRow("existing kept")
            << plain << false << false << "" << ends << MacNames.mid(1, 5);
        QTest::newRow("--overwrite") << plain << true << false << "" << ends << MacNames;
        QTest::newRow("--quiet") << plain << true << true << "" << ends << MacNames;
        DesignSettings ios;
        ios.macIconSet = 0;
        ios.iosIconSet = 1;
        ios.iosSizes.fill(0);
        ios.iosSizes[0] = 1;  // 20
        ios.iosSizes[13] = 1; // 1024
        ios.iconFormat = 1;
        ios.namePattern = QStringLiteral("App-[Size]");
        QTest::newRow("settings choose sizes, format and names")
            << ios << false << false << "" << QStringList()
            << QStringList{"App-20.jpg", "App-1024.jpg"};
    }

    void writtenAndKeptFiles() {
        QFETCH(DesignSettings, settings);
        QFETCH(bool, overwrite);
        QFETCH(bool, quiet);
        QFETCH(QString, subfolder);
        QFETCH(QStringList, existing);
        QFETCH(QStringList, written);
        QTemporaryDir scratch;
        const QString folder = subfolder.isEmpty() ? scratch.path() : scratch.filePath(subfolder);
        const QString prefix = folder + u'/';
        for (const QString& name : existing) {
            QFile file(prefix + name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(OldContent) > 0);
        }
        const QStringList skipped = overwrite ? QStringList() : existing;
        const Printed printed = Run(settings, folder, overwrite, quiet);
        QCOMPARE(printed.status, 0);
        QCOMPARE(printed.out, quiet ? QStringList() : Prefixed(prefix, written));
        QCOMPARE(printed.err, Prefixed("Skipped: " + prefix, skipped) << Saved);
        for (const QString& name : skipped)
            QCOMPARE(QFileInfo(prefix + name).size(), OldContent.size());
        for (const QString& name : written)
            QVERIFY2(QImageReader(prefix + name).canRead(), qPrintable(name));
    }

    void unusableFolderIsAnError_data() {
        QTest::addColumn<QString>("path"); // below a folder holding the file "plain"
        QTest::addColumn<QString>("blame");
        QTest::newRow("path is a file") << "plain"
                                        << "not a folder";
        QTest::newRow("parent is a file") << "plain/icons"
                                          << "plain is a file";
        QTest::newRow("grandparent is a file") << "plain/set/icons"
                                               << "plain is a file";
    }
    void unusableFolderIsAnError() {
        QFETCH(QString, path);
        QFETCH(QString, blame);
        QTemporaryDir folder;
        QFile file(folder.filePath("plain"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const Printed printed = Run(DesignSettings(), folder.filePath(path));
        QCOMPARE(printed.status, 1);
        QVERIFY(printed.out.isEmpty());
        QCOMPARE(printed.err.size(), 1);
        const QString message = printed.err.first();
        QVERIFY2(message.contains(folder.filePath(path)) && message.contains(blame),
                 qPrintable(message));
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"plain"});
    }

    void failedFilesFailTheCommand() {
        DesignSettings settings;
        settings.namePattern = QStringLiteral("missing/Icon[Size]");
        QTemporaryDir folder;
        const Printed printed = Run(settings, folder.path());
        QCOMPARE(printed.status, 1);
        QVERIFY(printed.out.isEmpty());
        QCOMPARE(printed.err.last(), QStringLiteral("Some icons could not be saved."));
        QVERIFY(QDir(folder.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ExportCommandTest)
#include "tst_ExportCommand.moc"
